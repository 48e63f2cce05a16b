#include "screensaver/ScrnSaveCommandLineInfo.h"

namespace {

bool allDigits(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// The digits at the start of text as a number (0 when there are none).
uint64_t leadingNumber(QStringView text)
{
    uint64_t value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = value * 10 + uint64_t(c.unicode() - '0');
    }
    return value;
}

} // namespace

void CScrnSaveCommandLineInfo::ParseParam(const QString& parameter)
{
    if (parameter.isEmpty())
        return;
    const QChar first = parameter[0];
    const bool colon = parameter.size() > 1 && parameter[1] == QLatin1Char(':');
    if (first == QLatin1Char('p') || first == QLatin1Char('P')) {
        mode = Preview;
    } else if (first == QLatin1Char('s') || first == QLatin1Char('S')) {
        mode = FullScreen;
    } else if (first == QLatin1Char('c')) {
        mode = Configure;
        if (colon)
            windowNumber = leadingNumber(QStringView(parameter).mid(2));
    } else if (first == QLatin1Char('C') && colon) {
        mode = Configure;
        windowNumber = leadingNumber(QStringView(parameter).mid(2));
    } else if (allDigits(parameter)) {
        windowNumber = leadingNumber(parameter);
    }
}

bool CScrnSaveCommandLineInfo::ParseWindowId(const QString& text, uint64_t& id)
{
    bool ok = false;
    const qulonglong value = text.trimmed().toULongLong(&ok, 0);
    if (!ok || value == 0)
        return false;
    id = value;
    return true;
}

void CScrnSaveCommandLineInfo::Parse(const QStringList& arguments, const QString& environmentWindow)
{
    bool root = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("-root") || argument == QLatin1String("--root")) {
            root = true;
            continue;
        }
        if (argument == QLatin1String("-window-id") || argument == QLatin1String("--window-id")) {
            uint64_t id = 0;
            if (i + 1 < arguments.size() && ParseWindowId(arguments[i + 1], id)) {
                mode = Preview;
                windowNumber = id;
            }
            ++i;
            continue;
        }
        QString parameter = argument;
        if (parameter.startsWith(QLatin1Char('/')) || parameter.startsWith(QLatin1Char('-')))
            parameter.remove(0, 1);
        ParseParam(parameter);
    }
    uint64_t environmentId = 0;
    const bool embed = !environmentWindow.isEmpty() && ParseWindowId(environmentWindow, environmentId);
    if (embed && (root || arguments.isEmpty())) {
        mode = Preview;
        windowNumber = environmentId;
    } else if (root) {
        mode = FullScreen;
    }
}
