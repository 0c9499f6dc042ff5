#include "store/site_index.h"

namespace ardeko {

void SiteIndex::Rebuild(const KeyedCollection<T_Password>& entries) {
    bySite_.clear();
    size_ = 0;
    for (const T_Password& e : entries) {
        const auto address = ParseEntryAddress(e.URL_Access);
        if (!address) continue;
        const std::string site = SiteKey(address->host);
        bySite_[site].push_back({e.service, e.URL_Access, std::move(*address)});
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
    for (const Item& item : it->second) {
        const T_Password* e = entries.Find(item.service);
        if (!e) continue; // deleted or renamed since the index was built
        if (e->URL_Access == item.address) {
            if (SiteMatches(*page, item.parsed)) found.push_back(e);
        } else if (const auto now = ParseEntryAddress(e->URL_Access);
                   now && SiteMatches(*page, *now)) {
            found.push_back(e);
        }
    }
    return found;
}

} // namespace ardeko
