// Creating, renaming, deleting and moving categories and subcategories.
// Entries refer to both by code, so moving means re-filing entries by code.
#include "store/collection_query.h"
#include "store/entry_id.h"
#include "store/pw.h"

namespace ardeko {

namespace {

constexpr const char* kOverflowText = "Overflow";

// Gives a record a new key at the end of the collection. The new key goes in
// before the old one leaves, so a clash with another record changes nothing;
// a change of letter case only is the same key, so there the old one leaves
// first.
template <class R>
bool RekeyAtEnd(KeyedCollection<R>& c, const std::string& oldKey, std::string newKey, R renamed) {
    if (FoldKey(oldKey) == FoldKey(newKey)) {
        c.Remove(oldKey);
        return c.Append(std::move(newKey), std::move(renamed)) == 0;
    }
    if (c.Append(std::move(newKey), std::move(renamed)) != 0) return false;
    return c.Remove(oldKey) == 0;
}

} // namespace

void clsPW::MoveOrDeleteEntries(const std::function<bool(const T_Password&)>& match, bool move,
                                std::int16_t cat, std::int16_t scat) {
    // In one pass: the same order as re-filing (PWChangeCat) or deleting the
    // matches one at a time, without a search and an erase for each.
    if (!move) {
        password_.RemoveIf([&](const T_Password& p) {
            if (!match(p)) return false;
            MarkDeleted(p);
            return true;
        });
        return;
    }
    password_.MoveToEndIf(match, [=](T_Password& p) {
        if (cat != -1) p.Codcat = cat;
        if (scat != -1) p.CodSCat = scat;
    });
}

bool clsPW::CatAdd(const std::string& x) {
    const auto code = NextCatCode();
    if (!code) return Fail(StoreError::Overflow, kOverflowText);
    return Changed(InsertCategory({*code, x, false, NewEntryId()}));
}

bool clsPW::SubCatAdd(std::int16_t ct, const std::string& x) {
    const auto code = NextSubCatCode();
    if (!code) return Fail(StoreError::Overflow, kOverflowText);
    return Changed(InsertSubCategory({*code, ct, x, NewEntryId()}));
}

bool clsPW::CatDel(const std::string& Cat, bool move) {
    const T_Categ* found = category_.Find(Cat);
    if (!found) return false;
    const std::int16_t code = found->Codcat;
    subCategory_.RemoveIf(InCategory(code));
    MoveOrDeleteEntries(InCategory(code), move, 0, 0);
    category_.Remove(Cat);
    return Changed(true);
}

bool clsPW::CatRen(const std::string& vecchia, const std::string& nuova) {
    const T_Categ* found = category_.Find(vecchia);
    if (!found) return false;
    T_Categ renamed = *found;
    renamed.DescrCat = nuova;
    return Changed(RekeyAtEnd(category_, vecchia, nuova, std::move(renamed)));
}

bool clsPW::SubCatRen(std::int16_t ct, const std::string& vecchia, const std::string& nuova) {
    const std::string oldKey = SubCategoryKey(ct, vecchia);
    const T_SCateg* found = subCategory_.Find(oldKey);
    if (!found) return false;
    T_SCateg renamed = *found;
    renamed.DescrSCat = nuova;
    return Changed(RekeyAtEnd(subCategory_, oldKey, SubCategoryKey(ct, nuova), std::move(renamed)));
}

bool clsPW::DropSubCategory(std::int16_t ct, const std::string& scat, bool move,
                            std::int16_t moveTo, bool sameCategoryOnly) {
    const std::string key = SubCategoryKey(ct, scat);
    const T_SCateg* found = subCategory_.Find(key);
    if (!found) return false;
    const std::int16_t code = found->CodSCat;
    auto isItsEntry = [=](const T_Password& p) {
        return p.CodSCat == code && (!sameCategoryOnly || p.Codcat == ct);
    };
    MoveOrDeleteEntries(isItsEntry, move, moveTo, 0);
    subCategory_.Remove(key);
    return Changed(true);
}

bool clsPW::SubCatDel(std::int16_t ct, const std::string& scat, bool move) {
    return DropSubCategory(ct, scat, move, ct, false);
}

bool clsPW::SubCatMove(std::int16_t ct, std::int16_t nct, const std::string& scat, bool move) {
    return DropSubCategory(ct, scat, move, nct, true);
}

bool clsPW::CatChange(const std::string& sc, std::int16_t vecchia, std::int16_t nuova) {
    const std::string oldKey = SubCategoryKey(vecchia, sc);
    const T_SCateg* found = subCategory_.Find(oldKey);
    if (!found) return false;
    T_SCateg moved = *found;
    moved.Codcat = nuova;
    const std::int16_t code = moved.CodSCat;
    if (subCategory_.Append(SubCategoryKey(nuova, moved.DescrSCat), moved) != 0) return false;
    auto isItsEntry = [=](const T_Password& p) { return p.Codcat == vecchia && p.CodSCat == code; };
    MoveOrDeleteEntries(isItsEntry, true, nuova, -1);
    subCategory_.Remove(oldKey);
    return Changed(true);
}

bool clsPW::CambiaCatInSub(const std::string& catsrc, std::int16_t NewCat) {
    const auto code = NextSubCatCode();
    const T_Categ* found = category_.Find(catsrc);
    // Into itself would file its entries under a category that is gone.
    if (!code || !found || found->Codcat == NewCat) return false;
    const std::int16_t oldCat = found->Codcat;
    const T_SCateg sub{*code, NewCat, found->DescrCat, NewEntryId()};
    if (subCategory_.Append(SubCategoryKey(NewCat, sub.DescrSCat), sub) != 0) return false;
    MoveOrDeleteEntries(InCategory(oldCat), true, NewCat, *code);
    category_.Remove(catsrc);
    return Changed(true);
}

} // namespace ardeko
