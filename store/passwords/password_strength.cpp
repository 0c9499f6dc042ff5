#include "store/passwords/password_strength.h"

#include "store/crypto/sodium_calls.h"

#include <zxcvbn.h>

#include <array>
#include <string>

namespace ardeko {

namespace {

// Bits at which each level starts: below 28 falls to a quick offline attack,
// 80 and more is beyond any.
constexpr std::array<double, kStrongestLevel> kLevelBits = {28, 36, 60, 80};

} // namespace

double PasswordEntropyBits(std::string_view password) {
    if (password.empty()) return 0;
    // The library wants a terminated string; a password with a NUL inside is
    // measured up to it, as the library would see it anyway.
    std::string copy(password);
    const double bits = ZxcvbnMatch(copy.c_str(), nullptr, nullptr);
    crypto::Wipe(copy.data(), copy.size()); // no copy of the password stays behind
    return bits;
}

int StrengthLevel(double bits) {
    int level = 0;
    while (level < kStrongestLevel && bits >= kLevelBits[level])
        ++level;
    return level;
}

} // namespace ardeko
