// Merging two versions of one data file, such as the copies two machines
// keep of a file a sync tool shares: three-way against the version both
// started from (the base), or two-way when there is none. clsPW::Merge runs
// it; these are the types it takes and gives back.
#pragma once

#include "store/records.h"

#include <optional>
#include <string>
#include <vector>

namespace ardeko {

class clsPW;

// How the records of two versions are paired. Legacy files carry nothing
// but names, so the default pairs entries by service name (regardless of
// case); a file format that gives entries identifiers and keeps deletion
// marks overrides both, which lets a merge tell a rename from a delete and
// an add, and a delete from an entry the other side never had.
class MergeIdentity {
public:
    virtual ~MergeIdentity() = default;
    // The key that pairs an entry with its other versions.
    virtual std::string EntryKey(const clsPW& store, const T_Password& entry) const;
    // When store recorded deleting the entry with this key; none when it
    // does not know.
    virtual std::optional<VbDate> DeletedAt(const clsPW& store, const std::string& key) const;
    // Whether DeletedAt knows every deletion: then an entry the base has and
    // one side lacks without a mark was never that side's (the base is not
    // where that side started from), and it is kept.
    virtual bool KnowsDeletions() const { return false; }
};

// One side's changes that reached the result, by service name.
struct MergeSide {
    std::vector<std::string> added;
    std::vector<std::string> changed;
    std::vector<std::string> deleted;
};

// An entry changed on both sides in the same fields: the later change keeps
// the name, the other version is kept beside it under copy.
struct MergeConflict {
    std::string service;
    std::string copy;
};

// A category or subcategory ("category / subcategory") that has name now,
// and other in one of the versions merged.
struct MergeNames {
    std::string named;
    std::string other;
};

struct MergeSummary {
    MergeSide mine;   // from the store merged into
    MergeSide theirs; // from the other version
    // Changed on both sides in different fields: both changes were kept.
    std::vector<std::string> combined;
    std::vector<MergeConflict> conflicts;
    // Changed on one side and deleted on the other: kept, nothing is lost.
    std::vector<std::string> keptChanged;
    // One name given to two different entries: the one changed earlier was
    // kept under copy.
    std::vector<MergeConflict> collisions;
    // Categories and subcategories renamed differently on the two sides
    // (two-way: named differently): one name is kept, the same whichever
    // side is which, and the entries stay in them.
    std::vector<MergeNames> renamedPlaces;
    // One name given to two categories (or subcategories of one category):
    // the second was named "name 2".
    std::vector<MergeNames> placeCollisions;
    // Against a common version (else a difference tells nothing of who
    // changed what), and pairing entries by name (legacy files: a renamed
    // entry shows as deleted and added).
    bool threeWay = false;
    bool byName = false;

    bool NothingFromTheirs() const {
        return theirs.added.empty() && theirs.changed.empty() && theirs.deleted.empty() &&
               combined.empty() && conflicts.empty() && keptChanged.empty() && collisions.empty() &&
               renamedPlaces.empty() && placeCollisions.empty();
    }
};

// "<service> (conflict 2026-12-08 14:02)": the name the losing version of a
// conflict is kept under; modified is that version's modification date.
std::string ConflictName(const std::string& service, VbDate modified);

// How a merge summary names a subcategory: "category / subcategory"; a
// category (sub "") by its name.
std::string PlaceLabel(const std::string& category, const std::string& sub);

} // namespace ardeko
