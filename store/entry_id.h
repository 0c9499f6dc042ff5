// Entry identifiers: what pairs an entry's versions in a merge of two
// format-2 files, whatever its name has become.
#pragma once

#include "store/records.h"

#include <string>

namespace ardeko {

// A fresh random identifier (32 hex digits).
std::string NewEntryId();

// The identifier an entry from before identifiers existed gets at its first
// format-2 save: from its name and insertion date, so that machines that
// convert copies of one file give its entries the same identifiers.
std::string DerivedEntryId(const T_Password& entry);

} // namespace ardeko
