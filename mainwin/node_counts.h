// The numbers shown beside the tree's nodes, all counted in one pass over the
// entries. Asking the store node by node would walk every entry once per
// node, far too slow for a large file; the results are the same as the
// store's PwInCat, PwInSubCat and counters give.
#pragma once

#include "store/pw.h"

#include <QString>

#include <cstdint>
#include <unordered_map>

namespace qvs {

struct NodeCounts {
    std::int32_t all = 0;
    std::int32_t favourites = 0;
    std::int32_t expiring = 0;   // InExpirationNumber
    std::int32_t expired = 0;    // ExpiredNumber
    std::int32_t changeSoon = 0; // InChangeNumber
    std::int32_t changeDue = 0;  // ChangedNumber
    // Entries by category code (0: none).
    std::unordered_map<std::int16_t, std::int32_t> byCategory;
    // Entries by category and subcategory code together; see PairCode.
    std::unordered_map<std::int32_t, std::int32_t> bySubCategory;

    static std::int32_t PairCode(std::int16_t cat, std::int16_t scat) {
        return (std::int32_t{cat} << 16) | static_cast<std::uint16_t>(scat);
    }

    // The number of the node with this key (node_key.h); 0 for unknown keys.
    std::int32_t ForKey(const QString& key) const;
};

// Counts the entries of store for every node at once; the expiry states are
// judged against the store's today.
NodeCounts CountNodes(const ardeko::clsPW& store);

} // namespace qvs
