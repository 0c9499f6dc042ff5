// One entry as bytes and back, for a program that holds entries outside the
// store (an open editor's copies) and seals them with it while locked.
#pragma once

#include "store/records.h"

#include <string>
#include <string_view>

namespace ardeko {

// The entry, every field of it, as a format-2 body holding only it.
std::string PackEntry(const T_Password& entry);
// Reads what PackEntry wrote; false (out untouched) when bytes hold no entry.
bool UnpackEntry(std::string_view bytes, T_Password& out);
// Overwrites every text of the entry (earlier passwords, extra fields and
// one-time-code secret too) and empties them.
void WipeEntry(T_Password& entry);

} // namespace ardeko
