// qvs-proxy's work: the browser's messages from one descriptor go to the
// running QVS, QVS's answers and signals come back on the other. QVS is
// looked for at each message while it is not reached, so that a QVS started
// after the browser is found; it is never started from here. When QVS goes
// away, every request it still owed an answer gets the "not running" answer.
#pragma once

#include <string>
#include <string_view>

namespace qvs::proxy {

// The extension's own code for "the password manager is not running". Sent
// as a number: the extension compares it strictly.
inline constexpr int kNotRunning = 5;

// {"action": action, "errorCode": 5, "error": "..."}
std::string NotRunningAnswer(std::string_view action);

// Runs until the browser closes input (or output breaks); returns the exit
// code. socketPath is where QVS listens.
int RunHost(int input, int output, const std::string& socketPath);

} // namespace qvs::proxy
