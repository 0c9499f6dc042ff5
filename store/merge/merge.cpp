// clsPW::Merge: the merged categories, subcategories, nodes and entries are
// filed into new collections. Records this store has keep its codes, so an
// open view still finds them; new ones get codes above every code in use.
#include "store/merge/merge.h"

#include "store/codepage.h"
#include "store/merge/merge_entries.h"
#include "store/pw.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <typeinfo>

namespace ardeko {

namespace {

using namespace merge;

constexpr int kMaxCode = 32767;

// The identifier goes with the record into the result; it is no change of
// its own (by name, the versions may give one category different ones).
struct CatRec {
    std::string name;
    bool tvexp = false;
    std::string id;
    bool operator==(const CatRec& o) const { return name == o.name && tvexp == o.tvexp; }
};

// The category is part of the key; its name is kept to make it again
// should only the subcategory survive.
struct SubRec {
    std::string catKey;
    std::string catName;
    std::string catId;
    std::string name;
    std::string id;
    bool operator==(const SubRec& o) const { return name == o.name; }
};

std::map<std::string, CatRec> CategoriesOf(const Version& v) {
    std::map<std::string, CatRec> out;
    for (const T_Categ& c : v.store.Category()) {
        const Named& n = v.cats.at(c.Codcat);
        out.emplace(n.key, CatRec{c.DescrCat, c.TVExp, n.id});
    }
    return out;
}

std::map<std::string, SubRec> SubcategoriesOf(const Version& v) {
    std::map<std::string, SubRec> out;
    for (const auto& [code, sub] : v.subs) {
        const Named& cat = v.cats.at(sub.cat);
        out.emplace(SubKey(cat.key, sub.named.key),
                    SubRec{cat.key, cat.name, cat.id, sub.named.name, sub.named.id});
    }
    return out;
}

std::map<std::string, T_Node> NodesOf(const Version& v) {
    std::map<std::string, T_Node> out;
    for (const T_Node& n : v.store.NodeStates())
        out.emplace(FoldKey(n.DescrCat), n);
    return out;
}

// One part of a record changed on both sides (base: the common version's,
// if any): the side's that changed it, else (both did) either's by pick.
template <class T, class Pick> T Part(const T* base, const T& a, const T& b, Pick pick) {
    if (a == b || (base && *base == b)) return a;
    if (base && *base == a) return b;
    return pick(a, b);
}

// Changed on both sides: name and state merge apart, and the same whichever
// side is which. A name dropped so is reported.
CatRec PickCategory(const CatRec& a, const CatRec& b, const CatRec* base,
                    std::vector<MergeNames>& renamed) {
    CatRec out;
    out.name = Part(base ? &base->name : nullptr, a.name, b.name,
                    [&](const std::string& x, const std::string& y) {
                        renamed.push_back({std::min(x, y), std::max(x, y)});
                        return std::min(x, y);
                    });
    out.tvexp = Part(base ? &base->tvexp : nullptr, a.tvexp, b.tvexp,
                     [](bool x, bool y) { return x || y; });
    // Paired by identifier they have one; by name, the result keeps one.
    out.id = a.id.empty() || b.id.empty() ? a.id + b.id : std::min(a.id, b.id);
    return out;
}
// category: the name its category has in the result.
SubRec PickSubcategory(const SubRec& a, const SubRec& b, const std::string& category,
                       std::vector<MergeNames>& renamed) {
    const SubRec& kept = a.name < b.name ? a : b;
    const SubRec& other = a.name < b.name ? b : a;
    renamed.push_back({PlaceLabel(category, kept.name), PlaceLabel(category, other.name)});
    return kept;
}
T_Node PickNode(const T_Node& a, const T_Node& b, const T_Node*) {
    return {std::min(a.DescrCat, b.DescrCat), a.TVExp || b.TVExp};
}

struct Merged {
    std::map<std::string, CatRec> cats;
    std::map<std::string, SubRec> subs;
    std::map<std::string, T_Node> nodes;
    MergedEntries entries;
};

// A category or subcategory deleted on one side but still holding an entry
// of the other is kept.
void KeepPlaces(Merged& m) {
    auto keep = [&](const OutEntry& e) {
        if (!e.cat) return;
        m.cats.try_emplace(e.cat->key, CatRec{e.cat->name, false, e.cat->id});
        if (e.sub)
            m.subs.try_emplace(SubKey(e.cat->key, e.sub->key),
                               SubRec{e.cat->key, e.cat->name, e.cat->id, e.sub->name, e.sub->id});
    };
    for (const OutEntry& e : m.entries.kept)
        keep(e);
    for (const OutEntry& e : m.entries.copies)
        keep(e);
    for (const auto& [key, sub] : m.subs)
        m.cats.try_emplace(sub.catKey, CatRec{sub.catName, false, sub.catId});
}

// Files the merged records into a store, with mine's codes where mine has
// the record.
class Filer {
public:
    Filer(const Version& mine, clsPW& into, std::vector<MergeNames>& collisions)
        : mine_(mine), into_(into), collisions_(collisions) {}

