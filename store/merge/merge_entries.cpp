// Entries of a merge: paired by MergeIdentity, compared field by field
// against the base, and kept, combined or set side by side as a conflict.
#include "store/merge/merge_entries.h"

#include "store/codepage.h"
#include "store/entry_id.h"
#include "store/vbdate.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <unordered_set>
#include <variant>

namespace ardeko {

std::string MergeIdentity::EntryKey(const clsPW&, const T_Password& entry) const {
    return FoldKey(entry.service);
}

std::optional<VbDate> MergeIdentity::DeletedAt(const clsPW&, const std::string&) const {
    return std::nullopt;
}

std::string ConflictName(const std::string& service, VbDate modified) {
    const VbDateTime t = VbDateToParts(modified);
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
    return service + " (conflict " + date + ")";
}

std::string PlaceLabel(const std::string& category, const std::string& sub) {
    return sub.empty() ? category : category + " / " + sub;
}

namespace merge {

namespace {

template <class R, class V> void VisitMergeFields(R& r, V&& v) {
    VisitFields(r, v);
    v("Totp", r.Totp);
    v("Fields", r.Fields); // the custom fields, compared as one field
}

using CustomFields = std::vector<T_CustomField>;
using FieldRef = std::variant<const std::string*, const std::int16_t*, const bool*, const VbDate*,
                              const CustomFields*>;
using FieldSlot = std::variant<std::string*, std::int16_t*, bool*, VbDate*, CustomFields*>;

std::array<FieldRef, kFieldCount> Refs(const T_Password& r) {
    std::array<FieldRef, kFieldCount> refs;
    std::size_t i = 0;
    VisitMergeFields(r, [&](const char*, const auto& field) { refs[i++] = &field; });
    return refs;
}

// -1, 0, 1 as a < b, equal, a > b; both hold the same field.
int CompareField(const FieldRef& a, const FieldRef& b) {
    return std::visit(
        [&](const auto* x) {
            using T = std::remove_cvref_t<decltype(*x)>;
            const T& y = *std::get<const T*>(b);
            return *x < y ? -1 : (y < *x ? 1 : 0);
        },
        a);
}

const std::string& KeyOf(const Named* n) {
    static const std::string none;
    return n ? n->key : none;
}

// Which of two versions changed on both sides prevails: the later change;
// at the same moment, the greater content, so that the choice does not
// depend on which side is which.
bool FirstPrevails(const EntryView& a, const EntryView& b) {
    if (a.rec->Dt_Modif != b.rec->Dt_Modif) return a.rec->Dt_Modif > b.rec->Dt_Modif;
    const auto ra = Refs(*a.rec), rb = Refs(*b.rec);
    for (std::size_t i = 0; i < kFieldCount; ++i)
        if (const int c = CompareField(ra[i], rb[i])) return c > 0;
    if (KeyOf(a.cat) != KeyOf(b.cat)) return KeyOf(a.cat) > KeyOf(b.cat);
    return KeyOf(a.sub) >= KeyOf(b.sub);
}

// The same version: most entries, so the common case (both versions number
// the tree alike) is one record comparison.
bool Same(const EntryView& a, const EntryView& b) {
    if (KeyOf(a.cat) != KeyOf(b.cat) || KeyOf(a.sub) != KeyOf(b.sub)) return false;
    // Paired by name, an entry may carry another identifier on each side.
    if (a.rec->Codcat == b.rec->Codcat && a.rec->CodSCat == b.rec->CodSCat &&
        a.rec->Id == b.rec->Id)
        return *a.rec == *b.rec;
    return Diff(a, b).none() && a.rec->History == b.rec->History;
}

OutEntry Copy(const EntryView& v) {
    return {*v.rec, v.cat, v.sub};
}

class EntryMerger {
public:
    EntryMerger(const Version* base, const Version& mine, const Version& theirs,
                const MergeIdentity& identity, MergeSummary& summary)
        : base_(base), mine_(mine), theirs_(theirs), identity_(identity), summary_(summary) {}

    MergedEntries Run() {
        for (const auto& [key, m] : mine_.entries) {
            if (const EntryView* t = theirs_.Find(key))
                Both(key, m, *t);
            else
                Alone(key, m, theirs_, summary_.mine, summary_.theirs);
        }
        for (const auto& [key, t] : theirs_.entries)
            if (!mine_.Find(key)) Alone(key, t, mine_, summary_.theirs, summary_.mine);
        return std::move(out_);
    }

private:
    const EntryView* InBase(const std::string& key) const {
        return base_ ? base_->Find(key) : nullptr;
    }

