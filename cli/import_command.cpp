#include "cli/import_command.h"

#include "cli/commands.h"
#include "store/datafile.h"
#include "store/file_io.h"
#include "store/foreign_import.h"
#include "store/pw.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <optional>

namespace qvs {

namespace {

constexpr std::array<std::string_view, 3> kValueOptions = {"--map", "--encoding", "--delimiter"};
constexpr std::array<std::string_view, 1> kFlags = {"--no-captions"};

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

bool IsImportOption(std::string_view arg) {
    return ImportOptionTakesValue(arg) ||
           std::find(kFlags.begin(), kFlags.end(), arg) != kFlags.end();
}

bool ImportOptionTakesValue(std::string_view arg) {
    return std::find(kValueOptions.begin(), kValueOptions.end(), arg) != kValueOptions.end();
}

int RunImport(const Options& options) {
    ImportSettings settings;
    if (auto err = ReadSettings(options, settings)) {
        std::cerr << "qvs-cli: " << *err << '\n';
        return kExitUsage;
    }
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
    if (store.ErrNum() == ardeko::kErrDamagedFile)
        return Fail("nothing was imported into a damaged file; open it in QVS to see what it "
                    "still holds.");
    const ardeko::ImportPlan plan = ardeko::PlanImport(store, data, {store.Now(), 0});
    std::cout << ardeko::ImportSummaryText(plan);
    if (plan.problem) return Fail(*plan.problem + " Nothing was imported.");
    if (settings.dryRun) {
        // As far as the import itself goes, on a copy.
        ardeko::clsPW trial(store);
        if (auto err = ardeko::ApplyImport(trial, plan))
            return Fail(*err + " Nothing would be imported.");
        return kExitOk;
    }
    if (auto code = ConfirmPassword(options, store)) return *code;
    if (auto err = ardeko::ApplyImport(store, plan)) return Fail(*err + " Nothing was imported.");
    if (!store.SaveFile("", /*backup*/ true))
        return Fail(store.ErrDescr() + " The file was not changed.");
    return kExitOk;
}

} // namespace qvs
