// Entry identifiers: what pairs an entry's versions in a merge of two
// format-2 files, whatever its name has become.
#pragma once

#include "store/records.h"

#include <string>

namespace ardeko {

// A fresh random identifier (32 hex digits), for an entry, category or
// subcategory.
std::string NewEntryId();

// The identifier an entry from before identifiers existed gets at its first
// format-2 save: from its name and insertion date, so that machines that
// convert copies of one file give its entries the same identifiers.
std::string DerivedEntryId(const T_Password& entry);

// The identifiers a category and a subcategory from before identifiers
// existed get at their first format-2 save. A category's name is unique in
// its file and the same in every copy of it, so it alone gives the
// identifier; a subcategory's name is unique within its category, so it is
// taken with its category's identifier (categoryId; for a subcategory whose
// category is gone, its category code as text).
std::string DerivedCategoryId(const T_Categ& category);
std::string DerivedSubCategoryId(const T_SCateg& sub, const std::string& categoryId);

// The identifier of the copy a merge keeps of the losing version of a
// conflict: from that version, so that merging the same versions again
// finds the copy already made instead of making another.
std::string ConflictCopyId(const T_Password& loser);

} // namespace ardeko
