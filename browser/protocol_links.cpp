// The file's name for the extension and the connections: associate,
// test-associate, get-databasehash.
#include "browser/browser_protocol.h"

namespace qvs::browser {

namespace {

bool IsFormat2(const ardeko::clsPW& file) {
    return file.Format() == ardeko::FileFormat::Two;
}

std::vector<std::string> NamesInUse(const ardeko::clsPW& file) {
    std::vector<std::string> names;
    for (const ardeko::T_BrowserLink& link : file.BrowserLinks())
        names.push_back(link.name);
    return names;
}

} // namespace

std::string BrowserProtocol::DatabaseHash(const Request& r) {
    ardeko::clsPW* file = OpenFile(r.envelope.triggerUnlock);
    if (!file) return Refused(r, Error::DatabaseNotOpened);
    return Sealed(r, {{"action", "hash"}, {"hash", FileHash(*file)}});
}

std::string BrowserProtocol::Associate(const Request& r) {
    ardeko::clsPW* file = OpenFile(r.envelope.triggerUnlock);
    if (!file) return Refused(r, Error::DatabaseNotOpened);
    // The key must be the session's own: a connection is made by the
    // browser that holds it, not named for another.
    const auto key = FixedFromBase64<kBoxKeyBytes>(r.Text("key"));
    const std::string idKey = r.Text("idKey");
    if (!key || *key != r.opened.clientKey || !FixedFromBase64<kBoxKeyBytes>(idKey))
        return Refused(r, Error::AssociationFailed);
    if (!IsFormat2(*file)) {
        questions_.OfferFormat2();
        return Refused(r, Error::AssociationFailed);
    }
    const std::optional<std::string> name = questions_.NameConnection(NamesInUse(*file));
    if (!name) return Refused(r, Error::Cancelled);
    file = OpenFile(false);
    if (!file || !IsFormat2(*file) || !sessions_.Has(r.connection, r.envelope.clientId))
        return Refused(r, Error::AssociationFailed);
    if (!file->AddBrowserLink(*name, idKey)) return Refused(r, Error::AssociationFailed);
    host_.Changed(std::string());
    return Sealed(r, {{"hash", FileHash(*file)}, {"id", *name}});
}

std::string BrowserProtocol::TestAssociate(const Request& r) {
    ardeko::clsPW* file = OpenFile(r.envelope.triggerUnlock);
    if (!file) return Refused(r, Error::DatabaseNotOpened);
    const std::string id = r.Text("id");
    const std::string key = r.Text("key");
    if (!file->FindBrowserLink(id, key)) return Refused(r, Error::AssociationFailed);
    file->TouchBrowserLink(id, key);
    return Sealed(r, {{"hash", FileHash(*file)}, {"id", id}});
}

std::string BrowserProtocol::KnownConnection(ardeko::clsPW& file, const Json& keys) {
    if (!keys.is_array()) return {};
    for (const Json& k : keys) {
        if (!k.is_object()) continue;
        const auto id = k.find("id");
        const auto key = k.find("key");
        if (id == k.end() || key == k.end() || !id->is_string() || !key->is_string()) continue;
        if (!file.FindBrowserLink(id->get<std::string>(), key->get<std::string>())) continue;
        file.TouchBrowserLink(id->get<std::string>(), key->get<std::string>());
        return id->get<std::string>();
    }
    return {};
}

} // namespace qvs::browser
