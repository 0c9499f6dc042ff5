// The browser connections a format-2 file keeps, and what the user allowed
// or denied each entry on which web site.
#include "store/pw.h"
#include "store/site_match.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>

namespace ardeko {

namespace {

constexpr const char* kLinksNeedFormat2 =
    "Browser connections and site permissions cannot be stored in a file of the older format; "
    "a file of format 2 can hold them.";

bool InUse(const T_BrowserLink& l) {
    return l.removed == 0;
}

} // namespace

bool clsPW::HasBrowserLinks() const {
    return std::any_of(links_.begin(), links_.end(), InUse);
}

bool clsPW::FailLinksNeedFormat2() {
    return Fail(StoreError::UnstorableText, kLinksNeedFormat2);
}

std::vector<T_BrowserLink> clsPW::BrowserLinks() const {
    std::vector<T_BrowserLink> inUse;
    std::copy_if(links_.begin(), links_.end(), std::back_inserter(inUse), InUse);
    return inUse;
}

const T_BrowserLink* clsPW::FindBrowserLink(std::string_view name, std::string_view key) const {
    const auto it = std::find_if(links_.begin(), links_.end(), [&](const T_BrowserLink& l) {
        return InUse(l) && l.name == name && l.key == key;
    });
    return it == links_.end() ? nullptr : &*it;
}

bool clsPW::AddBrowserLink(const std::string& name, const std::string& key) {
    if (format_ != FileFormat::Two) return FailLinksNeedFormat2();
    if (name.empty() || key.empty())
        return Fail(StoreError::InvalidCall, "A browser connection needs a name and a key.");
    for (const T_BrowserLink& l : links_) {
        if (l.key == key)
            return Fail(StoreError::DuplicateKey, "This browser key was connected before.");
        if (InUse(l) && l.name == name)
            return Fail(StoreError::DuplicateKey,
                        "A browser connection named " + name + " exists already.");
    }
    links_.push_back({name, key, Now(), Now(), 0});
    notSaved_ = true;
    Succeed();
    return true;
}

bool clsPW::RemoveBrowserLink(std::string_view key) {
    const auto it = std::find_if(links_.begin(), links_.end(),
                                 [&](const T_BrowserLink& l) { return InUse(l) && l.key == key; });
    if (it == links_.end()) return false;
    it->removed = Now();
    notSaved_ = true;
    return true;
}

void clsPW::TouchBrowserLink(std::string_view name, std::string_view key) {
    for (T_BrowserLink& l : links_)
        if (InUse(l) && l.name == name && l.key == key) l.lastUsed = Now();
}

std::optional<bool> clsPW::SitePermission(const std::string& service, std::string_view host) const {
    const T_Password* entry = password_.Find(service);
    if (!entry) return std::nullopt;
    const std::string wanted = LowerAscii(host);
    for (const T_SitePermission& site : entry->Sites)
        if (site.host == wanted) return site.allowed;
    return std::nullopt;
}

bool clsPW::SetSitePermission(const std::string& service, std::string_view host,
                              std::optional<bool> allowed) {
    if (!password_.Contains(service)) return Fail(StoreError::InvalidCall, "Service not Found!");
    if (host.empty()) return Fail(StoreError::InvalidCall, "A site permission needs a host.");
    if (format_ != FileFormat::Two) return FailLinksNeedFormat2();
    const std::string wanted = LowerAscii(host);
    password_.EditOne(service, [&](T_Password& e) {
        std::erase_if(e.Sites, [&](const T_SitePermission& s) { return s.host == wanted; });
        if (!allowed) return;
        const auto at = std::lower_bound(
            e.Sites.begin(), e.Sites.end(), wanted,
            [](const T_SitePermission& s, const std::string& h) { return s.host < h; });
        e.Sites.insert(at, {wanted, *allowed});
    });
    notSaved_ = true;
    Succeed();
    return true;
}

void clsPW::MergeBrowserLinks(const clsPW& theirs) {
    std::unordered_map<std::string, std::size_t> byKey;
    for (std::size_t i = 0; i < links_.size(); ++i)
        byKey.emplace(links_[i].key, i);
    for (const T_BrowserLink& t : theirs.links_) {
        const auto found = byKey.find(t.key);
        if (found == byKey.end()) {
            byKey.emplace(t.key, links_.size());
            links_.push_back(t);
            continue;
        }
        T_BrowserLink& m = links_[found->second];
        if (t.lastUsed > m.lastUsed) m.name = t.name;
        m.created = std::min(m.created, t.created);
        m.lastUsed = std::max(m.lastUsed, t.lastUsed);
        if (!InUse(t)) m.removed = InUse(m) ? t.removed : std::min(m.removed, t.removed);
    }
}

} // namespace ardeko
