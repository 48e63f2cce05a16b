// Hands a packaged screen saver to XScreenSaver: the saver becomes an entry
// of the programs list in ~/.xscreensaver, named after the album (string 1 of
// its name block, or its base name), replacing an earlier entry of that name,
// and is selected; a mode of "off" becomes "one" (only this saver), any other
// mode stays. XScreenSaver notices the changed file by itself.
#pragma once

#include <QString>
#include <QStringList>

namespace XScreenSaverInstall {

// False when XScreenSaver is not installed or the file cannot be written.
bool Install(const QString& saverPath);

// The preferences text after adding the entry; `programsIfMissing` is the
// programs list to start from when `text` has none (the system's defaults).
QString UpdatePreferences(const QString& text, const QString& name, const QString& command,
                          const QStringList& programsIfMissing);

// The entries of a programs value as written in the file (one per "\n").
QStringList ParsePrograms(const QString& value);
// The pretty name of an entry ("-" and "visual:" prefixes allowed); empty when
// the entry has none.
QString EntryName(const QString& entry);
// The command that starts the saver full screen under XScreenSaver.
QString Command(const QString& saverPath);

} // namespace XScreenSaverInstall