    // The base's version of an entry, when it can be where both started
    // from: a side holding an older version never saw it (the base kept on
    // this machine is not always the other machine's starting point).
    const EntryView* BaseOf(const std::string& key, const EntryView& m, const EntryView& t) const {
        const EntryView* b = InBase(key);
        if (b && (m.rec->Dt_Modif < b->rec->Dt_Modif || t.rec->Dt_Modif < b->rec->Dt_Modif))
            return nullptr;
        return b;
    }

    // On one side only: added there, or deleted by the other side.
    void Alone(const std::string& key, const EntryView& e, const Version& other, MergeSide& side,
               MergeSide& otherSide) {
        if (const EntryView* b = InBase(key)) {
            const bool marked =
                !identity_.KnowsDeletions() || identity_.DeletedAt(other.store, key).has_value();
            if (Same(*b, e) && marked) {
                otherSide.deleted.push_back(e.rec->service);
                return;
            }
            if (marked) summary_.keptChanged.push_back(e.rec->service);
        } else if (const auto at = identity_.DeletedAt(other.store, key);
                   at && *at >= e.rec->Dt_Modif) {
            otherSide.deleted.push_back(e.rec->service);
            return;
        } else {
            side.added.push_back(e.rec->service);
        }
        out_.kept.push_back(Copy(e));
    }

    // The entry kept from both versions has the web sites either allowed or
    // denied it; a conflict copy keeps its own version's.
    void Both(const std::string& key, const EntryView& m, const EntryView& t) {
        const std::size_t kept = out_.kept.size();
        BothVersions(key, m, t);
        if (out_.kept.size() > kept && m.rec->Sites != t.rec->Sites)
            out_.kept[kept].rec.Sites = MergeSites(m.rec->Sites, t.rec->Sites);
    }

    void BothVersions(const std::string& key, const EntryView& m, const EntryView& t) {
        if (Same(m, t)) {
            out_.kept.push_back(Copy(m));
            return;
        }
        const EntryView* b = BaseOf(key, m, t);
        if (!b) {
            FieldMask differ = Diff(m, t);
            differ.reset(kModifiedField);
            std::optional<std::vector<T_CustomField>> fields;
            if (differ[kCustomFieldsField] &&
                (fields = MergeCustomFields(nullptr, m.rec->Fields, t.rec->Fields)))
                differ.reset(kCustomFieldsField);
            // Apart from their earlier passwords and custom fields either
            // side added, the same: nothing to set aside.
            if (differ.none()) return Unite(m, t, std::move(fields));
        } else {
            const bool mineSame = Same(*b, m);
            if (mineSame || Same(*b, t)) {
                const bool theirsChanged = mineSame;
                const EntryView& kept = theirsChanged ? t : m;
                out_.kept.push_back(Copy(kept));
                (theirsChanged ? summary_.theirs : summary_.mine)
                    .changed.push_back(kept.rec->service);
                return;
            }
            FieldMask clash = Diff(*b, m) & Diff(*b, t) & Diff(m, t);
            clash.reset(kModifiedField);
            if (clash[kCustomFieldsField] &&
                MergeCustomFields(&b->rec->Fields, m.rec->Fields, t.rec->Fields))
                clash.reset(kCustomFieldsField);
            if (clash.none()) return Combine(*b, m, t, Diff(*b, t));
        }
        Conflict(b, m, t);
    }

    std::vector<T_PwHistory> History(const EntryView* b, const EntryView& m,
                                     const EntryView& t) const {
        return MergeHistory(b ? &b->rec->History : nullptr, m.rec->History, t.rec->History,
                            static_cast<std::size_t>(mine_.store.HistoryLimit()));
    }

    // Differing two-way only in what can be united: the earlier passwords,
    // and custom fields (fields: united, when they differ).
    void Unite(const EntryView& m, const EntryView& t,
               std::optional<std::vector<T_CustomField>> fields) {
        OutEntry e = Copy(FirstPrevails(m, t) ? m : t);
        e.rec.History = History(nullptr, m, t);
        if (fields) {
            e.rec.Fields = std::move(*fields);
            summary_.combined.push_back(e.rec.service);
        }
        out_.kept.push_back(std::move(e));
    }

