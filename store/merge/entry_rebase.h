// An entry edited in a window while the store under it was replaced (the
// file reloaded or merged with another machine's version): the user's
// changes are put on top of the entry as the store holds it now, so that
// saving the window does not write back what the other machine changed.
#pragma once

#include "store/records.h"

#include <cstddef>
#include <string>
#include <vector>

namespace ardeko {

// An entry with where it is filed, by name: codes differ between versions.
struct PlacedEntry {
    T_Password rec;
    std::string cat; // "" none
    std::string sub; // "" none
};

struct RebasedEdit {
    // The entry now with the user's changes; a field both changed keeps the
    // other version's value here.
    PlacedEntry theirsOnClash;
    // The same with the user's value in those fields.
    PlacedEntry mineOnClash;
    // Fields changed on both sides to different values; CategoryName stands
    // for where the entry is filed, category and subcategory together.
    std::vector<Field> clashes;
    // Whether the entry changed at all since it was opened.
    bool changedSinceOpened = false;
};

// opened: the entry as the window was filled from it; shown: what the
// window's controls made of it (dates it shows for unset ones, say), which
// the user's changes are measured against; edited: the controls now;
// current: the entry in the store now. The modification time is left to
// the caller; earlier passwords and extra fields are united as a merge
// unites them.
RebasedEdit RebaseEdit(const PlacedEntry& opened, const PlacedEntry& shown,
                       const PlacedEntry& edited, const PlacedEntry& current,
                       std::size_t historyLimit);

} // namespace ardeko
