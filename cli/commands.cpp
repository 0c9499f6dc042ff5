#include "cli/commands.h"

#include "cli/json_writer.h"
#include "cli/password_prompt.h"
#include "store/crypto/secret_key.h"
#include "store/io/file_info.h"
#include "store/legacy/legacy_file.h"
#include "store/pw.h"
#include "store/vbdate.h"

#include <cstdio>
#include <iostream>

namespace qvs {

int Fail(const std::string& message, int code) {
    std::cerr << "qvs-cli: " << message << '\n';
    return code;
}

int UsageFail(const std::string& message) {
    return Fail(message + " (qvs-cli COMMAND --help shows its usage)", kExitUsage);
}

const ardeko::T_CustomField* FindExtraField(const ardeko::T_Password& p, const std::string& name,
                                            const std::string& fixedFields) {
    for (const ardeko::T_CustomField& f : p.Fields)
        if (f.name == name) return &f;
    Fail("entry \"" + p.service + "\" has no field \"" + name + "\" (" + fixedFields +
         " or an extra field)");
    return nullptr;
}

namespace {

// A refused password and a file that is no data file share one store error;
// a file whose header reads is a data file, so the password was wrong.
int ExitCodeOf(const ardeko::clsPW& store, const std::string& path) {
    if (store.Refusal() || store.ErrNum() == ardeko::StoreError::UnstorableText)
        return kExitRefused;
    if (store.ErrNum() != ardeko::StoreError::BadFile) return kExitBadFile;
    ardeko::DataFileInfo info;
    return path.empty() || !ardeko::ReadDataFileInfo(path, info) ? kExitWrongPassword
                                                                 : kExitBadFile;
}

} // namespace

int FailStore(const ardeko::clsPW& store, const std::string& after) {
    return Fail(store.ErrDescr() + after, ExitCodeOf(store, store.Filename()));
}

int LoadFailure(const ardeko::clsPW& store, const std::string& path) {
    const bool slow = store.ErrNum() == ardeko::StoreError::SlowKdf;
    return Fail(store.ErrDescr() + (slow ? " Give --allow-slow-key to open it anyway." : ""),
                ExitCodeOf(store, path));
}

std::optional<int> CheckFileFormat(const Options& options) {
    if (options.format.empty() || options.format == "legacy" || options.format == "2")
        return std::nullopt;
    return UsageFail("--format needs legacy or 2");
}

std::optional<int> OpenStore(const Options& options, ardeko::clsPW& store, std::string* keep,
                             ardeko::EntryTexts texts) {
    std::string password, error;
    if (!ReadPassword({options.passwordStdin, false}, password, error))
        return Fail(error, kExitUsage);
    const bool loaded = store.LoadFileForListing(options.file, password, texts);
    if (keep) keep->swap(password);
    ardeko::WipeString(password);
    if (!loaded) return LoadFailure(store, options.file);
    WarnAfterLoad(options.file, store);
    return std::nullopt;
}

void WarnAfterLoad(const std::string& file, const ardeko::clsPW& store) {
    const int warning = store.ErrNum();
    if (warning == ardeko::StoreError::DamagedFile ||
        warning == ardeko::StoreError::AppendedBytes || warning == ardeko::StoreError::WeakKdf)
        std::cerr << "qvs-cli: warning: " << store.ErrDescr() << '\n';
    if (store.PasswordUnchecked())
        std::cerr << "qvs-cli: warning: " << file
                  << " cannot tell a wrong password (written by another program): a mistyped "
                     "password may have opened it with garbled texts.\n";
}

std::optional<int> ConfirmPassword(const Options& options, ardeko::clsPW& store) {
    if (!store.PasswordUnchecked()) return std::nullopt;
    std::cerr << "qvs-cli: give the password of " << options.file << " again before it is written"
              << (options.passwordStdin ? " (the next line of standard input).\n" : ".\n");
    std::string again, error;
    if (!ReadPassword({options.passwordStdin, false}, again, error)) return Fail(error, kExitUsage);
    const bool same = store.ConfirmFilePW(again);
    ardeko::WipeString(again);
    if (!same) return Fail(store.ErrDescr(), kExitWrongPassword);
    return std::nullopt;
}

int ReadNewFilePassword(const Options& options, std::string& password) {
    std::string error;
    if (!ReadPassword({options.passwordStdin, true}, password, error))
        return Fail(error, kExitUsage);
    // An empty line (a script's unset variable) would leave the file open
    // to anyone who has it.
    if (password.empty() && !options.Has("--no-password"))
        return Fail("the new password is empty; give --no-password if the file is to have none",
                    kExitUsage);
    if (!password.empty() && options.Has("--no-password"))
        return Fail("--no-password, but a password was given", kExitUsage);
    return kExitOk;
}

std::string IsoDate(double storeDate) {
    const ardeko::VbDateTime t = ardeko::VbDateToParts(storeDate);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
    return text;
}

int RunDump(const Options& options) {
    ardeko::clsPW store;
    if (auto code = OpenStore(options, store)) return *code;
    std::cout.flush();
    return WriteStoreJson(store, stdout, options.withHistory)
               ? kExitOk
               : Fail("cannot write to standard output");
}

} // namespace qvs
