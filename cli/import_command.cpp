#include "cli/import_command.h"

#include "cli/commands.h"
#include "store/import/foreign_import.h"
#include "store/io/file_io.h"
#include "store/legacy/legacy_file.h"
#include "store/pw.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <optional>

namespace qvs {

namespace {

struct ImportSettings {
    ardeko::ReadOptions read;
    bool dryRun = false;
};

std::optional<char> DelimiterByName(const std::string& v) {
    if (v == "tab" || v == "\\t") return '\t';
    if (v.size() == 1 && v != "\"" && v != "\n") return v[0];
    return std::nullopt;
}

// Fills settings from the import options; returns why one is unusable.
std::optional<std::string> ReadSettings(const Options& options, ImportSettings& s) {
    s.dryRun = options.dryRun;
    if (!options.format.empty()) {
        const auto f = ardeko::FormatByName(options.format);
        if (!f)
            return "--format: unknown format " + options.format +
                   " (auto, chrome, firefox, keepass-csv, "
                   "bitwarden-csv, bitwarden-json, lastpass, csv)";
        s.read.format = *f;
    }
    for (const auto& [name, value] : options.importOptions) {
        if (name == "--no-captions") {
            s.read.firstRowCaptions = false;
        } else if (name == "--map") {
            s.read.mapText = value;
        } else if (name == "--encoding") {
            const auto e = ardeko::EncodingByName(value);
            if (!e)
                return "--encoding: unknown encoding " + value + " (auto, utf-8, utf-16, cp1252)";
            s.read.encoding = *e;
        } else if (const auto d = DelimiterByName(value)) {
            s.read.delimiter = *d;
        } else {
            return "--delimiter: give one character, or tab";
        }
    }
    const bool generic = s.read.format == ardeko::ForeignFormat::Csv;
    if (!generic && (!s.read.mapText.empty() || s.read.delimiter || !s.read.firstRowCaptions))
        return "--map, --delimiter and --no-captions are for --format csv";
    return std::nullopt;
}

} // namespace

int RunImport(const Options& options) {
    if (options.jsonFile.empty()) return UsageFail("import needs --from SOURCE");
    ImportSettings settings;
    if (auto err = ReadSettings(options, settings)) return UsageFail(*err);
    // The other program's file is read before the password is asked for, so
    // a bad file costs the user nothing.
    std::string bytes;
    if (auto err = ardeko::ReadFileHead(options.jsonFile, ardeko::kMaxForeignFileBytes + 1, bytes))
        return Fail(err->descr);
    ardeko::ForeignData data;
    if (auto err = ardeko::ReadForeignData(bytes, settings.read, data))
        return Fail(options.jsonFile + ": " + *err);
    ardeko::clsPW store;
    if (auto code = OpenStore(options, store)) return *code;
    // Saving what could be read of a damaged file would drop the rest.
    if (store.ErrNum() == ardeko::StoreError::DamagedFile)
        return Fail("nothing was imported into a damaged file; open it in QVS to see what it "
                    "still holds.",
                    kExitBadFile);
    const ardeko::ImportPlan plan = ardeko::PlanImport(store, data, {store.Now(), 0});
    std::cout << ardeko::ImportSummaryText(plan);
    if (plan.problem) return Fail(*plan.problem + " Nothing was imported.", kExitRefused);
    if (settings.dryRun) {
        // As far as the import itself goes, on a copy.
        ardeko::clsPW trial(store);
        if (auto err = ardeko::ApplyImport(trial, plan))
            return Fail(*err + " Nothing would be imported.", kExitRefused);
        return kExitOk;
    }
    if (auto code = ConfirmPassword(options, store)) return *code;
    if (auto err = ardeko::ApplyImport(store, plan))
        return Fail(*err + " Nothing was imported.", kExitRefused);
    if (!store.SaveFile("", /*backup*/ true)) return FailStore(store, " The file was not changed.");
    return kExitOk;
}

} // namespace qvs
