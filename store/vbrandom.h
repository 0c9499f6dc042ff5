// The classic Visual Basic Rnd/Randomize generator, reproduced bit for bit:
// the data file cipher draws every number from it, so every reader and writer
// of the format must agree on each state transition.
#pragma once

#include <bit>
#include <cstdint>

namespace ardeko {

class VbRandom {
public:
    static constexpr std::uint32_t kFreshState = 0x050000;

    // Rnd(x): x is taken as a single-precision float, as the runtime does.
    // x < 0 reseeds from x alone, x == 0 repeats the current value, x > 0 advances.
    // Inline, like the draws below: the cipher reseeds four times a field.
    float Rnd(float x = 1.0f) {
        if (x != 0.0f) {
            if (x < 0.0f) {
                const auto b = std::bit_cast<std::uint32_t>(x);
                state_ = (b + (b >> 24)) & 0xFFFFFFu;
            }
            Advance();
        }
        return static_cast<float>(state_) / 16777216.0f;
    }

    // The cipher's names for the three uses of Rnd.
    // Inline: the cipher draws a few dozen numbers for every field it reads.
    float Next() {
        Advance();
        return static_cast<float>(state_) / 16777216.0f;
    }
    // Next() * factor rounded half to even, computed exactly in integers
    // (the same value RoundProduct(Next(), factor) gives, without floats).
    int NextRounded(int factor) {
        Advance();
        const std::uint64_t n =
            static_cast<std::uint64_t>(state_) * static_cast<std::uint64_t>(factor);
        const auto q = static_cast<int>(n >> 24);
        // Branch-free rounding (the remainder is random, so a branch would
        // mispredict half the time): carries 1 when the remainder is above
        // one half, or exactly one half and q is odd.
        const std::uint64_t rest = n & 0xFFFFFFu;
        return q + static_cast<int>((rest + 0x7FFFFFu + static_cast<std::uint64_t>(q & 1)) >> 24);
    }
    float Reseed(float x) { return Rnd(x); }

    // Randomize(y): mixes the high word of the double y into the state.
    void Randomize(double y) {
        MixHighWord(static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(y) >> 32));
    }
    // Randomize without an argument: mixes in the time of day (seconds as a float).
    void RandomizeFromSeconds(float secondsSinceMidnight);

    std::uint32_t State() const { return state_; }
    void SetState(std::uint32_t s) { state_ = s & 0xFFFFFFu; }

private:
    void Advance() { state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu; }
    void MixHighWord(std::uint32_t h) {
        const std::uint32_t mixed = ((h & 0xFFFFu) ^ (h >> 16)) & 0xFFFFu;
        state_ = (state_ & 0xFF0000FFu) | (mixed << 8);
    }
    std::uint32_t state_ = kFreshState;
};

// x * 255 (or another byte factor), exact in double precision, rounded half to even.
int RoundProduct(float r, int factor);

} // namespace ardeko
