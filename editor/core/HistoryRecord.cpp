#include "editor/core/HistoryRecord.h"

#include <QFileInfo>

namespace {
std::unique_ptr<CHistoryRecord> g_albums;
std::unique_ptr<CMp3HistoryRecord> g_music;

// Every value of the framework profile lives in its "Settings" group.
constexpr const char* kProfileGroup = "Settings";
} // namespace

std::unique_ptr<QSettings> CHistoryRecord::OpenProfile()
{
    auto settings = std::make_unique<QSettings>(QStringLiteral("Qem"), QStringLiteral("Kelvana"));
    settings->beginGroup(QLatin1String(kProfileGroup));
    return settings;
}

CHistoryRecord::CHistoryRecord() = default;

CHistoryRecord& CHistoryRecord::Instance()
{
    if (!g_albums) {
        g_albums = std::make_unique<CHistoryRecord>();
        g_albums->Load();
    }
    return *g_albums;
}

CMp3HistoryRecord& CMp3HistoryRecord::Instance()
{
    if (!g_music) {
        g_music = std::make_unique<CMp3HistoryRecord>();
        g_music->Load();
    }
    return *g_music;
}

void CHistoryRecord::SaveAndFreeAll()
{
    if (g_albums)
        g_albums->Save();
    if (g_music)
        g_music->Save();
    g_albums.reset();
    g_music.reset();
}

void CHistoryRecord::Load() { Load(CountName(), DataName()); }
void CHistoryRecord::Save() { Save(CountName(), DataName()); }

void CHistoryRecord::Load(const QString& countName, const QString& dataName)
{
    m_entries.clear();
    m_capacity = kDefaultCapacity;
    const auto profile = OpenProfile();
    const QVariant count = profile->value(countName);
    if (count.isValid()) {
        bool ok = false;
        const int value = count.toInt(&ok);
        // A value that is not a number counts as missing; a negative one
        // disables the list like 0.
        m_capacity = ok ? std::max(value, 0) : kDefaultCapacity;
    }
    if (m_capacity == 0)
        return; // a stored 0 disables the list
    QByteArray data = profile->value(dataName).toByteArray();
    if (data.isEmpty())
        return;
    // The last byte (the final line feed) ends the text; the text is read up
    // to its first zero byte.
    data.chop(1);
    const qsizetype zero = data.indexOf('\0');
    if (zero >= 0)
        data.truncate(zero);
    for (const QByteArray& line : data.split('\n')) {
        const QString path = QString::fromUtf8(line);
        if (path.startsWith(QLatin1Char('/')) && QFileInfo::exists(path))
            m_entries.append(path);
    }
}

void CHistoryRecord::Save(const QString& countName, const QString& dataName)
{
    const auto profile = OpenProfile();
    if (m_entries.isEmpty()) {
        profile->setValue(dataName, QByteArray(4, '\0'));
        return;
    }
    while (m_entries.size() > m_capacity)
        m_entries.removeFirst();
    QByteArray data;
    for (const QString& entry : m_entries)
        data += entry.toUtf8() + '\n';
    profile->setValue(countName, m_capacity);
    profile->setValue(dataName, data);
}

void CHistoryRecord::Add(const QString& path)
{
    if (m_capacity <= 0)
        return;
    for (const QString& entry : m_entries)
        if (entry.compare(path, Qt::CaseInsensitive) == 0)
            return;
    if (m_entries.size() >= m_capacity)
        m_entries.removeFirst();
    m_entries.append(path);
}

void CHistoryRecord::Remove(const QString& path)
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].compare(path, Qt::CaseInsensitive) == 0) {
            m_entries.removeAt(i);
            return;
        }
    }
}
