// Searches this process's own writable memory (/proc/self/maps and
// /proc/self/mem) for a secret. The secrets are kept masked, so that the
// scan never finds the copy it searches with; each is unmasked only into a
// string its test wipes.
#pragma once

#include <string>

namespace memscan {

// The secret's bytes as they sit in a std::string, masked.
std::string Masked(const char* plain);
// The same secret (ASCII) as a QString holds it: UTF-16, little-endian.
std::string MaskedUtf16(const char* plain);
std::string Unmasked(const std::string& masked);

// Whether the unmasked bytes are anywhere in readable, writable memory.
bool InMemory(const std::string& masked);

} // namespace memscan
