// The whole store as qvs-cli dump prints it: one indented JSON object with
// sorted keys (the file's version text, seed and enciphered flag, then one
// array per record list in collection order), written record by record so
// that a large store is never also held as one text.
#pragma once

#include <cstdio>

namespace ardeko {
class clsPW;
}

namespace qvs {

// False when out refused the text. The entries' earlier passwords only
// withHistory: they leave the file only when asked for.
bool WriteStoreJson(const ardeko::clsPW& store, std::FILE* out, bool withHistory = false);

} // namespace qvs
