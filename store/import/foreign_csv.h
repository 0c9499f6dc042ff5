// Comma-separated values as RFC 4180 writes them: fields in double quotes may
// hold the delimiter, line breaks and doubled quotes; records end in CR LF,
// LF or a lone CR (as old Macs wrote). Each record remembers the line it starts on, for messages.
#pragma once

#include "store/import/import_problem.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ardeko {

struct CsvRecord {
    std::size_t line = 0; // 1-based line the record starts on
    std::vector<std::string> fields;
};

// Reads every record of text (UTF-8). A line holding nothing at all is no
// record. Records may have different numbers of fields; the caller decides.
std::optional<ImportProblem> ReadCsv(std::string_view text, char delimiter,
                                     std::vector<CsvRecord>& out);

// The delimiter the first record uses most: comma, semicolon or tab (comma
// when none appears).
char GuessCsvDelimiter(std::string_view text);

} // namespace ardeko
