// How an entry's extra field shows in a one-line box, the same in the editor
// and in the small entry window.
#pragma once

#include "store/records.h"

#include <QString>

namespace qvs {

// A protected value unless shown: a mask of one fixed length, so that the
// window tells nothing of the value's length ("" for an empty value).
// Otherwise the value, a value of several lines (a key) with its line ends
// as visible marks.
QString ExtraFieldText(const ardeko::T_CustomField& field, bool shown);

// Whether the value fits a one-line box as it is.
bool IsOneLine(const std::string& value);

} // namespace qvs
