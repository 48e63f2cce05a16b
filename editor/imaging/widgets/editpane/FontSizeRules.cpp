#include "FontSizeRules.h"

namespace FontSizeRules {

QStringList StandardSizes()
{
    QStringList sizes;
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        sizes << QString::number(size);
    return sizes;
}

QString BitmapSizeText(int emPixels, int dpiY)
{
    if (dpiY <= 0)
        return QString();
    const long twips = long(emPixels) * 1440 / dpiY;
    const long h = (twips + 5) / 10;
    if (h % 2 == 0)
        return QString::number((twips + 5) / 20);
    return QString::number(double(h) * 0.5, 'f', 1);
}

int SizeFromText(const QString& text)
{
    int value = 0;
    for (const QChar c : text.trimmed()) {
        if (!c.isDigit())
            break;
        value = value * 10 + c.digitValue();
        if (value > 100000)
            break; // no caption is that large; keeps the value in range
    }
    return value;
}

bool SizeList::FillIfEmpty(bool scalable, const std::vector<int>& bitmapEmPixels, int dpiY)
{
    if (!m_entries.isEmpty())
        return false;
    if (scalable) {
        m_entries = StandardSizes();
    } else {
        for (int em : bitmapEmPixels) {
            const QString text = BitmapSizeText(em, dpiY);
            if (!text.isEmpty())
                m_entries << text;
        }
    }
    return !m_entries.isEmpty();
}

} // namespace FontSizeRules
