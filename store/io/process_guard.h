// Keeping a program's secrets out of core files and away from other
// processes of the same user (which may otherwise read /proc/PID/mem).
#pragma once

namespace ardeko {

// Marks the process not dumpable and sets its core-file limit to 0. Every
// program that holds a file password calls it first thing.
void KeepSecretsOutOfDumps();

} // namespace ardeko
