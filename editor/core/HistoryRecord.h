// Lists of paths remembered between runs: the album history (folders of albums
// saved or opened, which the album library lists) and the music history (mp3
// files chosen for albums). Kept in the framework profile under their value
// names: the count value holds the capacity, the data value the entries,
// oldest first, each followed by "\n".
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

class CHistoryRecord {
public:
    // The album history, created and loaded on first call.
    static CHistoryRecord& Instance();
    // Saves and frees both histories (at shutdown).
    static void SaveAndFreeAll();

    CHistoryRecord();
    virtual ~CHistoryRecord() = default;

    virtual void Load(const QString& countName, const QString& dataName);
    virtual void Save(const QString& countName, const QString& dataName);
    virtual void Load();
    virtual void Save();

    // Appends the path as the newest entry, unless the capacity is 0 or less or
    // the path is listed already (compared without regard to case); a full list
    // drops its oldest entry first.
    void Add(const QString& path);
    // Removes the first entry equal to the path without regard to case.
    void Remove(const QString& path);
    const QStringList& Entries() const { return m_entries; }
    int Capacity() const { return m_capacity; }

    static constexpr int kDefaultCapacity = 20;

    // The framework profile the lists are stored in.
    static std::unique_ptr<QSettings> OpenProfile();

protected:
    virtual QString CountName() const { return QStringLiteral("HstRcd.hldNum"); }
    virtual QString DataName() const { return QStringLiteral("HstRcd.hldData"); }

private:
    QStringList m_entries;
    int m_capacity = kDefaultCapacity;
};

class CMp3HistoryRecord : public CHistoryRecord {
public:
    // The music history, created and loaded on first call.
    static CMp3HistoryRecord& Instance();

protected:
    QString CountName() const override { return QStringLiteral("Mp3FileHistoryList"); }
    QString DataName() const override { return QStringLiteral("Mp3FileHistoryListData"); }
};
