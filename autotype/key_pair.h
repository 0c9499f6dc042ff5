// An entry's two keys (typed between user name and password, and after the
// password) packed into one signed 16-bit value, and the default pair that the
// settings give to entries of files older than the keys.
#pragma once

#include <QString>

#include <cstdint>

namespace qvs {

struct KeyPair {
    int before = 0; // 0 = no key
    int after = 0;
};

// Bytes of 128 and more go in complement form so the value stays a signed
// 16-bit number (negative then).
std::int16_t PackKeyPair(int before, int after);
KeyPair UnpackKeyPair(std::int16_t value);

// The packed byte of a key setting: 8 and 13 as they are, -1 the code of the
// custom text's first character (0 when empty or not storable), others as is.
int KeyCodeByte(int code, const QString& customText);

// The pair of the settings KeyBeforeCB/KeyBefore and KeyAfterCB/KeyAfter,
// handed to the store when a file is loaded.
std::int16_t DefaultKeyVal();

} // namespace qvs
