// How hard a password is to guess. The estimate looks for words, names,
// dates, keyboard runs and repeats rather than only counting character kinds.
// One measure for the editor's meter, the generator, the health report and
// the command-line tool.
#pragma once

#include <string_view>

namespace ardeko {

// Estimated bits of entropy of a UTF-8 password (0 for an empty one).
double PasswordEntropyBits(std::string_view password);

// 0 very weak, 1 weak, 2 fair, 3 strong, 4 very strong.
int StrengthLevel(double bits);
inline constexpr int kStrongestLevel = 4;
// Levels below this one count as weak in the health report.
inline constexpr int kFairLevel = 2;

} // namespace ardeko
