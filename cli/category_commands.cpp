// Categories and subcategories: mkcat, rmcat, mksub, rmsub. Deleting one
// that holds entries takes --with-entries, which deletes them too.
#include "cli/commands.h"
#include "cli/file_change.h"

#include <algorithm>
#include <functional>

namespace qvs {

namespace {

using ardeko::T_Password;

std::size_t CountEntries(const ardeko::clsPW& store,
                         const std::function<bool(const T_Password&)>& in) {
    std::size_t n = 0;
    for (const T_Password& p : store.Password())
        n += in(p) ? 1 : 0;
    return n;
}

std::optional<int> RefuseToDropEntries(const Options& o, std::size_t entries, const char* what) {
    if (entries == 0 || o.Has("--with-entries")) return std::nullopt;
    return Fail(std::string("the ") + what + " holds " + std::to_string(entries) +
                    (entries == 1 ? " entry" : " entries") +
                    "; give --with-entries to delete them with it",
                kExitRefused);
}

const std::string& CategoryArg(const Options& o) {
    return o.args[1];
}

// The code of the category the arguments name; kExitNotFound reported if none.
std::optional<int> FindCategory(const ardeko::clsPW& store, const Options& o, std::int16_t& cat) {
    const auto code = CategoryCode(store, CategoryArg(o));
    if (!code) return NoSuch("category", CategoryArg(o));
    cat = *code;
    return std::nullopt;
}

} // namespace

int RunMakeCategory(const Options& options) {
    const std::string& name = CategoryArg(options);
    if (name.empty()) return UsageFail("a category needs a name");
    return ChangeFile(options, [&](ardeko::clsPW& store) {
        if (store.CatExist(name))
            return Fail("there is a category named \"" + name + "\" already", kExitRefused);
        if (auto why = store.Unstorable(ardeko::T_Categ{0, name, false}))
            return Fail(*why, kExitRefused);
        return store.CatAdd(name) ? kExitOk : FailStore(store);
    });
}

int RunRemoveCategory(const Options& options) {
    return ChangeFile(options, [&](ardeko::clsPW& store) {
        std::int16_t cat = 0;
        if (auto code = FindCategory(store, options, cat)) return *code;
        const std::size_t held =
            CountEntries(store, [&](const T_Password& p) { return p.Codcat == cat; });
        if (auto code = RefuseToDropEntries(options, held, "category")) return *code;
        return store.CatDel(CategoryArg(options), /*move*/ false) ? kExitOk : FailStore(store);
    });
}

int RunMakeSubCategory(const Options& options) {
    const std::string& name = options.args[2];
    if (name.empty()) return UsageFail("a subcategory needs a name");
    return ChangeFile(options, [&](ardeko::clsPW& store) {
        std::int16_t cat = 0;
        if (auto code = FindCategory(store, options, cat)) return *code;
        if (store.SubCatExist(cat, name))
            return Fail("there is a subcategory named \"" + name + "\" in \"" +
                            CategoryArg(options) + "\" already",
                        kExitRefused);
        if (auto why = store.Unstorable(ardeko::T_SCateg{0, cat, name}))
            return Fail(*why, kExitRefused);
        return store.SubCatAdd(cat, name) ? kExitOk : FailStore(store);
    });
}

int RunRemoveSubCategory(const Options& options) {
    const std::string& name = options.args[2];
    return ChangeFile(options, [&](ardeko::clsPW& store) {
        std::int16_t cat = 0;
        if (auto code = FindCategory(store, options, cat)) return *code;
        const auto sub = SubCategoryCode(store, cat, name);
        if (!sub) return NoSuch("subcategory", name);
        const std::size_t held =
            CountEntries(store, [&](const T_Password& p) { return p.CodSCat == *sub; });
        if (auto code = RefuseToDropEntries(options, held, "subcategory")) return *code;
        return store.SubCatDel(cat, name, /*move*/ false) ? kExitOk : FailStore(store);
    });
}

} // namespace qvs
