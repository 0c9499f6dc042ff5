#include "cli/store_json.h"

#include "cli/json_records.h"
#include "store/pw.h"

#include <QJsonArray>
#include <QStringList>

#include <map>

namespace qvs {

namespace {

using Error = std::optional<std::string>;
template <class R> using Inserter = bool (ardeko::clsPW::*)(const R&);

// The field that names a record in messages.
template <class R> constexpr const char* kNameField = nullptr;
template <> constexpr const char* kNameField<ardeko::T_Categ> = "DescrCat";
template <> constexpr const char* kNameField<ardeko::T_SCateg> = "DescrSCat";
template <> constexpr const char* kNameField<ardeko::T_Password> = "service";
template <> constexpr const char* kNameField<ardeko::T_Node> = "DescrCat";

template <class R> std::string RecordLabel(const char* section, qsizetype i, const QJsonValue& v) {
    std::string label = std::string(section) + "[" + std::to_string(i) + "]";
    const QJsonValue name = v.toObject().value(QLatin1String(kNameField<R>));
    if (name.isString()) label += " \"" + name.toString().toStdString() + "\"";
    return label;
}

template <class R>
Error FillSection(const QJsonObject& doc, const char* section, ardeko::clsPW& store,
                  Inserter<R> insert) {
    const QJsonValue v = doc.value(QLatin1String(section));
    if (v.isUndefined()) return std::nullopt;
    if (!v.isArray()) return "\"" + std::string(section) + "\" must be an array of records";
    const QJsonArray records = v.toArray();
    for (qsizetype i = 0; i < records.size(); ++i) {
        const std::string label = RecordLabel<R>(section, i, records[i]);
        if (!records[i].isObject()) return label + ": expected an object";
        R r;
        if (Error err = RecordFromJson(records[i].toObject(), r)) return label + ": " + *err;
        // Node states do not say why they were refused; a duplicate is the one reason.
        if (!(store.*insert)(r))
            return label + ": " + (store.ErrDescr().empty() ? "duplicate name" : store.ErrDescr());
    }
    return std::nullopt;
}

// Two records with one identifier would be taken for one by a merge: two
// entries, two categories, or two subcategories of one category.
template <class R, class Scope>
Error CheckIds(const ardeko::KeyedCollection<R>& records, const char* what, Scope scope) {
    std::map<std::string, const std::string*> seen; // scope and identifier -> name
    for (const R& r : records) {
        if (r.Id.empty()) continue;
        const auto [it, added] = seen.emplace(scope(r) + '\n' + r.Id, &RecordName(r));
        if (!added)
            return std::string(what) + " \"" + *it->second + "\" and \"" + RecordName(r) +
                   "\" have the same \"Id\"";
    }
    return std::nullopt;
}

Error CheckIdentifiers(const ardeko::clsPW& store) {
    auto whole = [](const auto&) { return std::string(); };
    if (Error err = CheckIds(store.Password(), "entries", whole)) return err;
    if (Error err = CheckIds(store.Category(), "categories", whole)) return err;
    return CheckIds(store.SubCategory(), "subcategories of one category",
                    [](const ardeko::T_SCateg& s) { return std::to_string(s.Codcat); });
}

Error CheckTopLevelKeys(const QJsonObject& doc) {
    static const QStringList known = {"version",     "seed",     "encrypted", "Category",
                                      "SubCategory", "Password", "NodeStates"};
    for (const QString& key : doc.keys())
        if (!known.contains(key)) return "unknown top-level key \"" + key.toStdString() + "\"";
    return std::nullopt;
}

} // namespace

Error FillStoreFromJson(const QJsonObject& doc, ardeko::clsPW& store) {
    using ardeko::clsPW;
    if (Error err = CheckTopLevelKeys(doc)) return err;
    if (Error err = FillSection(doc, "Category", store, &clsPW::InsertCategory)) return err;
    if (Error err = FillSection(doc, "SubCategory", store, &clsPW::InsertSubCategory)) return err;
    if (Error err = FillSection(doc, "Password", store, &clsPW::InsertPassword)) return err;
    if (Error err = CheckIdentifiers(store)) return err;
    return FillSection(doc, "NodeStates", store, &clsPW::AppendNode);
}

} // namespace qvs
