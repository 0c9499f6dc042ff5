// Bitwarden's unencrypted JSON export: folders and collections, then items
// of five kinds (login, secure note, card, identity, SSH key). Card,
// identity, key and custom fields become the entry's fields; what the store
// has no place for goes to its extras, so the notes keep it; passkeys and
// collection membership cannot be imported and are listed as such.
#include "store/import/foreign_formats.h"

#include <nlohmann/json.hpp>

#include <tuple>
#include <unordered_map>

namespace ardeko {

namespace {

using nlohmann::json;

// A value of the wrong type, named by its path in the file.
struct ShapeError {
    std::string path;
};

const json* Member(const json& object, const char* key) {
    const auto it = object.find(key);
    return it == object.end() || it->is_null() ? nullptr : &*it;
}

std::string Text(const json& object, const char* key, const std::string& path) {
    const json* v = Member(object, key);
    if (!v) return {};
    if (v->is_string()) return v->get<std::string>();
    if (v->is_number() || v->is_boolean()) return v->dump();
    throw ShapeError{path + "." + key};
}

const json& List(const json& object, const char* key, const std::string& path) {
    static const json empty = json::array();
    const json* v = Member(object, key);
    if (!v) return empty;
    if (!v->is_array()) throw ShapeError{path + "." + key};
    return *v;
}

const json* Object(const json& object, const char* key, const std::string& path) {
    const json* v = Member(object, key);
    if (v && !v->is_object()) throw ShapeError{path + "." + key};
    return v;
}

void ReadLogin(const json& login, const std::string& path, ForeignEntry& e) {
    e.user = Text(login, "username", path);
    e.password = Text(login, "password", path);
    if (auto totp = Text(login, "totp", path); !totp.empty()) e.extras.emplace_back("TOTP", totp);
    const json& passkeys = List(login, "fido2Credentials", path);
    for (std::size_t i = 0; i < passkeys.size(); ++i) {
        const std::string site =
            Text(passkeys[i], "rpId", path + ".fido2Credentials[" + std::to_string(i) + "]");
        e.notImported.push_back({DroppedValue::Kind::Passkey, site});
    }
    const json& uris = List(login, "uris", path);
    for (std::size_t i = 0; i < uris.size(); ++i) {
        const std::string uri = Text(uris[i], "uri", path + ".uris[" + std::to_string(i) + "]");
        if (e.url.empty())
            e.url = uri;
        else if (!uri.empty())
            e.extras.emplace_back("URL", uri);
    }
}

// Card and identity members that are secrets, beside those whose names say so.
bool SecretMember(const std::string& key) {
    for (const char* secret : {"number", "code", "ssn", "passportNumber", "licenseNumber"})
        if (key == secret) return true;
    return LooksSecret(key);
}

// Every text member of a card or identity, as a field under its own name.
void ReadAllTexts(const json& object, const std::string& path, ForeignEntry& e) {
    for (const auto& [key, value] : object.items()) {
        std::string text = Text(object, key.c_str(), path);
        if (text.empty()) continue;
        if (key == "email" && e.email.empty())
            e.email = text;
        else
            e.fields.push_back({key, std::move(text), SecretMember(key)});
    }
}

// An SSH key: the private key is a secret, the public key and fingerprint
// are not.
void ReadSshKey(const json& key, const std::string& path, ForeignEntry& e) {
    for (const auto& [member, caption, secret] :
         {std::tuple{"privateKey", "Private key", true},
          std::tuple{"publicKey", "Public key", false},
          std::tuple{"keyFingerprint", "Fingerprint", false}})
        if (std::string text = Text(key, member, path); !text.empty())
            e.fields.push_back({caption, std::move(text), secret});
}

void ReadFields(const json& item, const std::string& path, ForeignEntry& e) {
    const json& fields = List(item, "fields", path);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string at = path + ".fields[" + std::to_string(i) + "]";
        std::string name = Text(fields[i], "name", at);
        const json* type = Member(fields[i], "type");
        const bool hidden = type && type->is_number() && type->get<int>() == 1;
        const bool secret = hidden || LooksSecret(name);
        e.fields.push_back({std::move(name), Text(fields[i], "value", at), secret});
    }
    const json& attachments = List(item, "attachments", path);
    for (std::size_t i = 0; i < attachments.size(); ++i)
        e.extras.emplace_back("Attachment", Text(attachments[i], "fileName",
                                                 path + ".attachments[" + std::to_string(i) + "]"));
    const json& history = List(item, "passwordHistory", path);
    for (std::size_t i = 0; i < history.size(); ++i)
        e.extras.emplace_back(
            "Earlier password",
            Text(history[i], "password", path + ".passwordHistory[" + std::to_string(i) + "]"));
}

using Names = std::unordered_map<std::string, std::string>; // by id

// The collections an item belongs to, which the store has no place for.
void ReadCollections(const json& item, const std::string& path, const Names& collections,
                     ForeignEntry& e) {
    const json& ids = List(item, "collectionIds", path);
    for (const json& id : ids) {
        const auto it =
            id.is_string() ? collections.find(id.get<std::string>()) : collections.end();
        e.notImported.push_back(
            {DroppedValue::Kind::Collection, it == collections.end() ? "" : it->second});
    }
}

ForeignEntry ReadItem(const json& item, const std::string& path, const Names& folders,
                      const Names& collections) {
    if (!item.is_object()) throw ShapeError{path};
    ForeignEntry e;
    e.title = Text(item, "name", path);
    e.notes = Text(item, "notes", path);
    const json* favourite = Member(item, "favorite");
    e.favourite = favourite && favourite->is_boolean() && favourite->get<bool>();
    if (const auto it = folders.find(Text(item, "folderId", path)); it != folders.end())
        e.groups = SplitPath(it->second, '/');
    if (const json* login = Object(item, "login", path)) ReadLogin(*login, path + ".login", e);
    for (const char* kind : {"card", "identity"})
        if (const json* o = Object(item, kind, path)) ReadAllTexts(*o, path + "." + kind, e);
    if (const json* key = Object(item, "sshKey", path)) ReadSshKey(*key, path + ".sshKey", e);
    ReadFields(item, path, e);
    ReadCollections(item, path, collections, e);
    e.created = ParseIsoDate(Text(item, "creationDate", path));
    e.modified = ParseIsoDate(Text(item, "revisionDate", path));
    return e;
}

// Folders or collections: each one's name by its id.
Names NamesOf(const json& doc, const char* list) {
    Names names;
    const json& items = List(doc, list, "");
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string at = std::string(list) + "[" + std::to_string(i) + "]";
        names.emplace(Text(items[i], "id", at), Text(items[i], "name", at));
    }
    return names;
}

