// The fields an export can hold and the text each one writes for an entry.
// Field names here are the fields' keys: the settings keep them, and a CSV
// header writes them as they stand in every language (other programs import
// by them); a program shows them in its user's language.
#pragma once

#include "store/records.h"

#include <string>
#include <string_view>
#include <vector>

namespace ardeko {

class clsPW;

inline constexpr std::string_view kServiceCaption = "Service";
inline constexpr std::string_view kNotesCaption = "Notes";
inline constexpr std::string_view kHistoryCaption = "Password History";
inline constexpr std::string_view kNoCategory = "No Category";
inline constexpr std::string_view kNoSubCategory = "No SubCategory";

// The captions the field list offers, in the order it offers them. "TOTP",
// the one-time-code secret as its otpauth:// address, and "Custom Fields",
// an entry's extra fields as "name: value" lines (protected ones too), come
// last: secrets like the password, written only when chosen.
const std::vector<std::string>& FieldCaptions();

// What the entry writes under caption (a field caption, "Service", "Notes"
// or "Password History": one line per earlier password, its date of
// replacement first); "" for an unknown caption. A date whose flag is off
// writes nothing: the entry has no such date in force.
std::string FieldValue(const clsPW& store, const T_Password& p, std::string_view caption);

// "dd/mm/yyyy", as the grid shows dates; "" for a date never set or no date.
std::string ExportDateText(double date);

// UTF-8 characters (code points) in text.
std::size_t CharacterCount(std::string_view text);

// text padded with blanks, or cut, to exactly width characters.
std::string Fit(std::string_view text, std::size_t width);

// The value on one line for a column: every line break, tab and other
// control character becomes a blank.
std::string OneLine(std::string_view value);
// A value that keeps its line breaks (a password may hold one), each
// written as lineBreak, its further lines starting indent blanks in.
std::string ContinuedLines(std::string_view value, std::size_t indent, std::string_view lineBreak);

} // namespace ardeko