    // Different fields changed on each side: both changes are kept.
    void Combine(const EntryView& b, const EntryView& m, const EntryView& t,
                 const FieldMask& fromTheirs) {
        OutEntry e = Copy(m);
        for (std::size_t i = 0; i < kFieldCount; ++i)
            if (fromTheirs[i] && i != kPlaceField && i != kSubField) CopyField(e.rec, *t.rec, i);
        if (fromTheirs[kPlaceField]) {
            e.cat = t.cat;
            e.sub = t.sub;
        }
        if (m.rec->Fields != t.rec->Fields)
            if (auto fields = MergeCustomFields(&b.rec->Fields, m.rec->Fields, t.rec->Fields))
                e.rec.Fields = std::move(*fields);
        e.rec.Dt_Modif = std::max(m.rec->Dt_Modif, t.rec->Dt_Modif);
        e.rec.History = History(&b, m, t);
        summary_.combined.push_back(e.rec.service);
        out_.kept.push_back(std::move(e));
    }

    // The later version keeps the name and both sides' earlier passwords.
    void Conflict(const EntryView* b, const EntryView& m, const EntryView& t) {
        const bool mineWins = FirstPrevails(m, t);
        const EntryView& winner = mineWins ? m : t;
        OutEntry copy = Copy(mineWins ? t : m);
        copy.rec.Id = ConflictCopyId(copy.rec); // from now on an entry of its own
        copy.rec.service = ConflictName(copy.rec.service, copy.rec.Dt_Modif);
        OutEntry kept = Copy(winner);
        kept.rec.History = History(b, m, t);
        out_.kept.push_back(std::move(kept));
        // Merged before: the copy is there already, on one side or both.
        const std::string copyKey = identity_.EntryKey(mine_.store, copy.rec);
        if (mine_.Find(copyKey) || theirs_.Find(copyKey)) return;
        summary_.conflicts.push_back({winner.rec->service, copy.rec.service});
        out_.copies.push_back(std::move(copy));
    }

