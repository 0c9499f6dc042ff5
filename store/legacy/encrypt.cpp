#include "store/legacy/encrypt.h"

#include "store/bytes.h"
#include "store/crypto/secret_key.h"
#include "store/vbdate.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>

namespace ardeko {

namespace {

std::uint8_t AdjustKey(std::uint8_t k, std::uint8_t m) {
    return m == k ? static_cast<std::uint8_t>(m - 5) : m;
}

std::uint8_t Spread(std::uint8_t k, std::uint8_t m) {
    return static_cast<std::uint8_t>(MaxOf(k, m) - MinOf(k, m));
}

template <class Int> Int ClampTo(long long v) {
    if (v < std::numeric_limits<Int>::min()) return std::numeric_limits<Int>::min();
    if (v > std::numeric_limits<Int>::max()) return std::numeric_limits<Int>::max();
    return static_cast<Int>(v);
}

} // namespace

std::uint8_t EncByte(std::uint8_t p, std::uint8_t k, std::uint8_t m, bool even) {
    m = AdjustKey(k, m);
    const auto t = static_cast<std::uint8_t>(even ? p - k : p + k);
    return static_cast<std::uint8_t>(t ^ Spread(k, m));
}

std::uint8_t DecByte(std::uint8_t c, std::uint8_t k, std::uint8_t m, bool even) {
    m = AdjustKey(k, m);
    const auto x = static_cast<std::uint8_t>(c ^ Spread(k, m));
    return static_cast<std::uint8_t>(even ? x + k : x - k);
}

clsEncrypt::~clsEncrypt() {
    WipeString(key_);
}

float clsEncrypt::SecondsSinceMidnight() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) +
           static_cast<float>(ms) / 1000.0f;
}

bool clsEncrypt::SeedNeedsRecovery(std::int32_t seed) {
    const std::int32_t v = seed < 0 ? ~seed : seed;
    return (v & 0xFF) == 0;
}

std::uint8_t clsEncrypt::DrawByte(int factor) {
    return static_cast<std::uint8_t>(rng_.NextRounded(factor));
}

char clsEncrypt::Filler() {
    return static_cast<char>(DrawByte(254) + 1);
}

std::uint8_t clsEncrypt::KeyByte(std::size_t i) const {
    return static_cast<std::uint8_t>(key_[i % key_.size()]);
}

void clsEncrypt::Advance(bool advance) {
    if (advance) ++counter_;
}

void clsEncrypt::SetSeed(std::int32_t seed) {
    seed_ = seed;
    const bool negative = seed < 0;
    const auto v = static_cast<std::uint32_t>(negative ? ~seed : seed);
    for (std::size_t row = 0; row < 4; ++row)
        rowBytes_[row] = (v >> (8 * row)) & 0xFFu;
    if (negative) rowBytes_[3] |= 0x80;
}

std::uint32_t clsEncrypt::RowStart(std::size_t row) const {
    const std::int64_t b = rowBytes_[row];
    return VbRandom::ReseededMixed(static_cast<float>(-(counter_ + b)),
                                   static_cast<double>(b - counter_));
}

std::uint8_t clsEncrypt::MatrixByte(std::size_t i) const {
    return static_cast<std::uint8_t>(
        VbRandom::Rounded(VbRandom::After(RowStart(i % 4), 1 + i / 4), 255));
}

void clsEncrypt::BuildMatrix() {
    if (counter_ == 0) {
        BuildMatrixInSequence();
        return;
    }
    // Every row reseeds from a non-zero number, so each follows from the
    // counter and the seed alone: the rows are computed side by side.
    std::array<std::uint32_t, 4> start{};
    for (std::size_t i = 0; i < 4; ++i)
        start[i] = RowStart(i);
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            matrix_[i + 4 * j] = static_cast<std::uint8_t>(
                VbRandom::Rounded(VbRandom::After(start[i], static_cast<std::size_t>(j) + 1), 255));
    rng_.SetState(VbRandom::After(start[3], 4));
}

