// The start of QVS: one copy per user, settings and language, the first
// data file, then the main window. A second copy hands its command line to
// the first and ends.
#pragma once

#include <QString>

class QApplication;

namespace qvs {

// Exit code of a start that could not load any language table.
inline constexpr int kExitNoLanguage = 1;

// Organisation, name, version and icon of the program.
void SetApplicationIdentity(QApplication& app, const QString& version);

// Runs the program to its end; returns the process exit code.
int RunProgram();

} // namespace qvs
