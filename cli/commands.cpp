#include "cli/commands.h"

#include "cli/json_writer.h"
#include "cli/password_prompt.h"
#include "cli/store_json.h"
#include "store/datafile.h"
#include "store/file_io.h"
#include "store/pw.h"
#include "store/secret_key.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <iostream>
#include <optional>

namespace qvs {

namespace {

std::optional<std::string> ReadJsonObject(const std::string& path, QJsonObject& out) {
    // Regular files only: a folder or a FIFO gets a message, not a hang or a crash.
    std::string text;
    if (auto err = ardeko::ReadWholeFile(path, text)) return err->descr;
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return path + ": invalid JSON at offset " + std::to_string(parseError.offset) + ": " +
               parseError.errorString().toStdString();
    if (!doc.isObject()) return path + ": expected one JSON object holding the record lists";
    out = doc.object();
    return std::nullopt;
}

} // namespace

int Fail(const std::string& message) {
    std::cerr << "qvs-cli: " << message << '\n';
    return kExitFailure;
}

std::optional<int> OpenStore(const Options& options, ardeko::clsPW& store, std::string* keep) {
    std::string password, error;
    if (!ReadPassword({options.passwordStdin, false}, password, error)) return Fail(error);
    const bool loaded = store.LoadFile(options.file, password);
    if (keep) keep->swap(password);
    ardeko::WipeString(password);
    if (!loaded) return Fail(store.ErrDescr());
    WarnAfterLoad(options.file, store);
    return std::nullopt;
}

void WarnAfterLoad(const std::string& file, const ardeko::clsPW& store) {
    const int warning = store.ErrNum();
    if (warning == ardeko::kErrDamagedFile || warning == ardeko::kErrAppendedBytes ||
        warning == ardeko::kErrWeakKdf)
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
    if (!ReadPassword({options.passwordStdin, false}, again, error)) return Fail(error);
    const bool same = store.ConfirmFilePW(again);
    ardeko::WipeString(again);
    if (!same) return Fail(store.ErrDescr());
    return std::nullopt;
}

int RunDump(const Options& options) {
    ardeko::clsPW store;
    if (auto code = OpenStore(options, store)) return *code;
    std::cout.flush();
    return WriteStoreJson(store, stdout, options.withHistory)
               ? kExitOk
               : Fail("cannot write to standard output");
}

int RunCreate(const Options& options) {
    QJsonObject doc;
    if (auto err = ReadJsonObject(options.jsonFile, doc)) return Fail(*err);
    ardeko::clsPW store;
    store.NewFile();
    if (auto err = FillStoreFromJson(doc, store)) return Fail(options.jsonFile + ": " + *err);
    std::string password, error;
    if (!ReadPassword({options.passwordStdin, true}, password, error)) return Fail(error);
    store.SetFilePW(password);
    ardeko::WipeString(password);
    if (options.format == "legacy") store.SetFormat(ardeko::FileFormat::Legacy);
    if (!store.SaveFile(options.file, /*backup*/ false)) return Fail(store.ErrDescr());
    return kExitOk;
}

} // namespace qvs
