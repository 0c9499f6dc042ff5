// Questions about categories and subcategories: names by code, existence and
// the numbers of entries and subcategories.
#include "store/collection_query.h"
#include "store/pw.h"

namespace ardeko {

std::string clsPW::CatValue(std::int16_t Cat) const {
    const T_Categ* c = FirstWhere(category_, InCategory(Cat));
    return c ? c->DescrCat : std::string();
}

std::string clsPW::SubCatValue(std::int16_t scat) const {
    const T_SCateg* s =
        FirstWhere(subCategory_, [scat](const T_SCateg& r) { return r.CodSCat == scat; });
    return s ? s->DescrSCat : std::string();
}

bool clsPW::CatExist(const std::string& S) const {
    return category_.Contains(S);
}

bool clsPW::SubCatExist(std::int16_t Cat, const std::string& S) const {
    return subCategory_.Contains(SubCategoryKey(Cat, S));
}

std::optional<std::int32_t> clsPW::PwInCat(const std::string& Cat) const {
    std::int16_t code = 0;
    if (!Cat.empty()) {
        const T_Categ* c = category_.Find(Cat);
        if (!c) return std::nullopt;
        code = c->Codcat;
    }
    return CountIf(password_, InCategory(code));
}

std::optional<std::int32_t> clsPW::PwInSubCat(std::int16_t Cat, const std::string& scat) const {
    std::int16_t code = 0;
    if (!scat.empty()) {
        const T_SCateg* s = subCategory_.Find(SubCategoryKey(Cat, scat));
        if (!s) return std::nullopt;
        code = s->CodSCat;
    }
    return CountIf(password_, [Cat, code](const T_Password& p) {
        return p.Codcat == Cat && p.CodSCat == code;
    });
}

std::int32_t clsPW::SubCatNumber(std::int16_t x) const {
    return CountIf(subCategory_, InCategory(x));
}

std::int32_t clsPW::CatNumber(const std::string&) const {
    return static_cast<std::int32_t>(category_.Count());
}

std::int16_t clsPW::FindSubCatInCat(const std::string& x) const {
    const T_SCateg* s = subCategory_.Find(x);
    return s ? s->Codcat : 0;
}

} // namespace ardeko
