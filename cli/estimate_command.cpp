// qvs-cli estimate: the strength of one password, by QVS's own measure.
#include "cli/commands.h"
#include "cli/health_commands.h"
#include "cli/password_prompt.h"
#include "store/crypto/secret_key.h"
#include "store/passwords/password_strength.h"

#include <array>
#include <cmath>
#include <iostream>
#include <unistd.h>

namespace qvs {

namespace {

constexpr const char* kEstimateUsage =
    "Usage: qvs-cli estimate\n"
    "  Reads one password (the first line of standard input, or asked for on the\n"
    "  terminal) and prints its estimated strength in bits, rounded down, and its\n"
    "  level (very weak, weak, fair, strong, very strong), separated by a tab.\n";

constexpr std::array<const char*, ardeko::kStrongestLevel + 1> kLevelWords = {
    "very weak", "weak", "fair", "strong", "very strong"};

} // namespace

int RunEstimate(const std::vector<std::string_view>& args) {
    for (std::string_view a : args)
        if (a == "--help" || a == "-h") {
            std::cout << kEstimateUsage;
            return kExitOk;
        }
    if (args.size() > 1) {
        // Never echo it: an argument here may well be the password itself.
        Fail(std::string("estimate takes no arguments; it reads the password from standard "
                         "input\n\n") +
             kEstimateUsage);
        return kExitUsage;
    }
    std::string password, error;
    const bool fromTerminal = ::isatty(STDIN_FILENO) != 0;
    if (!ReadPassword({!fromTerminal, false}, password, error) || password.empty()) {
        Fail(error.empty() ? "the password is empty" : error);
        ardeko::WipeString(password);
        return kExitUsage;
    }
    const double bits = ardeko::PasswordEntropyBits(password);
    ardeko::WipeString(password);
    std::cout << static_cast<long>(std::floor(bits)) << '\t'
              << kLevelWords[static_cast<std::size_t>(ardeko::StrengthLevel(bits))] << '\n';
    std::cout.flush();
    if (std::cout) return kExitOk;
    Fail("cannot write to standard output");
    return kExitBadFile;
}

} // namespace qvs
