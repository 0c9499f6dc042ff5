// What the browser writes into the file: set-login, and the groups it files
// logins in (categories, their subcategories the children).
#include "browser/browser_protocol.h"

#include "store/site_match.h"

#include <algorithm>

namespace qvs::browser {

namespace {

using ardeko::clsPW;
using ardeko::T_Password;

// Where logins saved from the browser go when it names no group.
constexpr const char* kBrowserCategory = "Browser";

bool ConnectionInUse(const clsPW& file, const std::string& name) {
    const std::vector<ardeko::T_BrowserLink> links = file.BrowserLinks();
    return !name.empty() &&
           std::any_of(links.begin(), links.end(), [&](const auto& l) { return l.name == name; });
}

// The site's host, then with the login, then numbered: the first name free.
std::string NewServiceName(const clsPW& file, const std::string& url, const std::string& login) {
    const auto page = ardeko::ParsePageAddress(url);
    const std::string base = page ? page->host : url;
    std::vector<std::string> tries{base};
    if (!login.empty()) tries.push_back(base + " (" + login + ")");
    for (const std::string& name : tries)
        if (!file.Password().Contains(name)) return name;
    for (int n = 2;; ++n) {
        std::string name = base + " (" + std::to_string(n) + ")";
        if (!file.Password().Contains(name)) return name;
    }
}

const ardeko::T_Categ* CategoryNamed(const clsPW& file, const std::string& name) {
    return file.Category().Find(name);
}

// The category (and subcategory) an identifier names; false when none does.
bool PlaceWithId(const clsPW& file, const std::string& id, T_Password& into) {
    if (id.empty()) return false;
    for (const ardeko::T_Categ& c : file.Category())
        if (c.Id == id) {
            into.Codcat = c.Codcat;
            into.CodSCat = 0;
            return true;
        }
    for (const ardeko::T_SCateg& s : file.SubCategory())
        if (s.Id == id) {
            into.Codcat = s.Codcat;
            into.CodSCat = s.CodSCat;
            return true;
        }
    return false;
}

// The category "Browser", made when missing; false when it cannot be.
bool BrowserPlace(clsPW& file, T_Password& into) {
    if (!CategoryNamed(file, kBrowserCategory) && !file.CatAdd(kBrowserCategory)) return false;
    into.Codcat = CategoryNamed(file, kBrowserCategory)->Codcat;
    into.CodSCat = 0;
    return true;
}

Json GroupOf(const std::string& name, const std::string& uuid, Json children = Json::array()) {
    return {{"name", name}, {"uuid", uuid}, {"children", std::move(children)}};
}

} // namespace

std::string BrowserProtocol::SetLogin(const Request& r) {
    ardeko::clsPW* file = OpenFile(true);
    if (!file) return Refused(r, Error::DatabaseNotOpened);
    const std::string url = r.Text("url");
    if (url.empty()) return Refused(r, Error::NoUrl);
    if (!ConnectionInUse(*file, r.Text("id"))) return Refused(r, Error::AssociationFailed);
    const std::string uuid = r.Text("uuid");
    const std::string login = r.Text("login");
    std::string service;
    if (!uuid.empty()) {
        const T_Password* p = EntryWithUuid(*file, uuid);
        if (!p) return Refused(r, Error::NoValidUuid);
        service = p->service;
    }
    if (!questions_.ConfirmSave(url, login, service)) return Refused(r, Error::Cancelled);
    file = OpenFile(false);
    if (!file) return Refused(r, Error::DatabaseNotOpened);
    T_Password entry;
    if (!uuid.empty()) {
        const T_Password* p = EntryWithUuid(*file, uuid);
        if (!p) return Refused(r, Error::NoValidUuid);
        entry = *p;
        service = p->service;
    } else {
        service = NewServiceName(*file, url, login);
        entry.service = service;
        entry.URL_Access = url;
        entry.Dt_Insert = file->Now();
        if (!PlaceWithId(*file, r.Text("groupUuid"), entry) && !BrowserPlace(*file, entry))
            return Refused(r, Error::CannotCreateGroup);
    }
    entry.User = login;
    entry.pw = r.Text("password");
    entry.Dt_Modif = file->Now();
    // An update keeps the password it replaces in the entry's history.
    const bool saved = uuid.empty() ? file->PWAdd(entry) : file->PWEdit(entry, service);
    std::fill(entry.pw.begin(), entry.pw.end(), '\0');
    if (!saved) return Refused(r, Error::IncorrectAction);
    host_.Changed(service);
    return Sealed(
        r, {{"count", nullptr}, {"entries", nullptr}, {"error", ""}, {"hash", FileHash(*file)}});
}

std::string BrowserProtocol::GetGroups(const Request& r) {
    ardeko::clsPW* file = OpenFile(r.envelope.triggerUnlock);
    if (!file) return Refused(r, Error::DatabaseNotOpened);
    Json categories = Json::array();
    for (const ardeko::T_Categ& c : file->Category()) {
        Json subs = Json::array();
        for (const ardeko::T_SCateg& s : file->SubCategory())
            if (s.Codcat == c.Codcat) subs.push_back(GroupOf(s.DescrSCat, s.Id));
        categories.push_back(GroupOf(c.DescrCat, c.Id, std::move(subs)));
    }
    const std::string root = file->RootName().value_or(file->Filename());
    return Sealed(
        r, {{"groups", Json::array({GroupOf(root, file->EnsureFileId(), std::move(categories))})}});
}

std::string BrowserProtocol::CreateGroup(const Request& r) {
    ardeko::clsPW* file = OpenFile(r.envelope.triggerUnlock);
    if (!file) return Refused(r, Error::DatabaseNotOpened);
    const std::string path = r.Text("groupName");
    const std::size_t slash = path.find('/');
    const std::string category = path.substr(0, slash);
    const std::string sub = slash == std::string::npos ? std::string() : path.substr(slash + 1);
    // Two levels: categories and their subcategories.
    if (category.empty() ||
        (slash != std::string::npos && (sub.empty() || sub.find('/') != std::string::npos)))
        return Refused(r, Error::CannotCreateGroup);
    bool changed = false;
    if (!CategoryNamed(*file, category)) {
        if (!file->CatAdd(category)) return Refused(r, Error::CannotCreateGroup);
        changed = true;
    }
    const ardeko::T_Categ* c = CategoryNamed(*file, category);
    const ardeko::T_SCateg* s = nullptr;
    if (!sub.empty()) {
        const std::string key = ardeko::SubCategoryKey(c->Codcat, sub);
        if (!file->SubCategory().Find(key)) {
            if (!file->SubCatAdd(c->Codcat, sub)) return Refused(r, Error::CannotCreateGroup);
            changed = true;
        }
        s = file->SubCategory().Find(key);
        c = CategoryNamed(*file, category);
    }
    if (changed) host_.Changed(std::string());
    return Sealed(r, {{"name", s ? s->DescrSCat : c->DescrCat}, {"uuid", s ? s->Id : c->Id}});
}

} // namespace qvs::browser
