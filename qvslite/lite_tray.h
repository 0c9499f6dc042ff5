// What QVSLite's tray menu does: entries show their window, "open" and a
// double-click start QVS with the shown file, "load" opens another file,
// "reopen" opens the followed file again after it could not be read. Every
// command only reads the data file.
#pragma once

#include "tray/frm_tray.h"

#include <QStringList>

#include <functional>

namespace qvs {

class FileFollower;

// Starts a program with arguments and does not wait for it; false when it
// did not start.
using ProgramLauncher = std::function<bool(const QString& program, const QStringList& arguments)>;

// QVS as installed beside this program.
QString QvsProgramPath();

// Starts QVS on the shown file (none when no file is shown); a message
// says so when QVS is missing or does not start.
void StartQvs(const ProgramLauncher& launch);

// Opens path (asking for its password when needed) and follows it.
bool OpenAndFollow(const QString& path, FileFollower& follower);

// The tray's actions for QVSLite; follower is kept for the program's run.
TrayActions LiteTrayActions(FileFollower& follower, ProgramLauncher launch);

} // namespace qvs
