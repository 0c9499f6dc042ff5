// qvs-cli analyze: one line per finding, "SERVICE<tab>ISSUE<tab>DETAIL", and
// a count of each issue on standard error. No password is ever printed.
#include "cli/commands.h"
#include "cli/health_commands.h"
#include "store/passwords/breached_list.h"
#include "store/passwords/password_health.h"
#include "store/pw.h"

#include <array>
#include <cmath>
#include <iostream>
#include <optional>

namespace qvs {

namespace {

using ardeko::HealthFinding;
using ardeko::HealthIssue;

constexpr const char* kAnalyzeUsage =
    "Usage: qvs-cli analyze FILE [--breached HASHFILE] [--password-stdin]\n"
    "  Reports the passwords of the data file FILE that need attention, one line each:\n"
    "  entry, issue and detail, separated by tabs. Issues: breached (found in HASHFILE),\n"
    "  weak, reused (one group number per shared password), expired, expires soon,\n"
    "  change due, change soon, old (set more than a year ago). HASHFILE is a list of\n"
    "  SHA-1 hashes of breached passwords as lines HASH:COUNT sorted by hash; it is\n"
    "  searched where it lies. Nothing leaves the machine; no password is printed.\n";

constexpr std::array<const char*, 8> kIssueWords = {
    "breached", "weak", "reused", "expired", "expires soon", "change due", "change soon", "old"};

struct AnalyzeArgs {
    Options open;         // file and where the password comes from
    std::string breached; // "" without a list
};

std::optional<std::string> ParseAnalyze(const std::vector<std::string_view>& args,
                                        AnalyzeArgs& out) {
    std::vector<std::string_view> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (a == "--password-stdin") {
            out.open.passwordStdin = true;
        } else if (a == "--breached") {
            if (++i == args.size()) return "--breached needs a file name";
            out.breached = args[i];
        } else if (a.starts_with("-") && a != "-") {
            // Without any "=value": it could be a password typed in the wrong place.
            return "unknown option " + std::string(a.substr(0, a.find('='))) + " for analyze";
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 1) return "analyze needs one data file";
    out.open.command = "analyze";
    out.open.file = positional[0];
    return std::nullopt;
}

std::string Detail(const HealthFinding& f) {
    switch (f.issue) {
    case HealthIssue::Breached:
        return "seen " + std::to_string(f.timesSeen) + " times";
    case HealthIssue::Weak:
        // Rounded down, as QVS shows it: never more than there is.
        return std::to_string(static_cast<long>(std::floor(f.bits))) + " bits";
    case HealthIssue::Reused:
        return "group " + std::to_string(f.group) + ", " + std::to_string(f.sharedBy) + " entries";
    case HealthIssue::Old:
        return "set " + IsoDate(f.date);
    default:
        return IsoDate(f.date);
    }
}

void PrintSummary(const ardeko::HealthReport& report) {
    std::array<std::size_t, kIssueWords.size()> counts{};
    for (const HealthFinding& f : report.findings)
        ++counts[static_cast<std::size_t>(f.issue)];
    std::cerr << report.entries << " entries";
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (i == 0 && !report.breachedChecked) continue;
        std::cerr << ", " << counts[i] << ' ' << kIssueWords[i];
    }
    std::cerr << '\n';
}

int FailWith(const std::string& message, int code) {
    Fail(message);
    return code;
}

} // namespace

int RunAnalyze(const std::vector<std::string_view>& args) {
    for (std::string_view a : args)
        if (a == "--help" || a == "-h") {
            std::cout << kAnalyzeUsage;
            return kExitOk;
        }
    AnalyzeArgs parsed;
    if (auto err = ParseAnalyze(args, parsed))
        return FailWith(*err + "\n\n" + kAnalyzeUsage, kExitUsage);
    // The list first: a wrong name costs no password.
    std::optional<ardeko::BreachedList> list;
    if (!parsed.breached.empty() && !list.emplace().Open(parsed.breached))
        return FailWith(list->ErrDescr(), kExitBadFile);
    ardeko::clsPW store;
    if (auto code = OpenStore(parsed.open, store)) return *code;
    ardeko::HealthReport report;
    const auto result = ardeko::AnalysePasswords(store, {list ? &*list : nullptr, {}}, report);
    if (result == ardeko::HealthResult::ListUnreadable)
        return FailWith(list->ErrDescr(), kExitBadFile);
    for (const HealthFinding& f : report.findings)
        std::cout << f.service << '\t' << kIssueWords[static_cast<std::size_t>(f.issue)] << '\t'
                  << Detail(f) << '\n';
    PrintSummary(report);
    std::cout.flush();
    return std::cout ? kExitOk : FailWith("cannot write to standard output", kExitBadFile);
}

} // namespace qvs
