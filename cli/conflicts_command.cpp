// qvs-cli conflicts: the copies a file-sync tool left beside FILE when two
// machines saved it at once. Each holds changes FILE lacks until it is
// merged in (qvs-cli merge FILE COPY); no password is needed to list them.
#include "cli/commands.h"

#include "store/merge/conflict_copies.h"

#include <filesystem>
#include <iostream>

namespace qvs {

int RunConflicts(const Options& options) {
    for (const std::string& copy : ardeko::FindConflictCopies(options.file))
        std::cout << copy << '\n';
    return kExitOk;
}

void PrintOtherConflictCopies(const Options& options) {
    const auto copies = ardeko::FindConflictCopies(options.file);
    bool heading = false;
    for (const std::string& copy : copies) {
        std::error_code ec;
        if (std::filesystem::equivalent(copy, options.other, ec)) continue;
        if (!heading) std::cout << "Other conflict copies beside " << options.file << ":\n";
        heading = true;
        std::cout << "  " << copy << '\n';
    }
}

} // namespace qvs
