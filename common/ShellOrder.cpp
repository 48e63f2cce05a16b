#include "common/ShellOrder.h"

#include <QCollator>
#include <QDir>

namespace ShellOrder {

namespace {
// Opening a collator is costly, so each thread keeps one.
const QCollator& fileManagerCollator()
{
    thread_local const QCollator collator = [] {
        // The user's collation; the C locale has none that knows numbers, so
        // it falls back to English, which is what file managers show there.
        QLocale locale;
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::English, QLocale::UnitedStates);
        QCollator c(locale);
        c.setNumericMode(true);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setIgnorePunctuation(false);
        return c;
    }();
    return collator;
}
} // namespace

void Sort(QStringList& names)
{
    const QCollator& collator = fileManagerCollator();
    std::sort(names.begin(), names.end(), [&collator](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
}

QStringList PlainFiles(const QString& folder)
{
    // Without QDir::Hidden and QDir::System the listing already leaves out
    // dot files, pipes, sockets, devices and broken links.
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    Sort(names);
    return names;
}

} // namespace ShellOrder
