// The parts of a merge: each version seen by key (codes are handed out per
// machine, so identifiers or names pair categories and subcategories), the
// field-wise comparison of entries, and the rules for entries and for the
// small keyed records (categories, subcategories, tree nodes).
#pragma once

#include "store/merge/merge.h"
#include "store/pw.h"

#include <bitset>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace ardeko::merge {

// A category or subcategory name with its comparison key: its identifier
// when every version's categories have one, else its folded name. id is its
// identifier ("" none), which the result keeps.
struct Named {
    std::string name;
    std::string key;
    std::string id = {};
};

// A subcategory's key in a merge: its category's key and its own.
std::string SubKey(const std::string& catKey, const std::string& subKey);

// An entry of one version with where it is filed (nullptr: none).
struct EntryView {
    const T_Password* rec = nullptr;
    const Named* cat = nullptr;
    const Named* sub = nullptr;
};

// One version of the file, looked at by name and by entry key.
class Version {
public:
    // placesById: categories and subcategories pair by identifier.
    Version(const clsPW& store, const MergeIdentity& identity, bool placesById);
    Version(const Version&) = delete;
    Version& operator=(const Version&) = delete;

    const EntryView* Find(const std::string& key) const;
    // Entries whose keys other does not know, paired by name with entries of
    // other whose keys this version does not know: one entry given
    // identifiers apart (added under one name on two machines, pasted back
    // after a cut). Takes other's keys for them. The same for categories
    // (one created on two machines) and, within a category, subcategories.
    void PairLeftoversByName(const Version& other);

    const clsPW& store;
    std::unordered_map<std::int16_t, Named> cats; // by code
    struct Sub {
        Named named;
        std::int16_t cat = 0;
    };
    std::unordered_map<std::int16_t, Sub> subs; // by code; those of a category that exists
    std::unordered_map<std::string, EntryView> entries;

private:
    void PairPlacesByName(const Version& other);
};

// The result's entries, filed by name; the codes are given afterwards.
struct OutEntry {
    T_Password rec;
    const Named* cat = nullptr;
    const Named* sub = nullptr;
};

struct MergedEntries {
    std::vector<OutEntry> kept;
    std::vector<OutEntry> copies; // conflicts' other versions, already renamed
};

// Fields of T_Password in declaration order, then the one-time code and the
// custom fields (compared as one field, merged by name: MergeCustomFields).
// The category and subcategory codes count as one field, the entry's place,
// compared by keys. The earlier passwords are not a field: they are united.
inline constexpr std::size_t kFieldCount = 41;
inline constexpr std::size_t kPlaceField = 1; // Codcat
inline constexpr std::size_t kSubField = 2;   // CodSCat, part of the place
inline constexpr std::size_t kModifiedField = 10;
inline constexpr std::size_t kCustomFieldsField = 40;
using FieldMask = std::bitset<kFieldCount>;
FieldMask Diff(const EntryView& a, const EntryView& b);
// Copies field index of from into to (not the place: codes differ by version).
void CopyField(T_Password& to, const T_Password& from, std::size_t index);
// The member's name of field index ("service", "User", "pw", …, "Totp").
std::string FieldName(std::size_t index);

// The site permissions of two versions of an entry, by host: a site denied
// on either side stays denied.
std::vector<T_SitePermission> MergeSites(const std::vector<T_SitePermission>& mine,
                                         const std::vector<T_SitePermission>& theirs);
// Earlier passwords of both sides, without those one side removed from the
// base's; newest first, cut to limit but never below what either side kept.
std::vector<T_PwHistory> MergeHistory(const std::vector<T_PwHistory>* base,
                                      const std::vector<T_PwHistory>& mine,
                                      const std::vector<T_PwHistory>& theirs, std::size_t limit);

// An entry's custom fields merged by name (the n-th field of a name pairs
// with the n-th of that name): what one side added, changed or deleted
// (against base; without one, what either side has) is taken. None when a
// field was changed differently on both sides, or added on both with
// different values. In the order of the side that reordered the fields
// (else of the first in name order), the other side's additions after the
// field they follow there: the same whichever side is which.
std::optional<std::vector<T_CustomField>>
MergeCustomFields(const std::vector<T_CustomField>* base, const std::vector<T_CustomField>& mine,
                  const std::vector<T_CustomField>& theirs);

MergedEntries MergeEntries(const Version* base, const Version& mine, const Version& theirs,
                           const MergeIdentity& identity, MergeSummary& summary);

// Categories, subcategories and nodes: a record on one side only is added,
// or deleted when the other side still has it as it was; changed on both
// sides, pick(mine, theirs, base or nullptr) chooses (the same whichever
// side is which).
template <class R, class Pick>
std::map<std::string, R> MergeKeyed(const std::map<std::string, R>* base,
                                    const std::map<std::string, R>& mine,
                                    const std::map<std::string, R>& theirs, Pick pick) {
    auto inBase = [&](const std::string& key) -> const R* {
        if (!base) return nullptr;
        const auto it = base->find(key);
        return it == base->end() ? nullptr : &it->second;
    };
    std::map<std::string, R> out;
    auto alone = [&](const std::string& key, const R& r) {
        const R* b = inBase(key);
        if (!b || !(*b == r)) out.emplace(key, r); // added, or changed where the other deleted
    };
    for (const auto& [key, m] : mine) {
        const auto t = theirs.find(key);
        if (t == theirs.end()) {
            alone(key, m);
            continue;
        }
        const R* b = inBase(key);
        if (m == t->second || (b && *b == t->second))
            out.emplace(key, m);
        else if (b && *b == m)
            out.emplace(key, t->second);
        else
            out.emplace(key, pick(m, t->second, b));
    }
    for (const auto& [key, t] : theirs)
        if (!mine.contains(key)) alone(key, t);
    return out;
}

} // namespace ardeko::merge
