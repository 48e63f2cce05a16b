#include "editor/generation/XScreenSaverInstall.h"

#include "common/ResourceArea.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace XScreenSaverInstall {

namespace {

const QString kSystemDefaults = QStringLiteral("/etc/X11/app-defaults/XScreenSaver");

struct Resource {
    int first = -1; // first and last line of the resource in the file
    int last = -1;
    QString value;  // the value with its continuation lines joined
};

// Finds "key:" at the start of a line and joins its continuation lines
// (a line ending in a backslash continues on the next one).
Resource findResource(const QStringList& lines, const QString& key)
{
    Resource resource;
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith(key + QLatin1Char(':')))
            continue;
        resource.first = i;
        QString value = lines[i].mid(key.size() + 1);
        int j = i;
        while (value.endsWith(QLatin1Char('\\')) && !value.endsWith(QLatin1String("\\\\")) && j + 1 < lines.size()) {
            value.chop(1);
            value += lines[++j];
        }
        resource.last = j;
        resource.value = value.trimmed();
        break;
    }
    return resource;
}

QString shellQuote(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString albumNameOf(const QString& saverPath)
{
    if (const auto block = ResourceArea::ReadBlock(saverPath)) {
        if (const auto strings = ResourceArea::ReadStringBlock(*block); strings && strings->size() > 1
                                                                        && !strings->at(1).isEmpty())
            return strings->at(1);
    }
    return QFileInfo(saverPath).completeBaseName();
}

QStringList systemPrograms()
{
    QFile file(kSystemDefaults);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    return ParsePrograms(findResource(lines, QStringLiteral("*programs")).value);
}

void setSimpleResource(QStringList& lines, const QString& key, const QString& value)
{
    const Resource existing = findResource(lines, key);
    const QString line = key + QStringLiteral(":\t\t") + value;
    if (existing.first < 0) {
        lines.append(line);
        return;
    }
    lines[existing.first] = line;
    for (int i = existing.last; i > existing.first; --i)
        lines.removeAt(i);
}

} // namespace

QStringList ParsePrograms(const QString& value)
{
    QStringList entries;
    for (const QString& piece : value.split(QLatin1String("\\n"))) {
        const QString entry = piece.trimmed();
        if (!entry.isEmpty())
            entries.append(entry);
    }
    return entries;
}

QString EntryName(const QString& entry)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*-?\s*(?:[A-Za-z0-9_-]+:\s*)?"([^"]*)\")"));
    const QRegularExpressionMatch match = pattern.match(entry);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString Command(const QString& saverPath) { return shellQuote(saverPath) + QStringLiteral(" --root"); }

QString UpdatePreferences(const QString& text, const QString& name, const QString& command,
                          const QStringList& programsIfMissing)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();

    const Resource programs = findResource(lines, QStringLiteral("programs"));
    QStringList entries = programs.first >= 0 ? ParsePrograms(programs.value) : programsIfMissing;
    QString safeName = name;
    safeName.replace(QLatin1Char('"'), QLatin1Char('\''));
    const QString entry = QLatin1Char('"') + safeName + QStringLiteral("\"  ") + command;
    qsizetype selected = -1;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (EntryName(entries[i]) == safeName) {
            entries[i] = entry;
            selected = i;
            break;
        }
    }
    if (selected < 0) {
        entries.append(entry);
        selected = entries.size() - 1;
    }

    QStringList block{QStringLiteral("programs:\t\t\t\t\t\t\t\t      \\")};
    for (qsizetype i = 0; i < entries.size(); ++i)
        block.append(QStringLiteral("\t\t") + entries[i] + QStringLiteral("\t\t\t\t    \\n")
                     + (i + 1 < entries.size() ? QStringLiteral("\\") : QString()));
    if (programs.first >= 0) {
        for (int i = programs.last; i >= programs.first; --i)
            lines.removeAt(i);
        for (qsizetype i = 0; i < block.size(); ++i)
            lines.insert(programs.first + i, block[i]);
    } else {
        lines.append(block);
    }

    setSimpleResource(lines, QStringLiteral("selected"), QString::number(selected));
    const Resource mode = findResource(lines, QStringLiteral("mode"));
    if (mode.first >= 0 && mode.value == QLatin1String("off"))
        setSimpleResource(lines, QStringLiteral("mode"), QStringLiteral("one"));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool Install(const QString& saverPath)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xscreensaver")).isEmpty())
        return false;
    const QString preferences = QDir::homePath() + QStringLiteral("/.xscreensaver");
    QString text;
    QFile existing(preferences);
    if (existing.open(QIODevice::ReadOnly | QIODevice::Text))
        text = QString::fromUtf8(existing.readAll());
    else if (existing.exists())
        return false; // unreadable preferences are not replaced
    existing.close();
    const QString updated = UpdatePreferences(text, albumNameOf(saverPath), Command(saverPath),
                                              systemPrograms());
    QSaveFile file(preferences);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    file.write(updated.toUtf8());
    return file.commit();
}

} // namespace XScreenSaverInstall
