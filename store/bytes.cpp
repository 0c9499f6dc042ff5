#include "store/bytes.h"

namespace ardeko {

void NumberToBytes(std::int32_t v, std::span<std::uint8_t> out) {
    const bool negative = v < 0;
    const auto m = static_cast<std::uint32_t>(negative ? ~v : v);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::uint8_t>((m >> (8 * i)) & 0xFFu);
    if (negative && !out.empty()) out.back() |= 0x80u;
}

std::int32_t BytesToNumber(std::span<const std::uint8_t> bytes) {
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

} // namespace ardeko
