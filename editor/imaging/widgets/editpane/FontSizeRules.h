// The caption size list of the photo edit pane, free of widgets: which sizes
// a face offers (the sixteen standard sizes for a scalable face; for a bitmap
// face, each of its sizes in points, to the half point), the caption size a
// list entry gives, and the rule that the list is filled once, for the first
// face chosen.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace FontSizeRules {

// 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72.
QStringList StandardSizes();

// One size of a bitmap face, from its em height in pixels (cell height less
// internal leading) and the screen's vertical pixels per inch: t = em x 1440
// / dpi twips, h = (t + 5) / 10; an even h gives "(t + 5) / 20" in whole
// points, an odd one "h x 0.5" with one decimal ("10.5").
QString BitmapSizeText(int emPixels, int dpiY);

// The caption size an entry gives: the digits before any decimal point
// ("10.5" -> 10); 0 for text without leading digits.
int SizeFromText(const QString& text);

class SizeList {
public:
    // Fills the list for a face when it is still empty: the standard sizes
    // for a scalable face, else one entry per em height of the bitmap face
    // (in the order given). False, and nothing changed, when it was filled.
    bool FillIfEmpty(bool scalable, const std::vector<int>& bitmapEmPixels, int dpiY);
    const QStringList& Entries() const { return m_entries; }
    bool IsEmpty() const { return m_entries.isEmpty(); }

private:
    QStringList m_entries;
};

} // namespace FontSizeRules
