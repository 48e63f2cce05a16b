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

bool Less(const QString& a, const QString& b)
{
    const int order = fileManagerCollator().compare(a, b);
    return order != 0 ? order < 0 : a < b;
}

void Sort(QStringList& names)
{
    std::sort(names.begin(), names.end(), Less);
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
