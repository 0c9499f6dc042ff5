// Sign-and-magnitude byte packing used by the cipher for numbers (NOT v for
// negatives, top bit of the last byte set), so -1 packs as 00 80, not FF FF.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace ardeko {

// n = 2 or 4 bytes, least significant first.
void NumberToBytes(std::int32_t v, std::span<std::uint8_t> out);
std::int32_t BytesToNumber(std::span<const std::uint8_t> bytes);

inline std::uint8_t MaxOf(std::uint8_t a, std::uint8_t b) {
    return a > b ? a : b;
}
inline std::uint8_t MinOf(std::uint8_t a, std::uint8_t b) {
    return a < b ? a : b;
}

} // namespace ardeko
