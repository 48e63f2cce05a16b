#include "editor/core/EditorSettings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

QSettings openSettings() { return QSettings(QStringLiteral("Orlemo"), QStringLiteral("Kelvana")); }

int readNumber(const QSettings& settings, const QString& name, int fallback)
{
    bool ok = false;
    const int value = settings.value(name).toInt(&ok);
    return ok && value != 0 ? value : fallback;
}

} // namespace

QString EditorSettings::DefaultProjectPath()
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return documents + QStringLiteral("/My Photo Albums");
}

void EditorSettings::Read()
{
    const QSettings settings = openSettings();
    projectPath = settings.value(QStringLiteral("Project Path"), DefaultProjectPath()).toString();
    lastPath = settings.value(QStringLiteral("Last Path")).toString();
    treeWidth = readNumber(settings, QStringLiteral("RegExploreTreeWidth"), kDefaultTreeWidth);
    thumbZoom = readNumber(settings, QStringLiteral("RegThumbViewScal"), kDefaultThumbZoom);
}

void EditorSettings::Write() const
{
    QSettings settings = openSettings();
    settings.setValue(QStringLiteral("Project Path"), projectPath);
    settings.setValue(QStringLiteral("Last Path"), lastPath);
    settings.setValue(QStringLiteral("RegExploreTreeWidth"), treeWidth);
    settings.setValue(QStringLiteral("RegThumbViewScal"), thumbZoom);
    settings.sync();
}

QString EditorSettings::SiteAddress()
{
    QString site = QSettings(QStringLiteral("Orlemo"), QStringLiteral("Kelvana"))
                       .value(QStringLiteral("Site"), QStringLiteral("https://kelvana.example/"))
                       .toString();
    if (!site.endsWith(QLatin1Char('/')))
        site += QLatin1Char('/');
    return site;
}
