// qvs-cli search: the entries a text finds, as QVS's search finds them.
#include "cli/commands.h"
#include "store/pw.h"
#include "store/search_fold.h"

#include <iostream>

namespace qvs {

int RunSearch(const Options& options) {
    const std::string folded = ardeko::FoldForSearch(options.args[1]);
    if (folded.empty()) return UsageFail("search needs a text to look for");
    ardeko::clsPW store;
    if (auto code = OpenStore(options, store, nullptr, ardeko::EntryTexts::NoSecrets)) return *code;
    bool any = false;
    for (const ardeko::T_Password& p : store.Password())
        if (ardeko::EntryMatches(p, folded)) {
            std::cout << p.service << '\n';
            any = true;
        }
    if (!std::cout.flush()) return Fail("cannot write to standard output");
    return any ? kExitOk : kExitNotFound;
}

} // namespace qvs