    const Version* base_;
    const Version& mine_;
    const Version& theirs_;
    const MergeIdentity& identity_;
    MergeSummary& summary_;
    MergedEntries out_;
};

} // namespace

std::string SubKey(const std::string& catKey, const std::string& subKey) {
    return catKey + '\n' + subKey;
}

Version::Version(const clsPW& s, const MergeIdentity& identity, bool placesById) : store(s) {
    auto named = [placesById](const std::string& name, const std::string& id) {
        return Named{name, placesById ? id : FoldKey(name), id};
    };
    for (const T_Categ& c : s.Category())
        cats.emplace(c.Codcat, named(c.DescrCat, c.Id));
    for (const T_SCateg& sc : s.SubCategory())
        if (cats.contains(sc.Codcat))
            subs.emplace(sc.CodSCat, Sub{named(sc.DescrSCat, sc.Id), sc.Codcat});
    entries.reserve(s.Password().Count());
    for (const T_Password& p : s.Password()) {
        EntryView v{&p, nullptr, nullptr};
        if (const auto c = cats.find(p.Codcat); c != cats.end()) {
            v.cat = &c->second;
            const auto sc = subs.find(p.CodSCat);
            if (p.CodSCat != 0 && sc != subs.end() && sc->second.cat == p.Codcat)
                v.sub = &sc->second.named;
        }
        entries.emplace(identity.EntryKey(s, p), v);
    }
}

const EntryView* Version::Find(const std::string& key) const {
    const auto it = entries.find(key);
    return it == entries.end() ? nullptr : &it->second;
}

void Version::PairPlacesByName(const Version& other) {
    // Categories first: a subcategory's key takes in its category's.
    std::unordered_set<std::string> known, otherKnown;
    std::unordered_map<std::string, const Named*> otherLeft; // by folded name
    for (const auto& [code, n] : cats)
        known.insert(n.key);
    for (const auto& [code, n] : other.cats) {
        otherKnown.insert(n.key);
        if (!known.contains(n.key)) otherLeft.emplace(FoldKey(n.name), &n);
    }
    for (auto& [code, n] : cats)
        if (const auto it = otherLeft.find(FoldKey(n.name));
            it != otherLeft.end() && !otherKnown.contains(n.key))
            n = {n.name, it->second->key, it->second->id};
    auto subKeyOf = [](const Version& v, const Sub& sub) {
        return SubKey(v.cats.at(sub.cat).key, sub.named.key);
    };
    known.clear();
    otherKnown.clear();
    otherLeft.clear();
    for (const auto& [code, sub] : subs)
        known.insert(subKeyOf(*this, sub));
    for (const auto& [code, sub] : other.subs) {
        otherKnown.insert(subKeyOf(other, sub));
        if (!known.contains(subKeyOf(other, sub)))
            otherLeft.emplace(SubKey(other.cats.at(sub.cat).key, FoldKey(sub.named.name)),
                              &sub.named);
    }
    for (auto& [code, sub] : subs)
        if (const auto it = otherLeft.find(SubKey(cats.at(sub.cat).key, FoldKey(sub.named.name)));
            it != otherLeft.end() && !otherKnown.contains(subKeyOf(*this, sub)))
            sub.named = {sub.named.name, it->second->key, it->second->id};
}

void Version::PairLeftoversByName(const Version& other) {
    PairPlacesByName(other);
    std::unordered_map<std::string, const std::string*> otherLeft; // by name
    for (const auto& [key, v] : other.entries)
        if (!entries.contains(key)) otherLeft.emplace(FoldKey(v.rec->service), &key);
    if (otherLeft.empty()) return;
    std::vector<std::pair<std::string, std::string>> moves;
    for (const auto& [key, v] : entries) {
        if (other.entries.contains(key)) continue;
        if (const auto it = otherLeft.find(FoldKey(v.rec->service)); it != otherLeft.end())
            moves.emplace_back(key, *it->second);
    }
    for (const auto& [from, to] : moves) {
        auto node = entries.extract(from);
        node.key() = to;
        entries.insert(std::move(node));
    }
}

void CopyField(T_Password& to, const T_Password& from, std::size_t index) {
    std::array<FieldSlot, kFieldCount> slots;
    std::size_t i = 0;
    VisitMergeFields(to, [&](const char*, auto& field) { slots[i++] = &field; });
    const FieldRef source = Refs(from)[index];
    std::visit(
        [&](auto* slot) {
            using T = std::remove_pointer_t<decltype(slot)>;
            *slot = *std::get<const T*>(source);
        },
        slots[index]);
}

std::string FieldName(std::size_t index) {
    std::string name;
    std::size_t i = 0;
    T_Password r;
    VisitMergeFields(r, [&](const char* field, auto&) {
        if (i++ == index) name = field;
    });
    return name;
}

FieldMask Diff(const EntryView& a, const EntryView& b) {
    FieldMask differ;
    const auto ra = Refs(*a.rec), rb = Refs(*b.rec);
    for (std::size_t i = 0; i < kFieldCount; ++i)
        if (i != kPlaceField && i != kSubField && CompareField(ra[i], rb[i]) != 0) differ.set(i);
    if (KeyOf(a.cat) != KeyOf(b.cat) || KeyOf(a.sub) != KeyOf(b.sub)) differ.set(kPlaceField);
    return differ;
}

std::vector<T_SitePermission> MergeSites(const std::vector<T_SitePermission>& mine,
                                         const std::vector<T_SitePermission>& theirs) {
    std::map<std::string, bool> allowed;
    for (const auto* list : {&mine, &theirs})
        for (const T_SitePermission& s : *list) {
            const auto [at, added] = allowed.emplace(s.host, s.allowed);
            if (!added) at->second = at->second && s.allowed;
        }
    std::vector<T_SitePermission> out;
    out.reserve(allowed.size());
    for (const auto& [host, ok] : allowed)
        out.push_back({host, ok});
    return out;
}

std::vector<T_PwHistory> MergeHistory(const std::vector<T_PwHistory>* base,
                                      const std::vector<T_PwHistory>& mine,
                                      const std::vector<T_PwHistory>& theirs, std::size_t limit) {
    const auto has = [](const std::vector<T_PwHistory>& list, const T_PwHistory& h) {
        return std::find(list.begin(), list.end(), h) != list.end();
    };
    const auto removed = [&](const T_PwHistory& h) {
        return base && has(*base, h) && !(has(mine, h) && has(theirs, h));
    };
    std::vector<T_PwHistory> out;
    for (const auto* side : {&mine, &theirs})
        for (const T_PwHistory& h : *side)
            if (!removed(h) && !has(out, h)) out.push_back(h);
    // A total order, so that the result does not depend on which side is which.
    std::sort(out.begin(), out.end(), [](const T_PwHistory& a, const T_PwHistory& b) {
        return a.replaced != b.replaced ? a.replaced > b.replaced : a.pw < b.pw;
    });
    out.resize(std::min(out.size(), std::max({limit, mine.size(), theirs.size()})));
    return out;
}

MergedEntries MergeEntries(const Version* base, const Version& mine, const Version& theirs,
                           const MergeIdentity& identity, MergeSummary& summary) {
    return EntryMerger(base, mine, theirs, identity, summary).Run();
}

} // namespace merge

} // namespace ardeko
