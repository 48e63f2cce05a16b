#include "screensaver/ScrnSaverSettings.h"

#include <QSettings>

namespace ScrnSaverSettings {

namespace {
void readInt(const QSettings& settings, const QString& key, int& value)
{
    bool ok = false;
    const int read = settings.value(key).toInt(&ok);
    if (ok)
        value = read;
}
} // namespace

void Read(int& passwordDelaySeconds, int& mouseThreshold)
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Orlemo"),
                             QStringLiteral("Screen Savers"));
    readInt(settings, QStringLiteral("Password Delay"), passwordDelaySeconds);
    readInt(settings, QStringLiteral("Mouse Threshold"), mouseThreshold);
}

} // namespace ScrnSaverSettings
