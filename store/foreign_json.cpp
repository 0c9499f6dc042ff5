// Bitwarden's unencrypted JSON export: folders, then items of four kinds
// (login, secure note, card, identity). What the store has no field for goes
// to the entry's extras, so the notes keep it.
#include "store/foreign_formats.h"

#include <nlohmann/json.hpp>

#include <unordered_map>

namespace ardeko {

namespace {

using nlohmann::json;

// A value of the wrong type, named by its path in the file.
struct ShapeError {
    std::string path, expected;
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
    throw ShapeError{path + "." + key, "a text"};
}

const json& List(const json& object, const char* key, const std::string& path) {
    static const json empty = json::array();
    const json* v = Member(object, key);
    if (!v) return empty;
    if (!v->is_array()) throw ShapeError{path + "." + key, "a list"};
    return *v;
}

const json* Object(const json& object, const char* key, const std::string& path) {
    const json* v = Member(object, key);
    if (v && !v->is_object()) throw ShapeError{path + "." + key, "an object"};
    return v;
}

void ReadLogin(const json& login, const std::string& path, ForeignEntry& e) {
    e.user = Text(login, "username", path);
    e.password = Text(login, "password", path);
    if (auto totp = Text(login, "totp", path); !totp.empty()) e.extras.emplace_back("TOTP", totp);
    const json& uris = List(login, "uris", path);
    for (std::size_t i = 0; i < uris.size(); ++i) {
        const std::string uri = Text(uris[i], "uri", path + ".uris[" + std::to_string(i) + "]");
        if (e.url.empty())
            e.url = uri;
        else if (!uri.empty())
            e.extras.emplace_back("URL", uri);
    }
}

// Every text member of a card or identity, under its own name.
void ReadAllTexts(const json& object, const std::string& path, ForeignEntry& e) {
    for (const auto& [key, value] : object.items()) {
        const std::string text = Text(object, key.c_str(), path);
        if (text.empty()) continue;
        if (key == "email" && e.email.empty())
            e.email = text;
        else
            e.extras.emplace_back(key, text);
    }
}

void ReadFields(const json& item, const std::string& path, ForeignEntry& e) {
    const json& fields = List(item, "fields", path);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string at = path + ".fields[" + std::to_string(i) + "]";
        e.extras.emplace_back(Text(fields[i], "name", at), Text(fields[i], "value", at));
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

ForeignEntry ReadItem(const json& item, const std::string& path,
                      const std::unordered_map<std::string, std::string>& folders) {
    if (!item.is_object()) throw ShapeError{path, "an object"};
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
    ReadFields(item, path, e);
    e.created = ParseIsoDate(Text(item, "creationDate", path));
    e.modified = ParseIsoDate(Text(item, "revisionDate", path));
    return e;
}

void ReadExport(const json& doc, ForeignData& data) {
    if (!doc.is_object() || !doc.contains("items"))
        throw ShapeError{"the top level", "an object with a list \"items\""};
    std::unordered_map<std::string, std::string> folders;
    const json& folderList = List(doc, "folders", "");
    for (std::size_t i = 0; i < folderList.size(); ++i) {
        const std::string at = "folders[" + std::to_string(i) + "]";
        folders.emplace(Text(folderList[i], "id", at), Text(folderList[i], "name", at));
    }
    const json& items = List(doc, "items", "");
    for (std::size_t i = 0; i < items.size(); ++i)
        data.entries.push_back(ReadItem(items[i], "items[" + std::to_string(i) + "]", folders));
}

} // namespace

std::optional<std::string> ReadBitwardenJson(std::string_view text, ForeignData& data) {
    data.format = ForeignFormat::BitwardenJson;
    json doc;
    try {
        doc = json::parse(text);
    } catch (const json::parse_error& e) {
        // The library's text names the line and column.
        return std::string("The file is not valid JSON: ") + e.what();
    }
    if (doc.is_object()) {
        const json* encrypted = Member(doc, "encrypted");
        if (encrypted && encrypted->is_boolean() && encrypted->get<bool>())
            return "The JSON export is encrypted; export it again unencrypted to import it.";
    }
    try {
        ReadExport(doc, data);
    } catch (const ShapeError& e) {
        return "The JSON is not a Bitwarden export: " + e.path + " should be " + e.expected + ".";
    } catch (const json::exception& e) {
        return std::string("The JSON could not be read: ") + e.what();
    }
    return std::nullopt;
}

} // namespace ardeko
