#include "store/site_index.h"

namespace ardeko {

void SiteIndex::Rebuild(const KeyedCollection<T_Password>& entries) {
    bySite_.clear();
    size_ = 0;
    for (const T_Password& e : entries) {
        const auto address = ParseEntryAddress(e.URL_Access);
        if (!address) continue;
        bySite_[SiteKey(address->host)].push_back(e.service);
        ++size_;
    }
}

std::vector<const T_Password*> SiteIndex::Lookup(const KeyedCollection<T_Password>& entries,
                                                 std::string_view pageUrl) const {
    std::vector<const T_Password*> found;
    const auto page = ParsePageAddress(pageUrl);
    if (!page) return found;
    const auto it = bySite_.find(SiteKey(page->host));
    if (it == bySite_.end()) return found;
    for (const std::string& service : it->second) {
        const T_Password* e = entries.Find(service);
        if (!e) continue; // deleted or renamed since the index was built
        const auto address = ParseEntryAddress(e->URL_Access);
        if (address && SiteMatches(*page, *address)) found.push_back(e);
    }
    return found;
}

} // namespace ardeko
