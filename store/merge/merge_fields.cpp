// An entry's custom fields in a merge, paired by name: a field one side
// added, changed or deleted comes through on its own, so that two sides
// changing different fields of one entry need no conflict copy.
#include "store/merge/merge_entries.h"

#include <algorithm>
#include <map>
#include <utility>

namespace ardeko::merge {

namespace {

using Fields = std::vector<T_CustomField>;
// A field's name and which of the fields of that name it is (0 the first).
using FieldKey = std::pair<std::string, int>;
using Keys = std::vector<FieldKey>;

Keys KeysOf(const Fields& fields) {
    std::map<std::string, int> seen;
    Keys keys;
    keys.reserve(fields.size());
    for (const T_CustomField& f : fields)
        keys.emplace_back(f.name, seen[f.name]++);
    return keys;
}

std::map<FieldKey, const T_CustomField*> ByKey(const Fields& fields) {
    const Keys keys = KeysOf(fields);
    std::map<FieldKey, const T_CustomField*> out;
    for (std::size_t i = 0; i < fields.size(); ++i)
        out.emplace(keys[i], &fields[i]);
    return out;
}

const T_CustomField* Find(const std::map<FieldKey, const T_CustomField*>& fields,
                          const FieldKey& key) {
    const auto it = fields.find(key);
    return it == fields.end() ? nullptr : it->second;
}

// The keys of seq that in also holds, in seq's order.
template <class Set> Keys Within(const Keys& seq, const Set& in) {
    Keys out;
    for (const FieldKey& k : seq)
        if (in.contains(k)) out.push_back(k);
    return out;
}

// Whether side put the fields it shares with base in another order.
bool Reordered(const Fields* base, const Fields& side) {
    if (!base) return false;
    const auto baseFields = ByKey(*base), sideFields = ByKey(side);
    return Within(KeysOf(side), baseFields) != Within(KeysOf(*base), sideFields);
}

// One field's three versions (nullptr: absent); false for a clash.
bool MergeOne(const T_CustomField* b, const T_CustomField* m, const T_CustomField* t,
              const T_CustomField*& out) {
    if (m && t) {
        if (*m == *t || (b && *b == *t))
            out = m;
        else if (b && *b == *m)
            out = t;
        else
            return false;
        return true;
    }
    const T_CustomField* one = m ? m : t;
    // Deleted on one side: gone when the other left it as it was.
    out = one && !(b && *b == *one) ? one : nullptr;
    return true;
}

// primary's order, with the keys only secondary has after the key they
// follow there.
Keys Interleave(Keys primary, const Keys& secondary) {
    std::size_t at = 0;
    for (const FieldKey& k : secondary) {
        const auto found = std::find(primary.begin(), primary.end(), k);
        if (found != primary.end()) {
            at = static_cast<std::size_t>(found - primary.begin()) + 1;
            continue;
        }
        primary.insert(primary.begin() + static_cast<std::ptrdiff_t>(at), k);
        ++at;
    }
    return primary;
}

} // namespace

std::optional<Fields> MergeCustomFields(const Fields* base, const Fields& mine,
                                        const Fields& theirs) {
    const auto b = base ? ByKey(*base) : std::map<FieldKey, const T_CustomField*>{};
    const auto m = ByKey(mine), t = ByKey(theirs);
    std::map<FieldKey, const T_CustomField*> out;
    for (const auto* side : {&m, &t})
        for (const auto& [key, unused] : *side) {
            if (out.contains(key)) continue;
            const T_CustomField* merged = nullptr;
            if (!MergeOne(Find(b, key), Find(m, key), Find(t, key), merged)) return std::nullopt;
            if (merged) out.emplace(key, merged);
        }
    const Keys mineOrder = Within(KeysOf(mine), out), theirsOrder = Within(KeysOf(theirs), out);
    const bool mineReordered = Reordered(base, mine), theirsReordered = Reordered(base, theirs);
    const bool minePrimary =
        mineReordered != theirsReordered ? mineReordered : mineOrder <= theirsOrder;
    const Keys order =
        minePrimary ? Interleave(mineOrder, theirsOrder) : Interleave(theirsOrder, mineOrder);
    Fields result;
    result.reserve(order.size());
    for (const FieldKey& k : order)
        result.push_back(*out.at(k));
    return result;
}

} // namespace ardeko::merge
