// The logins for a page and their one-time codes: get-logins, get-totp.
#include "browser/browser_protocol.h"

#include "store/entry_id.h"

#include <algorithm>

namespace qvs::browser {

namespace {

using ardeko::T_Password;

bool Expired(const ardeko::clsPW& file, const T_Password& p) {
    return file.DueOf(p).expiry == ardeko::clsPW::Due::Past;
}

} // namespace

const ardeko::SiteIndex& BrowserProtocol::Index(const ardeko::clsPW& file) {
    // Built again after any change of the entries, by the browser or in
    // the program's windows.
    const std::uint64_t revision = file.Password().Revision();
    if (&file != indexedFile_ || revision != indexedRevision_) {
        index_.Rebuild(file.Password());
        indexedFile_ = &file;
        indexedRevision_ = revision;
    }
    return index_;
}

std::string BrowserProtocol::Uuid(const T_Password& entry) {
    // An entry from before identifiers gets this one at the next save.
    return entry.Id.empty() ? ardeko::DerivedEntryId(entry) : entry.Id;
}

const T_Password* BrowserProtocol::EntryWithUuid(const ardeko::clsPW& file, std::string_view uuid) {
    if (uuid.empty()) return nullptr;
    for (const T_Password& p : file.Password())
        if (Uuid(p) == uuid) return &p;
    return nullptr;
}

std::vector<std::string> BrowserProtocol::AllowedEntries(const std::string& url, Error& error) {
    ardeko::clsPW* file = OpenFile(false);
    const std::optional<ardeko::SiteAddress> page = ardeko::ParsePageAddress(url);
    error = Error::NoLogins;
    if (!file || !page) return {};
    std::vector<std::string> allowed, undecided;
    bool any = false;
    for (const T_Password* p : Index(*file).Lookup(file->Password(), url)) {
        if (host_.NeverReturnExpired() && Expired(*file, *p)) continue;
        any = true;
        const std::optional<bool> decided = file->SitePermission(p->service, page->host);
        if (!decided)
            undecided.push_back(p->service);
        else if (*decided)
            allowed.push_back(p->service);
    }
    if (!undecided.empty()) {
        const SiteAnswer answer = questions_.AllowSite(page->host, undecided);
        file = OpenFile(false);
        if (!file) {
            error = Error::DatabaseNotOpened;
            return {};
        }
        if (answer != SiteAnswer::AllowOnce) {
            for (const std::string& service : undecided)
                file->SetSitePermission(service, page->host, answer == SiteAnswer::AllowAlways);
            host_.Changed(std::string());
        }
        if (answer != SiteAnswer::Deny)
            allowed.insert(allowed.end(), undecided.begin(), undecided.end());
    }
    if (allowed.empty()) error = any ? Error::AccessDenied : Error::NoLogins;
    return allowed;
}

std::string BrowserProtocol::GetLogins(const Request& r) {
    ardeko::clsPW* file = OpenFile(true);
    if (!file) return Refused(r, Error::DatabaseNotOpened);
    const std::string url = r.Text("url");
    if (url.empty()) return Refused(r, Error::NoUrl);
    const auto keys = r.opened.message.find("keys");
    const std::string connection =
        keys == r.opened.message.end() ? std::string() : KnownConnection(*file, *keys);
    if (connection.empty()) return Refused(r, Error::AssociationFailed);
    Error error = Error::None;
    const std::vector<std::string> services = AllowedEntries(url, error);
    file = OpenFile(false);
    if (services.empty() || !file) return Refused(r, file ? error : Error::DatabaseNotOpened);
    Json entries = Json::array();
    std::size_t bytes = 0;
    for (const std::string& service : services) {
        const T_Password* p = file->Password().Find(service);
        if (!p) continue;
        Json entry = {{"login", p->User},
                      {"name", p->service},
                      {"password", p->pw},
                      {"uuid", Uuid(*p)},
                      {"group", file->CatValue(p->Codcat)},
                      {"stringFields", Json::array()}};
        if (const auto code = p->Totp.empty() ? std::nullopt : host_.CurrentCode(p->Totp))
            entry["totp"] = *code;
        if (Expired(*file, *p)) entry["expired"] = "true";
        // Many logins for one site: as many as one answer can carry.
        bytes += entry.dump(-1, ' ', false, Json::error_handler_t::replace).size() + 1;
        if (SealedAnswerBytes(bytes + 256) > kMaxAnswerBytes) break;
        entries.push_back(std::move(entry));
    }
    const std::size_t count = entries.size();
    return Sealed(r, {{"count", std::to_string(count)},
                      {"entries", std::move(entries)},
                      {"hash", FileHash(*file)},
                      {"id", connection}});
}

std::string BrowserProtocol::GetTotp(const Request& r) {
    ardeko::clsPW* file = OpenFile(r.envelope.triggerUnlock);
    if (!file) return Refused(r, Error::DatabaseNotOpened);
    const T_Password* p = EntryWithUuid(*file, r.Text("uuid"));
    const std::optional<std::string> code =
        p && !p->Totp.empty() ? host_.CurrentCode(p->Totp) : std::nullopt;
    if (!code) return Refused(r, Error::NoValidUuid);
    return Sealed(r, {{"totp", *code}});
}

} // namespace qvs::browser
