// Why a file of another program could not be read or imported, as a message
// number with its values, so that a window can word it in its user's
// language; ImportProblemText gives the English words scripts print. The
// values are never text of the file (it may be a password): only line and
// column numbers, captions, format names and paths within the file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ardeko {

// In this order; a window's language table has one text per message.
enum class ImportMsg : int {
    FileTooLarge, // %1 the most an import reads, in MB
    FileEmpty,
    Utf16Odd,
    Utf16Broken,
    Utf16NoMark,
    NotUtf8,
    MixedEncoding, // a byte that is not UTF-8 in a file that holds UTF-8 text
    Binary,
    QuoteNotClosed,   // %1 field number
    TextAfterQuote,   // %1 field number
    ColumnMissing,    // %1 caption, %2 format name
    RowWidth,         // %1 fields in the row, %2 in the first line
    MappedColumnGone, // %1 field name
    UnknownCaptions,
    NotJson, // %1 column
    JsonEncrypted,
    NotBitwarden, // %1 where in the file
    JsonUnreadable,
    MapNotField,    // %1 the --map item (the user's own words)
    MapNoColumn,    // %1 the column asked for, %2 the number of columns
    TooManyEntries, // %1 entries the file would hold, %2 the most it can
    Count
};

struct ImportProblem {
    ImportMsg what = ImportMsg::FileEmpty;
    std::size_t line = 0; // 1-based; 0 when the whole file is concerned
    std::vector<std::string> args;
};

// The English template of a message, with %1, %2 for its values.
const char* ImportMsgTemplate(ImportMsg m);

// The message in English, led by "Line N: " when it has a line.
std::string ImportProblemText(const ImportProblem& p);

} // namespace ardeko
