// One entry's fields for scripts: all but the password, or the one asked for
// (the password only so), or the current one-time code.
#include "cli/code_hmac.h"
#include "cli/commands.h"
#include "store/pw.h"

#include <ctime>
#include <iostream>
#include <set>

namespace qvs {

namespace {

int PrintCode(const ardeko::T_Password& p) {
    if (p.Totp.empty())
        return Fail("entry \"" + p.service + "\" has no one-time code", kExitNotFound);
    const auto now =
        ardeko::TotpCodeAt(p.Totp, static_cast<std::int64_t>(std::time(nullptr)), &CliHmac);
    if (!now) return Fail("the one-time code of entry \"" + p.service + "\" cannot be read");
    std::cout << now->code << '\n';
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
        if (const auto now =
                ardeko::TotpCodeAt(p.Totp, static_cast<std::int64_t>(std::time(nullptr)), &CliHmac))
            std::cout << "code: " << now->code << " (" << now->secondsLeft << " s left)\n";
    // Last, as it may run over several lines.
    std::cout << "notes:\n" << p.Descr << (p.Descr.empty() || p.Descr.ends_with('\n') ? "" : "\n");
}

} // namespace

int RunShow(const Options& options) {
    static const std::set<std::string> fields = {"", "user", "password", "url", "notes", "code"};
    if (!fields.contains(options.field))
        return UsageFail("--field needs user, password, url, notes or code");
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
    else
        std::cout << (f == "user"       ? p->User
                      : f == "password" ? p->pw
                      : f == "url"      ? p->URL_Access
                                        : p->Descr)
                  << '\n';
    return std::cout.flush() ? kExitOk : Fail("cannot write to standard output");
}

} // namespace qvs
