// qvs-cli generate: a password or passphrase as QVS's generator makes it.
#include "cli/commands.h"
#include "store/passwords/password_generator.h"

#include <QFile>

#include <charconv>
#include <cstdlib>
#include <iostream>
#include <sstream>

namespace qvs {

namespace {

std::optional<int> Number(const std::string& text, int low, int high) {
    int n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || n < low || n > high)
        return std::nullopt;
    return n;
}

// Classes named in a comma-separated list; why one is unknown otherwise.
std::optional<std::string> ReadClasses(const std::string& list, ardeko::GeneratorOptions& g) {
    g.capitals = g.smallLetters = g.digits = g.symbols = false;
    std::istringstream in(list);
    for (std::string name; std::getline(in, name, ',');) {
        if (name == "upper")
            g.capitals = true;
        else if (name == "lower")
            g.smallLetters = true;
        else if (name == "digits")
            g.digits = true;
        else if (name == "symbols")
            g.symbols = true;
        else if (name == "no-look-alikes")
            g.noLookAlikes = true;
        else
            return "--classes: unknown class \"" + name +
                   "\" (upper, lower, digits, symbols, no-look-alikes)";
    }
    if (!g.capitals && !g.smallLetters && !g.digits && !g.symbols)
        return std::string("--classes: choose at least one of upper, lower, digits, symbols");
    return std::nullopt;
}

// The shipped list of the user's language (Italian or English).
std::vector<std::string> Words() {
    const char* lang = std::getenv("LANG");
    const bool italian = lang && std::string_view(lang).starts_with("it");
    QFile file(italian ? QStringLiteral(":/words/ITA") : QStringLiteral(":/words/ENG"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return ardeko::ParseWordList(file.readAll().toStdString());
}

} // namespace

int RunGenerate(const Options& options) {
    using G = ardeko::GeneratorOptions;
    G g;
    if (options.Has("--length")) {
        const auto n = Number(options.Value("--length"), G::kMinLength, G::kMaxLength);
        if (!n) return UsageFail("--length needs a number from 4 to 128");
        g.length = *n;
    }
    if (options.Has("--classes"))
        if (auto err = ReadClasses(options.Value("--classes"), g)) return UsageFail(*err);
    if (options.Has("--words")) {
        if (options.Has("--length") || options.Has("--classes"))
            return UsageFail(
                "--words makes a passphrase: --length and --classes are for passwords");
        const auto n = Number(options.Value("--words"), G::kMinWords, G::kMaxWords);
        if (!n) return UsageFail("--words needs a number from 3 to 12");
        g.passphrase = true;
        g.words = *n;
    }
    const std::vector<std::string> words = g.passphrase ? Words() : std::vector<std::string>{};
    if (g.passphrase && words.empty()) return Fail("the word list could not be read");
    const std::string made =
        g.passphrase ? ardeko::GeneratePassphrase(g, words) : ardeko::GeneratePassword(g);
    std::cout << made << '\n';
    return std::cout.flush() ? kExitOk : Fail("cannot write to standard output");
}

} // namespace qvs
