// The classic Visual Basic Rnd/Randomize generator, reproduced bit for bit:
// the data file cipher draws every number from it, so every reader and writer
// of the format must agree on each state transition.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace ardeko {

// One draw: state -> state * kVbMul + kVbAdd (mod 2^24).
inline constexpr std::uint32_t kVbMul = 0x43FD43FDu;
inline constexpr std::uint32_t kVbAdd = 0xC39EC3u;

// n draws as one affine step s -> s * mul + add (mod 2^24), for n = 0..4.
struct VbJump {
    std::uint32_t mul, add;
};
inline constexpr std::array<VbJump, 5> kVbJumps = [] {
    std::array<VbJump, 5> j{};
    j[0] = {1, 0};
    for (std::size_t n = 1; n < j.size(); ++n)
        j[n] = {(j[n - 1].mul * kVbMul) & 0xFFFFFFu, (j[n - 1].add * kVbMul + kVbAdd) & 0xFFFFFFu};
    return j;
}();

class VbRandom {
public:
    static constexpr std::uint32_t kFreshState = 0x050000;

    // Rnd(x): x is taken as a single-precision float, as the runtime does.
    // x < 0 reseeds from x alone, x == 0 repeats the current value, x > 0 advances.
    // Inline, like the draws below: the cipher reseeds four times a field.
    float Rnd(float x = 1.0f) {
        if (x != 0.0f) {
            if (x < 0.0f) state_ = ReseededState(x);
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
        return Rounded(state_, factor);
    }
    float Reseed(float x) { return Rnd(x); }

    // Randomize(y): mixes the high word of the double y into the state.
    void Randomize(double y) { state_ = MixedHighWord(state_, HighWord(y)); }
    // Randomize without an argument: mixes in the time of day (seconds as a float).
    void RandomizeFromSeconds(float secondsSinceMidnight);

    std::uint32_t State() const { return state_; }
    void SetState(std::uint32_t s) { state_ = s & 0xFFFFFFu; }

    // The same transitions as pure functions of a state, so that a caller
    // who knows a state can reach a later one without the draws in between
    // (independent draws then run side by side instead of in one chain).
    // Rnd(x) for x < 0, then Randomize(y): depends on x and y only.
    static std::uint32_t ReseededMixed(float x, double y) {
        return MixedHighWord(After(ReseededState(x), 1), HighWord(y));
    }
    static constexpr std::size_t kMaxJump = kVbJumps.size() - 1;
    static std::uint32_t After(std::uint32_t s, std::size_t n) {
        return (s * kVbJumps[n].mul + kVbJumps[n].add) & 0xFFFFFFu;
    }
    // What NextRounded(factor) returns when the draw leaves the state s.
    static int Rounded(std::uint32_t s, int factor) {
        const std::uint64_t n = static_cast<std::uint64_t>(s) * static_cast<std::uint64_t>(factor);
        const auto q = static_cast<int>(n >> 24);
        // Branch-free rounding (the remainder is random, so a branch would
        // mispredict half the time): carries 1 when the remainder is above
        // one half, or exactly one half and q is odd.
        const std::uint64_t rest = n & 0xFFFFFFu;
        return q + static_cast<int>((rest + 0x7FFFFFu + static_cast<std::uint64_t>(q & 1)) >> 24);
    }

private:
    void Advance() { state_ = (state_ * kVbMul + kVbAdd) & 0xFFFFFFu; }
    static std::uint32_t ReseededState(float x) {
        const auto b = std::bit_cast<std::uint32_t>(x);
        return (b + (b >> 24)) & 0xFFFFFFu;
    }
    static std::uint32_t HighWord(double y) {
        return static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(y) >> 32);
    }
    static std::uint32_t MixedHighWord(std::uint32_t state, std::uint32_t h) {
        const std::uint32_t mixed = ((h & 0xFFFFu) ^ (h >> 16)) & 0xFFFFu;
        return (state & 0xFF0000FFu) | (mixed << 8);
    }

    std::uint32_t state_ = kFreshState;
};

// x * 255 (or another byte factor), exact in double precision, rounded half to even.
int RoundProduct(float r, int factor);

} // namespace ardeko
