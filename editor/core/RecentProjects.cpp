#include "editor/core/RecentProjects.h"

#include "editor/core/HistoryRecord.h"

namespace {
const QString kGroup = QStringLiteral("Recent File List");
QString keyOf(int i) { return QStringLiteral("File%1").arg(i + 1); }
} // namespace

RecentProjects& RecentProjects::Instance()
{
    static RecentProjects* recent = [] {
        auto* r = new RecentProjects;
        r->Load();
        return r;
    }();
    return *recent;
}

void RecentProjects::Add(const QString& folder)
{
    if (folder.isEmpty())
        return;
    Remove(folder);
    m_entries.prepend(folder);
    while (m_entries.size() > kCapacity)
        m_entries.removeLast();
}

void RecentProjects::Remove(const QString& folder)
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].compare(folder, Qt::CaseInsensitive) == 0) {
            m_entries.removeAt(i);
            return;
        }
    }
}

void RecentProjects::Load()
{
    m_entries.clear();
    const auto profile = CHistoryRecord::OpenProfile();
    profile->beginGroup(kGroup);
    for (int i = 0; i < kCapacity; ++i) {
        const QString entry = profile->value(keyOf(i)).toString();
        if (!entry.isEmpty())
            m_entries.append(entry);
    }
}

void RecentProjects::Save() const
{
    const auto profile = CHistoryRecord::OpenProfile();
    profile->beginGroup(kGroup);
    for (int i = 0; i < kCapacity; ++i) {
        if (i < m_entries.size())
            profile->setValue(keyOf(i), m_entries[i]);
        else
            profile->remove(keyOf(i));
    }
}
