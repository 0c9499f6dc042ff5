#include "store/entry_id.h"

#include "store/crypto/sodium_calls.h"

#include <array>
#include <bit>
#include <cstdint>
#include <type_traits>

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

std::array<unsigned char, kIdBytes> Hash(const std::string& input) {
    std::array<unsigned char, kIdBytes> bytes;
    crypto::Hash(bytes.data(), bytes.size(), input);
    return bytes;
}

template <class T> void AppendBytes(std::string& out, const T& value) {
    if constexpr (std::is_same_v<T, std::string>) {
        AppendBytes(out, static_cast<std::uint64_t>(value.size()));
        out += value;
    } else {
        const auto bits = std::bit_cast<std::array<char, sizeof(T)>>(value);
        out.append(bits.data(), bits.size());
    }
}

} // namespace

std::string NewEntryId() {
    crypto::Ready(); // picks the system's random source once
    std::array<unsigned char, kIdBytes> bytes;
    crypto::RandomBytes(bytes.data(), bytes.size());
    return Hex(bytes);
}

std::string DerivedEntryId(const T_Password& entry) {
    std::string input = entry.service;
    const auto inserted = std::bit_cast<std::uint64_t>(entry.Dt_Insert);
    for (int i = 0; i < 8; ++i)
        input += static_cast<char>((inserted >> (8 * i)) & 0xFF);
    return Hex(Hash(input));
}

std::string DerivedCategoryId(const T_Categ& category) {
    std::string input = "category";
    AppendBytes(input, category.DescrCat);
    return Hex(Hash(input));
}

std::string DerivedSubCategoryId(const T_SCateg& sub, const std::string& categoryId) {
    std::string input = "subcategory";
    AppendBytes(input, categoryId);
    AppendBytes(input, sub.DescrSCat);
    return Hex(Hash(input));
}

std::string ConflictCopyId(const T_Password& loser) {
    std::string input = "conflict copy";
    AppendBytes(input, loser.Id);
    VisitFields(loser, [&](const char*, const auto& field) { AppendBytes(input, field); });
    AppendBytes(input, loser.Totp);
    return Hex(Hash(input));
}

} // namespace ardeko
