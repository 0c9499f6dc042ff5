// Copying the category tree of another data file into the open store, by
// name. Names already present are reported instead of duplicated.
#include "store/legacy/legacy_file.h"
#include "store/pw.h"

#include <unordered_map>

namespace ardeko {

namespace {

constexpr char kCr = '\r';

// A heading and the names (each ending in a carriage return), then one more.
std::string Section(const char* heading, const std::string& names) {
    return heading + std::string(1, kCr) + names + kCr;
}

std::string ImportCategories(clsPW& s, const std::vector<T_Categ>& categories) {
    std::string refused;
    for (const T_Categ& c : categories)
        if (!s.CatAdd(c.DescrCat)) refused += c.DescrCat + kCr;
    return refused.empty() ? std::string() : Section("Category not imported: ", refused);
}

enum class SubCatImport { Added, Refused, NoCategory };

// categoryName: the name of the subcategory's category in the other file, or
// nullptr when that file has no such category. The subcategory goes to this
// store's category of that name, new or already here.
SubCatImport ImportSubCategory(clsPW& s, const std::string* categoryName, const std::string& name) {
    if (!categoryName) return SubCatImport::NoCategory;
    const T_Categ* here = s.Category().Find(*categoryName);
    return here && s.SubCatAdd(here->Codcat, name) ? SubCatImport::Added : SubCatImport::Refused;
}

// Subcategories without a category in the other file are listed, but only
// under the heading a refusal brings.
std::string ImportSubCategories(clsPW& s, const DecodedFile& other) {
    std::unordered_map<std::int16_t, const std::string*> categoryName;
    for (const T_Categ& c : other.categories)
        categoryName.emplace(c.Codcat, &c.DescrCat); // the first of a code wins
    std::string listed;
    bool refused = false;
    for (const T_SCateg& sc : other.subcategories) {
        const auto it = categoryName.find(sc.Codcat);
        const auto result =
            ImportSubCategory(s, it == categoryName.end() ? nullptr : it->second, sc.DescrSCat);
        if (result == SubCatImport::Added) continue;
        refused = refused || result == SubCatImport::Refused;
        listed += sc.DescrSCat + kCr;
    }
    return refused ? Section("SubCategory not imported: ", listed) : std::string();
}

} // namespace

bool clsPW::ImportFile(const std::string& strName, std::string_view strPw) {
    DecodedFile other;
    const bool read = ReadDataFile(strName, strPw, true, other);
    // The other file's enciphered flag is taken as soon as its header has
    // been read, even when the password is wrong; the next save sets it again.
    if (read || errNum_ == StoreError::BadFile) encryptFile_ = other.header.encrypted;
    if (!read) return false;
    std::string report = ImportCategories(*this, other.categories);
    report += ImportSubCategories(*this, other);
    Succeed();
    errDescr_ = std::move(report);
    notSaved_ = true;
    return errDescr_.empty();
}

} // namespace ardeko
