// Changes to one entry: add, edit, rm, mv. The password never comes as an
// argument (other users could read it): it is asked for, read from standard
// input after the file password, or generated.
#include "cli/commands.h"
#include "cli/file_change.h"
#include "cli/password_prompt.h"
#include "store/crypto/secret_key.h"
#include "store/passwords/password_generator.h"

#include <charconv>
#include <iostream>
#include <iterator>

namespace qvs {

namespace {

using ardeko::T_Password;

// The entry's new password when one is asked for: generated, or asked for
// (twice on a terminal; the next line of standard input with --password-stdin).
std::optional<int> NewPassword(const Options& o, std::optional<std::string>& out) {
    if (o.Has("--generate") && o.Has("--password-prompt"))
        return UsageFail("give --generate or --password-prompt, not both");
    if (o.Has("--generate")) {
        ardeko::GeneratorOptions g;
        const std::string length = o.Value("--generate");
        if (!length.empty()) {
            std::from_chars(length.data(), length.data() + length.size(), g.length);
            if (g.length < g.kMinLength || g.length > g.kMaxLength)
                return UsageFail("--generate: the length must be 4 to 128");
        }
        out = ardeko::GeneratePassword(g);
    } else if (o.Has("--password-prompt")) {
        std::string pw, error;
        if (!ReadPassword({o.passwordStdin, true}, pw, error)) return Fail(error, kExitUsage);
        out = std::move(pw);
    }
    return std::nullopt;
}

// Files p under --category and --subcategory when given. An entry moved to
// another category leaves its subcategory unless one is named.
std::optional<int> FileUnder(const Options& o, const ardeko::clsPW& store, T_Password& p) {
    if (o.Has("--category")) {
        const auto cat = CategoryCode(store, o.Value("--category"));
        if (!cat) return NoSuch("category", o.Value("--category"));
        if (*cat != p.Codcat) p.CodSCat = 0;
        p.Codcat = *cat;
    }
    if (o.Has("--subcategory")) {
        const std::string name = o.Value("--subcategory");
        const auto sub =
            name.empty() ? std::optional<std::int16_t>(0) : SubCategoryCode(store, p.Codcat, name);
        if (!sub) return NoSuch("subcategory", name);
        p.CodSCat = *sub;
    }
    return std::nullopt;
}

// The fields given as options, then the password and the notes from
// standard input, in that order.
std::optional<int> ApplyFields(const Options& o, const ardeko::clsPW& store, T_Password& p) {
    if (auto code = FileUnder(o, store, p)) return code;
    if (o.Has("--user")) p.User = o.Value("--user");
    if (o.Has("--email")) p.Email = o.Value("--email");
    if (o.Has("--url")) p.URL_Access = o.Value("--url");
    std::optional<std::string> password;
    if (auto code = NewPassword(o, password)) return code;
    if (password) {
        ardeko::WipeString(p.pw);
        p.pw = std::move(*password);
    }
    if (o.Has("--notes-stdin")) p.Descr.assign(std::istreambuf_iterator<char>(std::cin), {});
    p.Dt_Modif = store.Now();
    if (auto why = store.Unstorable(p)) return Fail(*why, kExitRefused);
    return std::nullopt;
}

const T_Password* FindEntry(const ardeko::clsPW& store, const Options& o) {
    const T_Password* p = store.Password().Find(o.service);
    if (!p) NoSuch("entry", o.service);
    return p;
}

} // namespace

int RunAdd(const Options& options) {
    if (!options.Has("--category")) return UsageFail("add needs --category");
    return ChangeFile(options, [&](ardeko::clsPW& store) {
        if (store.Password().Find(options.service))
            return Fail("there is an entry named \"" + options.service + "\" already",
                        kExitRefused);
        T_Password p;
        p.service = options.service;
        p.Dt_Insert = store.Now();
        if (auto code = ApplyFields(options, store, p)) return *code;
        return store.PWAdd(p) ? kExitOk : FailStore(store);
    });
}

int RunEdit(const Options& options) {
    return ChangeFile(options, [&](ardeko::clsPW& store) {
        const T_Password* found = FindEntry(store, options);
        if (!found) return kExitNotFound;
        T_Password p = *found;
        if (options.Has("--rename")) {
            p.service = options.Value("--rename");
            if (p.service.empty()) return UsageFail("--rename needs a name");
            const T_Password* other = store.Password().Find(p.service);
            if (other && other != found)
                return Fail("there is an entry named \"" + p.service + "\" already", kExitRefused);
        }
        if (auto code = ApplyFields(options, store, p)) return *code;
        // The store keeps the replaced password among the earlier ones.
        return store.PWEdit(p, options.service) ? kExitOk : FailStore(store);
    });
}

int RunRemove(const Options& options) {
    return ChangeFile(options, [&](ardeko::clsPW& store) {
        if (!FindEntry(store, options)) return kExitNotFound;
        return store.PWDel(options.service) ? kExitOk : FailStore(store);
    });
}

int RunMove(const Options& options) {
    if (!options.Has("--category")) return UsageFail("mv needs --category");
    return ChangeFile(options, [&](ardeko::clsPW& store) {
        const T_Password* found = FindEntry(store, options);
        if (!found) return kExitNotFound;
        T_Password p = *found;
        p.CodSCat = 0; // a move names the subcategory, or none
        if (auto code = FileUnder(options, store, p)) return *code;
        return store.PWChangeCat(p.service, p.Codcat, p.CodSCat) ? kExitOk : FailStore(store);
    });
}

} // namespace qvs