// Line and column of a byte offset, lines ending in LF, CR LF or CR.
std::pair<std::size_t, std::size_t> Position(std::string_view text, std::size_t offset) {
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        const bool end = text[i] == '\n' || (text[i] == '\r' && text.substr(i + 1, 1) != "\n");
        line += end ? 1 : 0;
        column = end ? 1 : column + 1;
    }
    return {line, column};
}

void ReadExport(const json& doc, ForeignData& data) {
    if (!doc.is_object() || !doc.contains("items"))
        throw ShapeError{"items"}; // the list every export has
    const Names folders = NamesOf(doc, "folders"), collections = NamesOf(doc, "collections");
    const json& items = List(doc, "items", "");
    for (std::size_t i = 0; i < items.size(); ++i)
        data.entries.push_back(
            ReadItem(items[i], "items[" + std::to_string(i) + "]", folders, collections));
}

} // namespace

std::optional<ImportProblem> ReadBitwardenJson(std::string_view text, ForeignData& data) {
    data.format = ForeignFormat::BitwardenJson;
    json doc;
    try {
        doc = json::parse(text);
    } catch (const json::parse_error& e) {
        // Only where: the library's own text quotes what it read last,
        // which may be a password.
        const auto [line, column] = Position(text, e.byte ? e.byte - 1 : 0);
        return ImportProblem{ImportMsg::NotJson, line, {std::to_string(column)}};
    }
    if (doc.is_object()) {
        const json* encrypted = Member(doc, "encrypted");
        if (encrypted && encrypted->is_boolean() && encrypted->get<bool>())
            return ImportProblem{ImportMsg::JsonEncrypted, 0, {}};
    }
    try {
        ReadExport(doc, data);
    } catch (const ShapeError& e) {
        return ImportProblem{ImportMsg::NotBitwarden, 0, {e.path}};
    } catch (const json::exception&) {
        return ImportProblem{ImportMsg::JsonUnreadable, 0, {}};
    }
    return std::nullopt;
}

} // namespace ardeko
