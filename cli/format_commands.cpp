// Commands on a data file's format: converting it, and telling it.
#include "cli/commands.h"
#include "store/crypto/secret_key.h"
#include "store/io/file_info.h"
#include "store/pw.h"

#include <iostream>

namespace qvs {

namespace {

const char* FormatName(ardeko::FileFormat f) {
    return f == ardeko::FileFormat::Two ? "2" : "legacy";
}

} // namespace

int RunConvert(const Options& options) {
    if (auto code = CheckFileFormat(options)) return *code;
    ardeko::clsPW store;
    std::string password;
    if (auto code = OpenStore(options, store, &password)) return *code;
    // The legacy cipher needs the password itself, which a format-2 store
    // no longer holds.
    if (!store.HoldsFilePassword()) store.SetFilePW(password);
    ardeko::WipeString(password);
    const auto target =
        options.format == "legacy" ? ardeko::FileFormat::Legacy : ardeko::FileFormat::Two;
    if (store.Format() == target) {
        std::cerr << "qvs-cli: " << options.file << " is in format " << FormatName(target)
                  << " already; nothing was written.\n";
        return kExitOk;
    }
    if (auto code = ConfirmPassword(options, store)) return *code;
    store.SetFormat(target);
    // The time-stamped copy never replaces an older one; its name is fixed
    // before the save so that the message names it.
    const double now = store.Now();
    store.SetClock([now] { return now; });
    const std::string backup = store.BackupPathFor(options.file, true);
    if (!store.SaveFile(options.file, true, true)) return FailStore(store);
    std::cerr << "qvs-cli: " << options.file << " is now in format " << FormatName(target)
              << "; the file as it was is kept as " << backup << '\n';
    return kExitOk;
}

int RunInfo(const Options& options) {
    ardeko::DataFileInfo info;
    if (auto err = ardeko::ReadDataFileInfo(options.file, info)) return Fail(*err);
    std::cout << "format: " << FormatName(info.format) << '\n'
              << "version: " << info.version << '\n';
    if (info.kdf)
        std::cout << "key derivation: Argon2id, " << info.kdf->passes << " passes, "
                  << info.kdf->memoryKiB << " KiB\n";
    else
        std::cout << "key derivation: none (written by another program: a wrong password may "
                     "go unnoticed)\n";
    return kExitOk;
}

} // namespace qvs
