// Passwords and passphrases drawn from the system's cryptographic random
// source, made only of characters a data file can hold (plain ASCII, so they
// can also be typed into any other program).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ardeko {

struct GeneratorOptions {
    static constexpr int kMinLength = 4;
    static constexpr int kMaxLength = 128;
    static constexpr int kMinWords = 3;
    static constexpr int kMaxWords = 12;

    int length = 20;
    bool capitals = true;
    bool smallLetters = true;
    bool digits = true;
    bool symbols = true;
    bool noLookAlikes = false; // leave out 0 O o 1 l I | and quotes
    bool passphrase = false;
    // With the shipped lists (about 10 bits a word) as many words as the
    // default password's strength needs: at least 75 bits.
    int words = 8;
};

// A number below upper (> 0), each as likely. The default is the system's
// cryptographic source; tests give their own.
using UniformRandom = std::function<std::uint32_t(std::uint32_t upper)>;
std::uint32_t SystemUniform(std::uint32_t upper);

// The characters a password may be made of; empty when no kind is chosen.
std::string CharacterPool(const GeneratorOptions& options);

// A password of options.length characters holding at least one character of
// every chosen kind (when it is long enough for that); "" when no kind is
// chosen.
std::string GeneratePassword(const GeneratorOptions& options,
                             const UniformRandom& random = SystemUniform);

// options.words words of the list, joined by "-".
std::string GeneratePassphrase(const GeneratorOptions& options,
                               const std::vector<std::string>& words,
                               const UniformRandom& random = SystemUniform);

// How many bits of randomness the generator puts into what it makes with
// options: log2 of the number of passwords it can give, each as likely (a
// password holds every chosen kind), or words x log2 of the list's size.
double GeneratedEntropyBits(const GeneratorOptions& options, std::size_t wordListSize);

// The words of a shipped word list's text: one a line, blanks trimmed,
// empty lines and "#" comments skipped, each word once.
std::vector<std::string> ParseWordList(std::string_view text);

} // namespace ardeko
