// What the running program does with a command line that a second copy
// handed over: open the file it names, or just come to the front.
#pragma once

#include <QByteArray>

#include <functional>

namespace qvs {

// No bytes: the current main window comes to the front. Otherwise the
// bytes (UTF-8) name a file: after the save question (text 9001) it is
// opened. While the program is starting, a dialog is open or the file is
// locked the hand-over waits, so that it never replaces the file under an
// open dialog or behind the lock screen.
// handled runs once the hand-over has been dealt with.
void ReceiveCommandLine(const QByteArray& bytes, const std::function<void()>& handled = {});

// Shows the current main window, restored if minimised, in front.
void ActivateMainWindow();

} // namespace qvs
