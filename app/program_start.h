// What the start of both programs shares: the application's identity, the
// program paths, settings and language, the command line, and the event log
// the tests of whole programs read.
#pragma once

#include <QString>

#include <functional>

class QApplication;

namespace qvs {

// Exit code of a start that could not load any language table.
inline constexpr int kExitNoLanguage = 1;
// Exit code of a later copy whose command line did not reach the running one.
inline constexpr int kExitHandOverFailed = 3;

// Organisation, name (ProgramName()), version and icon of the program.
void SetApplicationIdentity(QApplication& app, const QString& version);

// The title ("QVS V1.2.3") and the folder of the executable.
void SetProgramPaths();

// Reads the settings and binds the language; false, after telling the user,
// when no language table loads.
bool LoadSettingsAndLanguage();

// The program's own command line as one text.
QString ProgramCommandLine();

// Makes name the current file and opens it, waiting while its password is
// asked for. A name that does not open (or the new-file marker) leaves no
// current file. False when nothing was opened.
bool OpenStartFile(const QString& name);

class SingleInstance;
// Files handed over by later copies are opened (or the program comes to
// the front); handled runs after each.
void ConnectHandOver(SingleInstance& instance, const std::function<void()>& handled = {});

// From a later copy: hands this program's command line to the running copy.
// 0 when it arrived; else, after telling the user, kExitHandOverFailed.
int HandOverToRunningCopy(const SingleInstance& instance);

// Set only by the tests that start a whole program: the file that gets one
// line per event ("<event> <open data file>"); builds without the tests
// write none.
inline constexpr char kTestEventLog[] = "QVS_TEST_EVENT_LOG";
void LogTestEvent(const char* event);
// The same with a text of its own in place of the open data file. Never a
// secret: tests read the file.
void LogTestEvent(const char* event, const QString& detail);

} // namespace qvs