    bool Categories(const std::map<std::string, CatRec>& cats) {
        int next = 0;
        std::map<std::string, std::int16_t> mineCodes;
        for (const auto& [code, named] : mine_.cats)
            mineCodes.emplace(named.key, code);
        // Above orphaned subcategories' category codes too: a new category
        // must not adopt them.
        for (const T_Categ& c : mine_.store.Category())
            next = std::max(next, int(c.Codcat));
        for (const T_SCateg& s : mine_.store.SubCategory())
            next = std::max(next, int(s.Codcat));
        for (const auto& [key, rec] : cats) {
            const auto own = mineCodes.find(key);
            const int code = own != mineCodes.end() ? own->second : ++next;
            if (code > kMaxCode) return false;
            catCodes_[key] = std::int16_t(code);
            T_Categ c{std::int16_t(code), rec.name, rec.tvexp, UnusedId("", rec.id)};
            InsertNamed(c, c.DescrCat, &clsPW::InsertCategory, "");
        }
        return true;
    }

    bool Subcategories(const std::map<std::string, SubRec>& subs) {
        int next = 0;
        std::map<std::string, std::int16_t> mineCodes;
        for (const auto& [code, sub] : mine_.subs)
            mineCodes.emplace(SubKey(mine_.cats.at(sub.cat).key, sub.named.key), code);
        for (const T_SCateg& s : mine_.store.SubCategory()) {
            next = std::max(next, int(s.CodSCat));
            if (!mine_.cats.contains(s.Codcat)) into_.InsertSubCategory(s); // kept as it was
        }
        for (const auto& [key, rec] : subs) {
            const auto own = mineCodes.find(key);
            const int code = own != mineCodes.end() ? own->second : ++next;
            if (code > kMaxCode) return false;
            subCodes_[key] = std::int16_t(code);
            const std::int16_t cat = catCodes_.at(rec.catKey);
            T_SCateg sc{std::int16_t(code), cat, rec.name, UnusedId(std::to_string(cat), rec.id)};
            InsertNamed(sc, sc.DescrSCat, &clsPW::InsertSubCategory, into_.CatValue(cat));
        }
        return true;
    }

    void Nodes(std::map<std::string, T_Node> nodes) {
        for (const T_Node& n : mine_.store.NodeStates())
            if (const auto it = nodes.find(FoldKey(n.DescrCat)); it != nodes.end()) {
                into_.AppendNode(it->second);
                nodes.erase(it);
            }
        for (const auto& [key, n] : nodes)
            into_.AppendNode(n);
    }

