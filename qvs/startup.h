// The start of QVS: one copy per user, settings and language, the first
// data file, then the main window. A second copy hands its command line to
// the first and ends.
#pragma once

namespace qvs {

// Runs the program to its end; returns the process exit code.
int RunProgram();

} // namespace qvs
