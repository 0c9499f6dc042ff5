// Text files written by other programs, turned into UTF-8: UTF-8 with or
// without a byte-order mark, UTF-16 with one, or Windows-1252 (what older
// programs on Windows write when the bytes are not UTF-8).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ardeko {

enum class TextEncoding { Auto, Utf8, Utf16, Cp1252 };

struct DecodeProblem {
    std::size_t line = 0; // 1-based; 0 when the whole file is concerned
    std::string message;
};

// Decodes bytes into out (UTF-8, no byte-order mark). Auto takes a mark when
// there is one, else UTF-8 when the bytes are valid UTF-8, else Windows-1252.
// Text holding NUL characters is refused as not being text. used tells the
// encoding found (never Auto).
std::optional<DecodeProblem> DecodeForeignText(std::string_view bytes, TextEncoding wanted,
                                               std::string& out, TextEncoding& used);

// The encoding's name as the command line writes it (auto, utf-8, utf-16, cp1252).
const char* EncodingName(TextEncoding e);
std::optional<TextEncoding> EncodingByName(std::string_view name);

} // namespace ardeko