    // In name order, so that each goes in at the end. A name taken already
    // (only pairing by identifiers can lead there: a rename on one side to
    // a name the other gave another entry) is kept as a conflict; of the
    // entries sharing a name the one changed last keeps it, whichever side
    // it came from.
    void Entries(MergedEntries& entries, std::vector<MergeConflict>& collisions) {
        auto byName = [](const OutEntry& a, const OutEntry& b) {
            const std::string ka = FoldKey(a.rec.service), kb = FoldKey(b.rec.service);
            return std::tie(ka, b.rec.Dt_Modif, a.rec.Id, a.rec.service) <
                   std::tie(kb, a.rec.Dt_Modif, b.rec.Id, b.rec.service);
        };
        std::sort(entries.kept.begin(), entries.kept.end(), byName);
        std::sort(entries.copies.begin(), entries.copies.end(), byName);
        for (OutEntry& e : entries.kept)
            if (!Insert(e)) {
                const std::string name = e.rec.service;
                e.rec.service = ConflictName(e.rec.service, e.rec.Dt_Modif);
                InsertUnique(e);
                collisions.push_back({name, e.rec.service});
            }
        for (OutEntry& e : entries.copies)
            InsertUnique(e);
    }

private:
    // One identifier given to two records (by name a rename on one side
    // looks like a new record): the second goes without, and gets one at
    // the next save.
    // scope: "" for categories, the category code for subcategories.
    std::string UnusedId(const std::string& scope, const std::string& id) {
        return id.empty() || usedIds_.insert(scope + '\n' + id).second ? id : std::string();
    }

    // Two categories (or subcategories of one category) given one name,
    // paired by identifier: the second is kept under "name 2" (or 3, …) and
    // reported. category: the subcategory's category name, "" for a category.
    template <class R>
    void InsertNamed(R& r, std::string& name, bool (clsPW::*insert)(const R&),
                     const std::string& category) {
        const std::string wanted = name;
        for (int n = 2;
             !(into_.*insert)(r) && into_.ErrNum() == StoreError::DuplicateKey && n < 10000; ++n)
            name = wanted + " " + std::to_string(n);
        auto label = [&](const std::string& n) {
            return category.empty() ? n : PlaceLabel(category, n);
        };
        if (name != wanted) collisions_.push_back({label(name), label(wanted)});
    }

    bool Insert(OutEntry& e) {
        e.rec.Codcat = e.cat ? catCodes_.at(e.cat->key) : 0;
        e.rec.CodSCat = e.cat && e.sub ? subCodes_.at(SubKey(e.cat->key, e.sub->key)) : 0;
        return into_.InsertPassword(e.rec); // false for a name taken
    }

    void InsertUnique(OutEntry& e) {
        const std::string name = e.rec.service;
        for (int n = 2; !Insert(e); ++n)
            e.rec.service = name + " " + std::to_string(n);
    }

