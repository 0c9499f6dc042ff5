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

// File → "Merge another file…": chooses a file and merges it in two-way,
// so nothing is deleted. False when nothing was merged.
bool MergeOtherFile();

} // namespace qvs
