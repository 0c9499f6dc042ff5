// qvs-cli create: a new data file from JSON. Replacing a data file takes
// --force and keeps the file as it was beside it.
#include "cli/commands.h"
#include "cli/password_prompt.h"
#include "cli/store_json.h"
#include "store/crypto/secret_key.h"
#include "store/io/file_io.h"
#include "store/pw.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <set>

namespace qvs {

namespace {

// Standard input after the password line, or a regular file (a folder or a
// FIFO gets a message, not a hang).
std::optional<std::string> ReadSource(const std::string& path, std::string& text) {
    if (path != "-") {
        if (auto err = ardeko::ReadWholeFile(path, text)) return err->descr;
        return std::nullopt;
    }
    text.assign(std::istreambuf_iterator<char>(std::cin), {});
    if (std::cin.bad()) return std::string("standard input could not be read");
    return std::nullopt;
}

std::optional<std::string> ParseJsonObject(const std::string& path, const std::string& text,
                                           QJsonObject& out) {
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return path + ": invalid JSON at offset " + std::to_string(parseError.offset) + ": " +
               parseError.errorString().toStdString();
    if (!doc.isObject()) return path + ": expected one JSON object holding the record lists";
    out = doc.object();
    return std::nullopt;
}

// The earlier passwords of the file being replaced that the new one will
// not hold, counted by entry; read with the new password, so a file under
// another password cannot be checked (said so).
void WarnOfLostHistory(const std::string& path, const std::string& password,
                       const ardeko::clsPW& made) {
    ardeko::clsPW old;
    if (!old.LoadFile(path, password)) {
        std::cerr << "qvs-cli: warning: " << path
                  << " does not open with the new password, so its earlier passwords could not "
                     "be checked; the backup copy keeps them.\n";
        return;
    }
    std::size_t entries = 0;
    for (const ardeko::T_Password& p : old.Password()) {
        if (p.History.empty()) continue;
        const ardeko::T_Password* now = made.Password().Find(p.service);
        std::set<std::string> kept;
        if (now)
            for (const auto& h : now->History)
                kept.insert(h.pw);
        for (const auto& h : p.History)
            if (!kept.contains(h.pw)) {
                ++entries;
                break;
            }
    }
    if (entries)
        std::cerr << "qvs-cli: warning: " << entries << " entr" << (entries == 1 ? "y" : "ies")
                  << " of " << path
                  << " had earlier passwords the JSON does not hold (dump --with-history keeps "
                     "them); the backup copy still has them.\n";
}

} // namespace

int RunCreate(const Options& options) {
    if (!options.Has("--from")) return UsageFail("create needs --from JSON");
    if (auto code = CheckFileFormat(options)) return *code;
    const bool exists = std::filesystem::exists(options.file);
    if (exists && !options.Has("--force"))
        return Fail(options.file + " exists; give --force to replace it (a backup copy is kept)",
                    kExitRefused);
    std::string password, text;
    // From standard input the password comes first: it is the first line.
    const bool fromStdin = options.jsonFile == "-";
    if (fromStdin)
        if (int code = ReadNewFilePassword(options, password)) return code;
    if (auto err = ReadSource(options.jsonFile, text)) return Fail(*err);
    QJsonObject doc;
    const auto parsed = ParseJsonObject(fromStdin ? "standard input" : options.jsonFile, text, doc);
    ardeko::WipeString(text);
    if (parsed) return Fail(*parsed, kExitUsage);
    ardeko::clsPW store;
    store.NewFile();
    if (auto err = FillStoreFromJson(doc, store))
        return Fail((fromStdin ? "standard input" : options.jsonFile) + ": " + *err, kExitUsage);
    if (!fromStdin)
        if (int code = ReadNewFilePassword(options, password)) return code;
    if (exists) WarnOfLostHistory(options.file, password, store);
    store.SetFilePW(password);
    ardeko::WipeString(password);
    if (options.format == "legacy") store.SetFormat(ardeko::FileFormat::Legacy);
    // A time-stamped copy, as a conversion keeps: the plain .BCK may hold an
    // older version already, which a save never replaces. Its name is fixed
    // before the save so that the message names it.
    const double now = store.Now();
    store.SetClock([now] { return now; });
    const std::string backup = store.BackupPathFor(options.file, true);
    if (!store.SaveFile(options.file, /*backup*/ exists, /*backhist*/ true))
        return FailStore(store);
    if (exists)
        std::cerr << "qvs-cli: " << options.file << " was replaced; the file as it was is kept as "
                  << backup << '\n';
    return kExitOk;
}

} // namespace qvs
