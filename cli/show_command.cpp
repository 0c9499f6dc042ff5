// One entry's fields for scripts: all but the password and protected fields,
// or the one asked for (secrets only so), or the current one-time code.
#include "cli/commands.h"
#include "store/otp_hmac.h"
#include "store/pw.h"

#include <ctime>
#include <iostream>

namespace qvs {

namespace {

int PrintCode(const ardeko::T_Password& p) {
    if (p.Totp.empty())
        return Fail("entry \"" + p.service + "\" has no one-time code", kExitNotFound);
    const auto now =
        ardeko::TotpCodeAt(p.Totp, static_cast<std::int64_t>(std::time(nullptr)), &ardeko::OtpHmac);
    if (!now) return Fail("the one-time code of entry \"" + p.service + "\" cannot be read");
    std::cout << now->code << '\n';
    return kExitOk;
}

int PrintCustomField(const ardeko::T_Password& p, const std::string& name) {
    const ardeko::T_CustomField* f = FindExtraField(p, name, "user, password, url, notes, code");
    if (!f) return kExitNotFound;
    std::cout << f->value << '\n';
    return kExitOk;
}

void PrintAll(const ardeko::clsPW& store, const ardeko::T_Password& p) {
    std::cout << "service: " << p.service << '\n'
              << "category: " << store.CatValue(p.Codcat) << '\n'
              << "subcategory: " << (p.CodSCat ? store.SubCatValue(p.CodSCat) : "") << '\n'
              << "user: " << p.User << '\n'
              << "email: " << p.Email << '\n'
              << "url: " << p.URL_Access << '\n';
    if (!p.Totp.empty())
        if (const auto now = ardeko::TotpCodeAt(
                p.Totp, static_cast<std::int64_t>(std::time(nullptr)), &ardeko::OtpHmac))
            std::cout << "code: " << now->code << " (" << now->secondsLeft << " s left)\n";
    // A protected field's value only when asked for by name.
    for (const ardeko::T_CustomField& f : p.Fields)
        std::cout << "field " << f.name << ": "
                  << (f.protect ? "(protected: --field " + f.name + " shows it)" : f.value) << '\n';
    // Last, as it may run over several lines.
    std::cout << "notes:\n" << p.Descr << (p.Descr.empty() || p.Descr.ends_with('\n') ? "" : "\n");
}

} // namespace

int RunShow(const Options& options) {
    ardeko::clsPW store;
    if (auto code = OpenStore(options, store)) return *code;
    const ardeko::T_Password* p = store.Password().Find(options.service);
    if (!p)
        return Fail("no entry named \"" + options.service + "\" in " + options.file, kExitNotFound);
    const std::string& f = options.field;
    if (f.empty())
        PrintAll(store, *p);
    else if (f == "code")
        return PrintCode(*p);
    else if (f == "user" || f == "password" || f == "url" || f == "notes")
        std::cout << (f == "user"       ? p->User
                      : f == "password" ? p->pw
                      : f == "url"      ? p->URL_Access
                                        : p->Descr)
                  << '\n';
    else
        return PrintCustomField(*p, f);
    return std::cout.flush() ? kExitOk : Fail("cannot write to standard output");
}

} // namespace qvs
