// Text as the program compares it when searching: letter case and accents
// make no difference, so "Café" and "CAFE" fold to the same text.
#pragma once

#include <QString>

namespace qvs {

// Compatibility decomposition with the combining marks dropped, then case
// folded; a few Latin letters that have no decomposition ("ø", "ł", "đ",
// "ß", "æ", "œ") become their plain spellings. Plain ASCII is lowered in
// place, which is most text and far quicker.
QString FoldForSearch(QString text);

} // namespace qvs
