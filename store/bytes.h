// Sign-and-magnitude byte packing used by the cipher for numbers (NOT v for
// negatives, top bit of the last byte set), so -1 packs as 00 80, not FF FF.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace ardeko {

// n = 2 or 4 bytes, least significant first. Inline: the cipher packs two
// numbers for most fields of a file.
inline void NumberToBytes(std::int32_t v, std::span<std::uint8_t> out) {
    const bool negative = v < 0;
    const auto m = static_cast<std::uint32_t>(negative ? ~v : v);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::uint8_t>((m >> (8 * i)) & 0xFFu);
    if (negative && !out.empty()) out.back() |= 0x80u;
}

inline std::int32_t BytesToNumber(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return 0;
    std::uint32_t m = 0;
    bool negative = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::uint32_t b = bytes[i];
        if (i + 1 == bytes.size() && b > 127) {
            b &= 0x7Fu;
            negative = true;
        }
        m |= b << (8 * i);
    }
    const auto value = static_cast<std::int32_t>(m);
    return negative ? ~value : value;
}

inline std::uint8_t MaxOf(std::uint8_t a, std::uint8_t b) {
    return a > b ? a : b;
}
inline std::uint8_t MinOf(std::uint8_t a, std::uint8_t b) {
    return a < b ? a : b;
}

} // namespace ardeko

namespace ardeko {

// Plain little-endian unsigned 32-bit values, as the newer file parts use.
inline std::uint32_t LittleU32At(std::string_view s, std::size_t pos) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(s[pos + i])) << (8 * i);
    return v;
}

inline void AppendLittleU32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

} // namespace ardeko
