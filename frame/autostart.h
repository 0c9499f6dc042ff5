// Starting a program when the user logs on: an XDG autostart entry
// $XDG_CONFIG_HOME/autostart/<name>.desktop.
#pragma once

#include <QString>

namespace qvs {

QString AutostartFilePath(const QString& name);

// One argument of a desktop entry's Exec line: quoted, with the escapes the
// Desktop Entry format asks for inside quotes and in string values.
QString DesktopExecArgument(const QString& argument);

// Writes (atomically) the entry that starts program, or removes it.
bool WriteAutostart(const QString& name, const QString& program);
bool RemoveAutostart(const QString& name);

// enabled: write the entry for this executable; otherwise remove it.
bool SetAutostart(const QString& name, bool enabled);

} // namespace qvs
