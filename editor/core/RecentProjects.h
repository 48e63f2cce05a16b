// The recent projects of the application menu: up to six project folders,
// newest first, kept in the framework profile.
#pragma once

#include <QStringList>

class RecentProjects {
public:
    static constexpr int kCapacity = 6;

    static RecentProjects& Instance(); // loaded on first use

    void Add(const QString& folder);    // moves an existing entry to the front
    void Remove(const QString& folder);
    const QStringList& Entries() const { return m_entries; }

    void Load();
    void Save() const;

private:
    QStringList m_entries;
};
