// Bringing another version of the open file into it: File → "Merge another
// file…" (a sync tool's conflicted copy, a copy from another machine), and
// the merge the disk guard runs when the open file changed on disk.
#pragma once

#include "store/pw.h"

#include <QString>

namespace qvs {

// Merges theirs into the store (three-way against base, two-way without),
// keeping the view, and tells what came from where; from names theirs'
// file. False, told, when the merge could not be made.
bool MergeIntoStore(const ardeko::clsPW* base, const ardeko::clsPW& theirs, const QString& from);

// Opens another version of the open file from path: with the open file's
// key or password first, else with one the user gives. False, told, when
// it does not open.
bool LoadOtherVersion(const QString& path, ardeko::clsPW& other);

// The base to merge other against: base when the versions pair entries by
// identifier, which tell a deletion by its mark; else none (two-way), as a
// file that did not start from base would lose entries to a merge by name.
const ardeko::clsPW* BaseForOther(const ardeko::clsPW* base, const ardeko::clsPW& other);

// File → "Merge another file…": chooses a file and merges it in, against
// the kept common version where BaseForOther allows. False when nothing
// was merged.
bool MergeOtherFile();

} // namespace qvs