void clsEncrypt::BuildMatrixInSequence() {
    for (std::size_t i = 0; i < 4; ++i) {
        const std::int64_t b = rowBytes_[i];
        // Reseed of 0 repeats the last value and keeps the state, as the runtime does.
        rng_.Reseed(static_cast<float>(-(counter_ + b)));
        rng_.Randomize(static_cast<double>(b - counter_));
        for (int j = 0; j < 4; ++j)
            matrix_[i + 4 * j] = DrawByte(255);
    }
}

std::int32_t clsEncrypt::NewSeed() {
    rng_.RandomizeFromSeconds(SecondsSinceMidnight());
    for (;;) {
        std::uint32_t acc = 0;
        bool negative = false;
        for (int i = 0; i < 4; ++i) {
            std::uint32_t b = DrawByte(255);
            if (i == 3 && b >= 128) {
                b &= 127;
                negative = true;
            }
            acc |= b << (8 * i);
        }
        const auto seed =
            negative ? ~static_cast<std::int32_t>(acc) : static_cast<std::int32_t>(acc);
        // A seed whose lowest matrix byte is 0 makes the key depend on earlier
        // generator history; such files may not be readable. Draw again.
        if (!SeedNeedsRecovery(seed) && seed != std::numeric_limits<std::int32_t>::min())
            return seed;
    }
}

std::string clsEncrypt::MakeKeySuffix() {
    std::int64_t v = seed_;
    if (v > 0) v = -v;
    BuildMatrix();
    rng_.Reseed(static_cast<float>(v));
    rng_.Randomize(static_cast<double>(-v));
    const int n = matrix_[0] + matrix_[1] + kMinSuffix;
    std::string suffix;
    suffix.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        suffix.push_back(static_cast<char>(DrawByte(255)));
    return suffix;
}

std::int32_t clsEncrypt::Init(std::string_view password, std::optional<std::int32_t> seed,
                              std::optional<std::uint8_t> history) {
    counter_ = 0;
    SetSeed(seed ? *seed : NewSeed());
    if (history) rng_.SetState(*history);
    const std::string suffix = MakeKeySuffix();
    // Built in place: a temporary joined copy would leave the password in
    // freed memory.
    WipeString(key_);
    key_.reserve(password.size() + suffix.size());
    // Passwords of one or two characters do not enter the key.
    if (password.size() > 2) key_.append(password);
    key_.append(suffix);
    suffixLength_ = suffix.size();
    counter_ = 0;
    return seed_;
}

std::string clsEncrypt::EncString(std::string_view s, bool advance) {
    std::string out;
    EncStringTo(s, advance, out);
    return out;
}

void clsEncrypt::EncStringTo(std::string_view s, bool advance, std::string& out) {
    out.clear();
    // Past the first field no later field depends on what this one draws.
    if (s.empty() && counter_ > 0) {
        Advance(advance);
        return;
    }
    BuildMatrix();
    const char leading = Filler();
    const std::size_t g = matrix_[counter_ % 16] % 3 + 2;
    if (s.empty()) {
        Advance(advance);
        return;
    }
    out.resize(s.size() + s.size() / g + 2);
    char* to = out.data();
    *to++ = leading;
    std::size_t k = 0;
    for (std::size_t i = 0; i < s.size();) {
        for (const std::size_t runEnd = std::min(i + g, s.size()); i < runEnd; ++i) {
            const auto p = static_cast<std::uint8_t>(s[i]);
            const auto m = static_cast<std::uint8_t>(key_[k]);
            *to++ = static_cast<char>(EncByte(p, matrix_[i % 16], m, i % 2 == 0));
            if (++k == key_.size()) k = 0;
        }
        if (i % g == 0) *to++ = Filler();
    }
    *to = Filler();
    Advance(advance);
}

std::string clsEncrypt::DecString(std::string_view s, bool advance, bool* fillersMatch,
                                  bool partial) {
    std::string text;
    DecStringTo(s, text, advance, fillersMatch, partial);
    return text;
}

