// qvs-cli: a data file as JSON and back, for scripts, tests and inspection.
#include "cli/commands.h"
#include "cli/health_commands.h"
#include "cli/import_command.h"
#include "store/process_guard.h"

#include <iostream>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  qvs-cli dump FILE [--with-history] [--password-stdin]\n"
    "      Writes every record of the data file FILE to standard output as one JSON object;\n"
    "      the entries' earlier passwords only with --with-history.\n"
    "  qvs-cli show FILE SERVICE [--field user|password|url|notes|code|NAME]\n"
    "          [--password-stdin]\n"
    "      Prints the fields of the entry SERVICE but its password and protected fields, or\n"
    "      only the field asked for: the password only so, code the current one-time code,\n"
    "      NAME the entry's extra field of that name (a protected one only so).\n"
    "  qvs-cli ls FILE [--password-stdin]\n"
    "      Lists the category tree with its entries, one per line (no passwords).\n"
    "  qvs-cli expiring FILE [--password-stdin]\n"
    "      Lists the entries whose expiry or change date has come or is near:\n"
    "      name, reason and date, separated by tabs.\n"
    "  qvs-cli create FILE --from JSON [--format legacy|2] [--password-stdin]\n"
    "      Writes a new data file FILE (replacing any) from the records in the file JSON,\n"
    "      which has the shape dump writes, in format 2 (default) or the legacy format.\n"
    "  qvs-cli merge FILE OTHER [--base BASE] [--dry-run] [--password-stdin]\n"
    "      Merges OTHER, another version of FILE, into FILE (backed up as on every save)\n"
    "      and lists what came from where; with BASE, the version both started\n"
    "      from, deletions are merged too. A file with another password asks for it next.\n"
    "  qvs-cli conflicts FILE\n"
    "      Lists the copies of FILE a file-sync tool left beside it (no password needed).\n"
    "  qvs-cli import FILE --from SOURCE [--format FORMAT] [--dry-run] [--password-stdin]\n"
    "          [--encoding auto|utf-8|utf-16|cp1252] [--map FIELD=COLUMN,...] [--delimiter C]\n"
    "          [--no-captions]\n"
    "      Adds the entries another password program exported to SOURCE to the data file\n"
    "      FILE, in one save that keeps a backup copy; prints what it imports. FORMAT: auto,\n"
    "      chrome, firefox, keepass-csv, bitwarden-csv, bitwarden-json, lastpass or csv;\n"
    "      for csv, --map says which column (caption or number) holds which field (title,\n"
    "      user, password, url, notes, email, group, favourite). --dry-run writes nothing.\n"
    "  qvs-cli convert FILE [--format legacy|2] [--password-stdin]\n"
    "      Writes FILE again in format 2 (default) or the legacy format; the file as it\n"
    "      was is kept as a backup copy.\n"
    "  qvs-cli info FILE\n"
    "      Prints the file's format and key-derivation parameters (no password needed).\n"
    "  qvs-cli analyze FILE [--breached HASHFILE] [--password-stdin]\n"
    "      Reports weak, shared, due, old and (with HASHFILE) breached passwords.\n"
    "  qvs-cli estimate\n"
    "      Prints the strength of the password on standard input.\n"
    "  qvs-cli --help\n"
    "\n"
    "The password is asked for on the terminal, or with --password-stdin read from the\n"
    "first line of standard input.\n";

using Command = int (*)(const qvs::Options&);

const std::map<std::string, Command>& Commands() {
    static const std::map<std::string, Command> commands = {
        {"dump", qvs::RunDump},          {"create", qvs::RunCreate},   {"ls", qvs::RunList},
        {"expiring", qvs::RunExpiring},  {"convert", qvs::RunConvert}, {"info", qvs::RunInfo},
        {"merge", qvs::RunMerge},        {"import", qvs::RunImport},   {"show", qvs::RunShow},
        {"conflicts", qvs::RunConflicts}};
    return commands;
}

int UsageError(const std::string& message) {
    std::cerr << "qvs-cli: " << message << "\n\n" << kUsage;
    return qvs::kExitUsage;
}

// Fills options from the arguments; returns why they are unusable, if they are.
std::optional<std::string> Parse(const std::vector<std::string_view>& args, qvs::Options& options) {
    std::vector<std::string_view> positional;
    bool haveFrom = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (a == "--password-stdin") {
            options.passwordStdin = true;
        } else if (a == "--from") {
            if (++i == args.size()) return "--from needs a file name";
            options.jsonFile = args[i];
            haveFrom = true;
        } else if (a == "--format") {
            if (++i == args.size()) return "--format needs a value";
            options.format = args[i];
        } else if (a == "--base") {
            if (++i == args.size()) return "--base needs a file name";
            options.base = args[i];
        } else if (a == "--dry-run") {
            options.dryRun = true;
        } else if (a == "--with-history") {
            options.withHistory = true;
        } else if (a == "--field") {
            if (++i == args.size()) return "--field needs a value";
            options.field = args[i];
        } else if (qvs::IsImportOption(a)) {
            const bool valued = qvs::ImportOptionTakesValue(a);
            if (valued && ++i == args.size()) return std::string(a) + " needs a value";
            options.importOptions.emplace_back(a, valued ? args[i] : "");
        } else if (a.starts_with("-") && a != "-") {
            // Without any "=value": it could be a password typed in the wrong place.
            return "unknown option " + std::string(a.substr(0, a.find('=')));
        } else {
            positional.push_back(a);
        }
    }
    const bool merge = !positional.empty() && positional[0] == "merge";
    const bool show = !positional.empty() && positional[0] == "show";
    if (positional.size() != (merge || show ? 3u : 2u))
        return merge  ? "merge needs FILE and OTHER"
               : show ? "show needs FILE and SERVICE"
                      : "expected a command and a file name";
    options.command = positional[0];
    options.file = positional[1];
    if (merge) options.other = positional[2];
    if (show) options.service = positional[2];
    if (options.withHistory && options.command != "dump") return "--with-history is for dump only";
    if (!options.field.empty() && !show) return "--field is for show only";
    if (!Commands().contains(options.command)) return "unknown command " + options.command;
    if (!merge && !options.base.empty()) return "--base is for merge only";
    if (options.dryRun && !merge && options.command != "import")
        return "--dry-run is for merge and import only";
    const bool takesFrom = options.command == "create" || options.command == "import";
    if (takesFrom != haveFrom)
        return haveFrom ? "--from is for create and import only"
                        : options.command + " needs --from FILE";
    if (!options.importOptions.empty() && options.command != "import")
        return options.importOptions.front().first + " is for import only";
    const bool fileFormat = options.command == "create" || options.command == "convert";
    if (!options.format.empty() && !fileFormat && options.command != "import")
        return "--format is for create, convert and import only";
    if (fileFormat && !options.format.empty() && options.format != "legacy" &&
        options.format != "2")
        return "--format needs legacy or 2";
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    ardeko::KeepSecretsOutOfDumps();
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "analyze") return qvs::RunAnalyze(args);
    if (!args.empty() && args[0] == "estimate") return qvs::RunEstimate(args);
    for (std::string_view a : args)
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return qvs::kExitOk;
        }
    qvs::Options options;
    if (auto err = Parse(args, options)) return UsageError(*err);
    return Commands().at(options.command)(options);
}
