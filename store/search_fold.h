// Text as the program compares it when searching: letter case and accents
// make no difference, so "Café" and "CAFE" fold to the same text.
#pragma once

#include <string>
#include <string_view>

namespace ardeko {

// UTF-8 in and out. Compatibility decomposition with the combining marks
// dropped, then case folded; a few Latin letters that have no decomposition
// ("ø", "ł", "đ", "ß", "æ", "œ") become their plain spellings. Plain ASCII
// is lowered in place, which is most text and far quicker. Bytes that are
// not UTF-8 stay as they are.
std::string FoldForSearch(std::string_view text);

struct T_Password;

// The entry's searched fields (never its passwords or secrets) joined and
// folded: service, user, e-mail, the three addresses and the notes, with a
// control character between them so that no search text runs across two.
std::string EntrySearchText(const T_Password& p);

// Whether folded (FoldForSearch of what was typed) is in the entry's text;
// never for an empty text.
bool EntryMatches(const T_Password& p, std::string_view folded);

} // namespace ardeko
