#include "store/entry_id.h"

#include <sodium.h>

#include <array>
#include <bit>
#include <cstdint>

namespace ardeko {

namespace {

constexpr std::size_t kIdBytes = 16;

std::string Hex(const std::array<unsigned char, kIdBytes>& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * bytes.size());
    for (const unsigned char b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

} // namespace

std::string NewEntryId() {
    static const bool ready = sodium_init() >= 0; // picks the system's random source once
    (void)ready;
    std::array<unsigned char, kIdBytes> bytes;
    randombytes_buf(bytes.data(), bytes.size());
    return Hex(bytes);
}

std::string DerivedEntryId(const T_Password& entry) {
    std::string input = entry.service;
    const auto inserted = std::bit_cast<std::uint64_t>(entry.Dt_Insert);
    for (int i = 0; i < 8; ++i)
        input += static_cast<char>((inserted >> (8 * i)) & 0xFF);
    std::array<unsigned char, kIdBytes> bytes;
    crypto_generichash(bytes.data(), bytes.size(),
                       reinterpret_cast<const unsigned char*>(input.data()), input.size(), nullptr,
                       0);
    return Hex(bytes);
}

} // namespace ardeko
