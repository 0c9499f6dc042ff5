// The plain body of a format-2 file: tagged records of tagged fields, so
// that a reader skips what it does not know. Layout: FORMAT2.md.
#pragma once

#include "store/codec.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace ardeko {

// Record kinds of the body.
enum class BodyRecord : unsigned char {
    Category = 1,
    SubCategory = 2,
    Entry = 3,
    Node = 4,
    Deleted = 5,
    BrowserLink = 7,
    FileIdentity = 8
};

// The exact size of the body, so that it is written into one buffer that
// never moves (no stray copies of the secrets in freed memory).
std::size_t BodySize(const StoreContents& contents);
// Writes the body into out, which holds BodySize bytes.
void WriteBody(const StoreContents& contents, char* out);
// Reads a body; false when it is malformed (a record or field overruns).
// texts: which texts of the entries are kept; the others are checked as a
// full read checks them, but not copied.
bool ReadBody(std::string_view body, bool categoriesOnly, DecodedFile& f,
              EntryTexts texts = EntryTexts::All);

} // namespace ardeko
