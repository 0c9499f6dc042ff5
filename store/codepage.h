// Texts cross the store's interface as UTF-8 and live in the data file as
// Windows-1252, the format's fixed single-byte code page. The five bytes that
// code page leaves undefined map to the C1 controls of the same value, so
// every byte survives a round trip.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ardeko {

struct Cp1252Result {
    std::string bytes;
    // When the text cannot be stored: the first offending code point, or
    // 0xFFFFFFFF for malformed UTF-8.
    std::optional<std::uint32_t> badCodePoint;
};

Cp1252Result Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view bytes);

// The comparison key for names: letters of the code page folded to upper case
// (é = É), everything else kept. Equal keys mean "the same name".
std::string FoldKey(std::string_view utf8);

// Whether text is well-formed UTF-8; and text with every byte that is not
// part of a well-formed sequence replaced by U+FFFD.
bool IsValidUtf8(std::string_view text);
std::string RepairedUtf8(std::string_view text);

// Human-readable form of a code point for messages ("U+0416 'Ж'").
std::string DescribeCodePoint(std::uint32_t cp);

} // namespace ardeko
