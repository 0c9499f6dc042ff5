#include "store/legacy/vbrandom.h"

#include <bit>
#include <cmath>

namespace ardeko {

void VbRandom::RandomizeFromSeconds(float secondsSinceMidnight) {
    state_ = MixedHighWord(state_, std::bit_cast<std::uint32_t>(secondsSinceMidnight));
}

int RoundProduct(float r, int factor) {
    // The product of a 24-bit fraction and a small integer is exact in double;
    // nearbyint rounds half to even under the default rounding mode.
    return static_cast<int>(std::nearbyint(static_cast<double>(r) * factor));
}

} // namespace ardeko
