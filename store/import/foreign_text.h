// Text files written by other programs, turned into UTF-8: UTF-8 with or
// without a byte-order mark, UTF-16 with one, or Windows-1252 (what older
// programs on Windows write when the bytes are not UTF-8).
#pragma once

#include "store/import/import_problem.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ardeko {

enum class TextEncoding { Auto, Utf8, Utf16, Cp1252 };

// Decodes bytes into out (UTF-8, no byte-order mark). Auto takes a mark when
// there is one, else UTF-8 when the bytes are valid UTF-8, else Windows-1252
// when no part of them is UTF-8; bytes that are UTF-8 in places and not in
// others are refused, naming the first line that is not, as no guess reads
// both right. Text holding NUL characters is refused as not being text. used
// tells the encoding found (never Auto).
std::optional<ImportProblem> DecodeForeignText(std::string_view bytes, TextEncoding wanted,
                                               std::string& out, TextEncoding& used);

// The encoding's name as the command line writes it (auto, utf-8, utf-16, cp1252).
const char* EncodingName(TextEncoding e);
// Its name for people (UTF-8, UTF-16, Windows-1252).
const char* EncodingTitle(TextEncoding e);
std::optional<TextEncoding> EncodingByName(std::string_view name);

} // namespace ardeko
