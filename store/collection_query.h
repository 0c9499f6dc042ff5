// Queries over a whole collection, for the operations that select records by
// code rather than by key (there is no index by code).
#pragma once

#include "store/keyed_collection.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace ardeko {

template <class R, class Pred> std::int32_t CountIf(const KeyedCollection<R>& c, Pred pred) {
    return static_cast<std::int32_t>(std::count_if(c.begin(), c.end(), pred));
}

// The first match in collection order, or nullptr.
template <class R, class Pred> const R* FirstWhere(const KeyedCollection<R>& c, Pred pred) {
    const auto it = std::find_if(c.begin(), c.end(), pred);
    return it == c.end() ? nullptr : &*it;
}

// Keys of the matching records in collection order, so the caller can change
// the collection while working through them.
template <class R, class Pred>
std::vector<std::string> KeysWhere(const KeyedCollection<R>& c, Pred pred) {
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < c.Count(); ++i)
        if (pred(c[i])) keys.push_back(c.KeyAt(i));
    return keys;
}

// Records (entries or subcategories) filed under a category code.
inline auto InCategory(std::int16_t code) {
    return [code](const auto& r) { return r.Codcat == code; };
}

} // namespace ardeko
