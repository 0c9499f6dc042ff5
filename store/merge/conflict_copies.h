// Copies of a data file that file-sync tools leave beside it when two
// machines saved it at once: the tool keeps one version under the file's
// name and the other under a name of its own ("Shared.sync-conflict-
// 20261208-140211-ABCDEF7.QVS", "Shared (conflicted copy 2026-12-08
// 140211).QVS", "Shared (Anna's conflicted copy 2026-12-08).QVS"). Their
// changes are in no other version, so they are merged in, and only then
// moved aside, never deleted.
#pragma once

#include <string>
#include <vector>

namespace ardeko {

// Whether the file name candidate is a sync tool's conflict copy of the file
// name original (names only, no folders; case does not matter).
bool IsConflictCopyName(const std::string& candidate, const std::string& original);

// The conflict copies of file in its folder, in name order.
std::vector<std::string> FindConflictCopies(const std::string& file);

// Renames a merged copy to "<copy>.merged" (or "<copy>.merged-2", …), which
// no sync tool or program takes for a data file. The new path; "" when the
// rename failed (the copy is then where it was).
std::string MoveConflictCopyAside(const std::string& copy);

} // namespace ardeko
