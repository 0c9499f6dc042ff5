#include "vbrandom.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace ardeko {

float VbRandom::Rnd(float x) {
    if (x != 0.0f) {
        if (x < 0.0f) {
            const auto b = std::bit_cast<std::uint32_t>(x);
            state_ = (b + (b >> 24)) & 0xFFFFFFu;
        }
        Advance();
    }
    return static_cast<float>(state_) / 16777216.0f;
}

void VbRandom::MixHighWord(std::uint32_t h) {
    const std::uint32_t mixed = ((h & 0xFFFFu) ^ (h >> 16)) & 0xFFFFu;
    state_ = (state_ & 0xFF0000FFu) | (mixed << 8);
}

void VbRandom::Randomize(double y) {
    MixHighWord(static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(y) >> 32));
}

void VbRandom::RandomizeFromSeconds(float secondsSinceMidnight) {
    MixHighWord(std::bit_cast<std::uint32_t>(secondsSinceMidnight));
}

int RoundProduct(float r, int factor) {
    // The product of a 24-bit fraction and a small integer is exact in double;
    // nearbyint rounds half to even under the default rounding mode.
    return static_cast<int>(std::nearbyint(static_cast<double>(r) * factor));
}

} // namespace ardeko
