#include "store/passwords/password_generator.h"

#include "store/crypto/sodium_calls.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

namespace ardeko {

namespace {

constexpr char kCapitals[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr char kSmallLetters[] = "abcdefghijklmnopqrstuvwxyz";
constexpr char kDigits[] = "0123456789";
constexpr char kSymbols[] = "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";
constexpr std::string_view kLookAlikes = "0Oo1lI|'\"`";
constexpr int kMaxTries = 1000;

// The chosen kinds, each without the look-alikes when they are left out.
std::vector<std::string> Kinds(const GeneratorOptions& o) {
    const std::array<std::pair<bool, const char*>, 4> all{{{o.capitals, kCapitals},
                                                           {o.smallLetters, kSmallLetters},
                                                           {o.digits, kDigits},
                                                           {o.symbols, kSymbols}}};
    std::vector<std::string> kinds;
    for (const auto& [chosen, chars] : all) {
        if (!chosen) continue;
        std::string kind = chars;
        if (o.noLookAlikes)
            std::erase_if(kind, [](char c) { return kLookAlikes.find(c) != kLookAlikes.npos; });
        kinds.push_back(std::move(kind));
    }
    return kinds;
}

std::string Joined(const std::vector<std::string>& kinds) {
    std::string pool;
    for (const std::string& kind : kinds)
        pool += kind;
    return pool;
}

bool HasEveryKind(const std::string& password, const std::vector<std::string>& kinds) {
    return std::all_of(kinds.begin(), kinds.end(), [&](const std::string& kind) {
        return password.find_first_of(kind) != std::string::npos;
    });
}

std::string Draw(const std::string& pool, int length, const UniformRandom& random) {
    std::string out;
    out.reserve(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i)
        out += pool[random(static_cast<std::uint32_t>(pool.size()))];
    return out;
}

} // namespace

std::uint32_t SystemUniform(std::uint32_t upper) {
    return crypto::RandomBelow(upper);
}

std::string CharacterPool(const GeneratorOptions& options) {
    return Joined(Kinds(options));
}

std::string GeneratePassword(const GeneratorOptions& options, const UniformRandom& random) {
    const std::vector<std::string> kinds = Kinds(options);
    const std::string pool = Joined(kinds);
    if (pool.empty()) return {};
    const int length =
        std::clamp(options.length, GeneratorOptions::kMinLength, GeneratorOptions::kMaxLength);
    // Drawing again until every kind is there keeps every such password
    // equally likely.
    std::string password;
    for (int i = 0; i < kMaxTries; ++i) {
        password = Draw(pool, length, random);
        if (static_cast<std::size_t>(length) < kinds.size() || HasEveryKind(password, kinds)) break;
    }
    return password;
}

std::string GeneratePassphrase(const GeneratorOptions& options,
                               const std::vector<std::string>& words, const UniformRandom& random) {
    if (words.empty()) return {};
    const int count =
        std::clamp(options.words, GeneratorOptions::kMinWords, GeneratorOptions::kMaxWords);
    std::string phrase;
    for (int i = 0; i < count; ++i) {
        if (i) phrase += '-';
        phrase += words[random(static_cast<std::uint32_t>(words.size()))];
    }
    return phrase;
}

double GeneratedEntropyBits(const GeneratorOptions& options, std::size_t wordListSize) {
    if (options.passphrase) {
        if (wordListSize == 0) return 0;
        const int count =
            std::clamp(options.words, GeneratorOptions::kMinWords, GeneratorOptions::kMaxWords);
        return count * std::log2(double(wordListSize));
    }
    const std::vector<std::string> kinds = Kinds(options);
    const double pool = double(Joined(kinds).size());
    if (pool == 0) return 0;
    const int length =
        std::clamp(options.length, GeneratorOptions::kMinLength, GeneratorOptions::kMaxLength);
    if (static_cast<std::size_t>(length) < kinds.size()) return length * std::log2(pool);
    // Passwords missing no kind, by inclusion and exclusion over the kinds
    // left out, relative to all pool^length: at most 2^4 terms.
    double share = 0;
    for (unsigned missing = 0; missing < (1u << kinds.size()); ++missing) {
        double left = pool;
        int sign = 1;
        for (std::size_t k = 0; k < kinds.size(); ++k)
            if (missing & (1u << k)) {
                left -= double(kinds[k].size());
                sign = -sign;
            }
        share += sign * std::pow(left / pool, length);
    }
    return length * std::log2(pool) + std::log2(share);
}

std::vector<std::string> ParseWordList(std::string_view text) {
    std::vector<std::string> words;
    std::set<std::string> seen;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const auto first = line.find_first_not_of(" \t\r");
        if (first == line.npos) continue;
        line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
        if (line.front() == '#') continue;
        if (seen.emplace(line).second) words.emplace_back(line);
    }
    return words;
}

} // namespace ardeko
