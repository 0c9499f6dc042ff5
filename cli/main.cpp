// qvs-cli: data files for scripts: entries, categories, passwords, search,
// export, and the whole file as JSON and back.
#include "cli/commands.h"
#include "cli/health_commands.h"
#include "cli/heap_pages.h"
#include "cli/verbs.h"
#include "store/crypto/kdf.h"
#include "store/io/process_guard.h"

#include <algorithm>

#include <iostream>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kAnalyzeHelp =
    "qvs-cli analyze FILE [--breached HASHFILE] [--password-stdin]\n"
    "    Reports weak, shared, due, old and (with HASHFILE) breached passwords.\n";
constexpr const char* kEstimateHelp =
    "qvs-cli estimate\n"
    "    Prints the strength of the password on standard input.\n";

constexpr const char* kTail =
    "\nThe password is asked for on the terminal, or with --password-stdin read from the\n"
    "first line of standard input. qvs-cli COMMAND --help shows one command's usage.\n"
    "A file whose key settings are beyond what is opened without asking (raised under an\n"
    "earlier version) is refused with exit code 3; --allow-slow-key, given to any command,\n"
    "opens it anyway after the wait its message estimates.\n"
    "Exit codes: 0 done, 1 usage, 2 wrong password, 3 damaged or unreadable file,\n"
    "4 no such entry or category, 5 refused (the file cannot hold it, or it would lose data).\n";

void PrintUsage(std::ostream& out) {
    out << "Usage:\n";
    for (const qvs::Verb& verb : qvs::Verbs())
        out << "  " << verb.help;
    out << "  " << kAnalyzeHelp << "  " << kEstimateHelp;
    out << "  qvs-cli --version\n" << kTail;
}

int UsageError(const std::string& message) {
    std::cerr << "qvs-cli: " << message << "\n\n";
    PrintUsage(std::cerr);
    return qvs::kExitUsage;
}

// --allow-slow-key goes with every command that opens a file: taken out
// here, it is heard by every read of this process.
std::vector<std::string_view> WithoutSlowKeyOption(std::vector<std::string_view> args) {
    const auto it = std::remove(args.begin(), args.end(), std::string_view("--allow-slow-key"));
    ardeko::AllowSlowKdf(it != args.end());
    args.erase(it, args.end());
    return args;
}

bool AsksForHelp(const std::vector<std::string_view>& args) {
    for (std::string_view a : args)
        if (a == "--help" || a == "-h") return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    ardeko::KeepSecretsOutOfDumps();
    // Grows on demand beyond this: a file of 30,000 entries reads within it.
    qvs::BackHeapWithLargePages(std::size_t{24} << 20);
    const std::vector<std::string_view> args =
        WithoutSlowKeyOption(std::vector<std::string_view>(argv + 1, argv + argc));
    // The health verbs read their own arguments and answer --help themselves.
    if (!args.empty() && args[0] == "analyze") return qvs::RunAnalyze(args);
    if (!args.empty() && args[0] == "estimate") return qvs::RunEstimate(args);
    if (!args.empty() && args[0] == "--version") {
        std::cout << "qvs-cli " << QVS_VERSION << '\n';
        return qvs::kExitOk;
    }
    const qvs::Verb* verb = args.empty() ? nullptr : qvs::FindVerb(args[0]);
    if (AsksForHelp(args)) {
        if (verb)
            std::cout << "Usage:\n  " << verb->help << kTail;
        else
            PrintUsage(std::cout);
        return qvs::kExitOk;
    }
    if (args.empty()) return UsageError("expected a command");
    if (!verb)
        return UsageError("unknown command " + std::string(args[0].substr(0, args[0].find('='))));
    qvs::Options options;
    const std::vector<std::string_view> rest(args.begin() + 1, args.end());
    if (auto err = qvs::ParseArguments(*verb, rest, options)) {
        std::cerr << "qvs-cli: " << *err << "\n\nUsage:\n  " << verb->help;
        return qvs::kExitUsage;
    }
    return verb->run(options);
}