void clsEncrypt::DecStringTo(std::string_view s, std::string& out, bool advance, bool* fillersMatch,
                             bool partial) {
    out.clear();
    if (s.empty() && counter_ > 0) {
        Advance(advance);
        return;
    }
    BuildMatrix();
    // Draw the same fillers the writer drew, so that the generator stays in
    // step with the writer's for every later field, and compare them.
    bool match = true;
    const char leading = Filler();
    if (partial && s.size() == 1) {
        match = s.front() == leading;
    } else if (s.size() > 1) {
        match = s.front() == leading;
        const std::string_view body = partial ? s.substr(1) : s.substr(1, s.size() - 2);
        const std::size_t g1 = matrix_[counter_ % 16] % 3 + 3;
        // Exactly the deciphered length: no room is kept for the fillers.
        out.resize(body.size() - body.size() / g1);
        char* to = out.data();
        std::size_t j = 0, k = 0;
        for (std::size_t p = 0; p < body.size();) {
            const std::size_t run = std::min(g1 - 1, body.size() - p);
            for (const std::size_t runEnd = p + run; p < runEnd; ++p, ++j) {
                const auto c = static_cast<std::uint8_t>(body[p]);
                const auto m = static_cast<std::uint8_t>(key_[k]);
                to[j] = static_cast<char>(DecByte(c, matrix_[j % 16], m, j % 2 == 0));
                if (++k == key_.size()) k = 0;
            }
            if (p < body.size()) match = Filler() == body[p++] && match;
        }
        if (!partial) {
            match = Filler() == s.back() && match;
            // A written text is empty or has at least one character between its fillers.
            match = match && !out.empty();
        }
    } else if (!partial) {
        // Nothing between two fillers: a whole text cannot be this short.
        match = s.empty();
    }
    if (fillersMatch && !match) *fillersMatch = false;
    Advance(advance);
}

std::int32_t clsEncrypt::TransformNumber(std::int32_t v, std::size_t width, bool decode,
                                         bool advance) {
    // A number needs the first two or four matrix bytes only.
    if (counter_ == 0) BuildMatrix();
    std::array<std::uint8_t, 4> bytes{};
    const std::span<std::uint8_t> used(bytes.data(), width);
    NumberToBytes(v, used);
    for (std::size_t i = 0; i < width; ++i) {
        const std::uint8_t k = counter_ == 0 ? matrix_[i] : MatrixByte(i);
        const bool even = i % 2 == 0;
        used[i] =
            decode ? DecByte(used[i], k, KeyByte(i), even) : EncByte(used[i], k, KeyByte(i), even);
    }
    Advance(advance);
    return BytesToNumber(used);
}

std::int16_t clsEncrypt::EncInt(std::int16_t v, bool advance) {
    return static_cast<std::int16_t>(TransformNumber(v, 2, false, advance));
}
std::int16_t clsEncrypt::DecInt(std::int16_t v, bool advance) {
    return static_cast<std::int16_t>(TransformNumber(v, 2, true, advance));
}
std::int32_t clsEncrypt::EncLong(std::int32_t v, bool advance) {
    return TransformNumber(v, 4, false, advance);
}
std::int32_t clsEncrypt::DecLong(std::int32_t v, bool advance) {
    return TransformNumber(v, 4, true, advance);
}

double clsEncrypt::EncDate(double d, bool advance) {
    // Day boundaries from 1 January 2000; the time of day is dropped.
    const double day = std::isfinite(d) ? VbDatePart(d) : kVbDate2000;
    const auto days = ClampTo<std::int32_t>(static_cast<long long>(day - kVbDate2000));
    const std::int32_t e = EncLong(days, advance);
    return kVbDate2000 + e * (1.0 / 86400.0);
}

double clsEncrypt::DecDate(double d, bool advance) {
    const double secs = std::isfinite(d) ? std::nearbyint((d - kVbDate2000) * 86400.0) : 0.0;
    const auto clamped =
        ClampTo<std::int32_t>(static_cast<long long>(std::fmax(std::fmin(secs, 4.0e18), -4.0e18)));
    const std::int32_t days = DecLong(clamped, advance);
    return kVbDate2000 + days;
}

bool clsEncrypt::FlipBool(bool b, bool advance) {
    const auto at = static_cast<std::size_t>(counter_ % 16);
    if (counter_ == 0) BuildMatrix();
    const bool flip = (counter_ == 0 ? matrix_[at] : MatrixByte(at)) % 2 == 0;
    Advance(advance);
    return flip ? !b : b;
}

} // namespace ardeko
