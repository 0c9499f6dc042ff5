// The entries of a store by the registrable domain of their address, so that
// finding the entries for one web page looks at the few of its site rather
// than at every entry. Built from the entries as they are; whoever changes
// them builds it again (an entry changed since then is checked as it is now,
// so a stale index can miss an entry but never give a wrong one).
#pragma once

#include "store/keyed_collection.h"
#include "store/records.h"
#include "store/site_match.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ardeko {

class SiteIndex {
public:
    void Rebuild(const KeyedCollection<T_Password>& entries);
    // The entries whose address serves the page, in the order the entries
    // had when the index was built; none when pageUrl is not a web page's
    // address.
    std::vector<const T_Password*> Lookup(const KeyedCollection<T_Password>& entries,
                                          std::string_view pageUrl) const;
    // Entries with a usable address.
    std::size_t Size() const { return size_; }

private:
    // One entry as the index saw it: its address is parsed again only when
    // the entry's text has changed since.
    struct Item {
        std::string service;
        std::string address;
        SiteAddress parsed;
    };
    std::unordered_map<std::string, std::vector<Item>> bySite_;
    std::size_t size_ = 0;
};

} // namespace ardeko