    const Version& mine_;
    clsPW& into_;
    std::vector<MergeNames>& collisions_;
    std::map<std::string, std::int16_t> catCodes_;
    std::map<std::string, std::int16_t> subCodes_;
    std::set<std::string> usedIds_;
};

// Pairs entries by identifier, and knows the deletions each version marked.
class ById : public MergeIdentity {
public:
    std::string EntryKey(const clsPW&, const T_Password& entry) const override { return entry.Id; }
    std::optional<VbDate> DeletedAt(const clsPW& store, const std::string& key) const override {
        return store.DeletedAt(key);
    }
    bool KnowsDeletions() const override { return true; }
};

// Identifiers pair entries only when every version has them throughout: a
// version with names alone (a legacy file) could not be paired with them.
const MergeIdentity& ChooseIdentity(const clsPW* base, const clsPW& mine, const clsPW& theirs) {
    static const MergeIdentity byName;
    static const ById byId;
    const bool identified = (!base || base->AllEntriesIdentified()) &&
                            mine.AllEntriesIdentified() && theirs.AllEntriesIdentified();
    return identified ? static_cast<const MergeIdentity&>(byId) : byName;
}

void SortSummary(MergeSummary& s) {
    for (auto* list : {&s.mine.added, &s.mine.changed, &s.mine.deleted, &s.theirs.added,
                       &s.theirs.changed, &s.theirs.deleted, &s.combined, &s.keptChanged})
        std::sort(list->begin(), list->end());
    for (auto* list : {&s.conflicts, &s.collisions})
        std::sort(list->begin(), list->end(),
                  [](const MergeConflict& a, const MergeConflict& b) { return a.copy < b.copy; });
    for (auto* list : {&s.renamedPlaces, &s.placeCollisions})
        std::sort(list->begin(), list->end(), [](const MergeNames& a, const MergeNames& b) {
            return std::tie(a.named, a.other) < std::tie(b.named, b.other);
        });
}

} // namespace

bool clsPW::Merge(const clsPW* base, const clsPW& theirs, MergeSummary& summary,
                  const MergeIdentity* identity) {
    // A version read without its secrets would merge into one that lacks them.
    if (ListingOnly() || theirs.ListingOnly() || (base && base->ListingOnly()))
        return FailListingOnly();
    const MergeIdentity& id = identity ? *identity : ChooseIdentity(base, *this, theirs);
    summary = {};
    summary.threeWay = base != nullptr;
    summary.byName = typeid(id) == typeid(MergeIdentity); // the base pairs by name
    // Categories and subcategories pair by identifier on the same terms as
    // entries, but apart: a file from a writer that knew only entries' has
    // identifiers for those alone.
    const bool placesById = (!base || base->AllCategoriesIdentified()) &&
                            AllCategoriesIdentified() && theirs.AllCategoriesIdentified();
    const Version mine(*this, id, placesById);
    Version other(theirs, id, placesById);
    other.PairLeftoversByName(mine);
    std::optional<Version> start;
    if (base) {
        start.emplace(*base, id, placesById);
        start->PairLeftoversByName(mine);
        start->PairLeftoversByName(other);
    }
    const Version* b = start ? &*start : nullptr;

    Merged m;
    {
        const auto baseCats = b ? CategoriesOf(*b) : std::map<std::string, CatRec>{};
        const auto baseSubs = b ? SubcategoriesOf(*b) : std::map<std::string, SubRec>{};
        const auto baseNodes = b ? NodesOf(*b) : std::map<std::string, T_Node>{};
        auto& renamed = summary.renamedPlaces;
        m.cats = MergeKeyed(b ? &baseCats : nullptr, CategoriesOf(mine), CategoriesOf(other),
                            [&](const CatRec& x, const CatRec& y, const CatRec* z) {
                                return PickCategory(x, y, z, renamed);
                            });
        m.subs =
            MergeKeyed(b ? &baseSubs : nullptr, SubcategoriesOf(mine), SubcategoriesOf(other),
                       [&](const SubRec& x, const SubRec& y, const SubRec*) {
                           const auto cat = m.cats.find(x.catKey);
                           return PickSubcategory(
                               x, y, cat != m.cats.end() ? cat->second.name : x.catName, renamed);
                       });
        m.nodes = MergeKeyed(b ? &baseNodes : nullptr, NodesOf(mine), NodesOf(other), PickNode);
    }
    m.entries = MergeEntries(b, mine, other, id, summary);
    KeepPlaces(m);

    clsPW built;
    Filer filer(mine, built, summary.placeCollisions);
    if (!filer.Categories(m.cats) || !filer.Subcategories(m.subs)) {
        summary = {};
        return Fail(StoreError::Overflow, "Overflow");
    }
    filer.Nodes(std::move(m.nodes));
    built.password_.Reserve(m.entries.kept.size() + m.entries.copies.size());
    filer.Entries(m.entries, summary.collisions);
    SortSummary(summary);

    category_ = std::move(built.category_);
    subCategory_ = std::move(built.subCategory_);
    password_ = std::move(built.password_);
    nodeStates_ = std::move(built.nodeStates_);
    MergeDeletionMarks(theirs);
    MergeBrowserLinks(theirs);
    MergeFileId(theirs);
    notSaved_ = true;
    Succeed();
    return true;
}

} // namespace ardeko
