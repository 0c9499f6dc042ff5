// The data file's positional stream cipher. Texts here are byte strings in the
// file's code page; the file format converts to and from UTF-8 around it.
// Each object owns its generator, so two files can be processed side by side.
#pragma once

#include "store/legacy/vbrandom.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ardeko {

class clsEncrypt {
public:
    clsEncrypt() = default;
    // The key text begins with the password: it is wiped, not just freed.
    ~clsEncrypt();
    clsEncrypt(const clsEncrypt&) = default;
    clsEncrypt& operator=(const clsEncrypt&) = default;

    // Starts a file: uses the given seed, or draws a new one. history sets
    // the low byte of the generator state before the key is drawn: for files
    // whose key depends on it (see SeedNeedsRecovery), it stands for the
    // writer's own generator history. Returns the seed in use.
    std::int32_t Init(std::string_view password, std::optional<std::int32_t> seed = {},
                      std::optional<std::uint8_t> history = {});

    std::string EncString(std::string_view s, bool advance);
    // The same into out, whose buffer is reused.
    void EncStringTo(std::string_view s, bool advance, std::string& out);
    // fillersMatch, when given, is cleared if a filler differs from the one
    // the writer's generator drew: the text is not what was written here.
    // partial: s is only the start of a text cut off by the end of the data.
    std::string DecString(std::string_view s, bool advance, bool* fillersMatch = nullptr,
                          bool partial = false);
    // The same into out (which must not be s's own storage).
    void DecStringTo(std::string_view s, std::string& out, bool advance,
                     bool* fillersMatch = nullptr, bool partial = false);
    // Steps over one enciphered text without deciphering it: the fields
    // after it decipher as if it had been read (past the first field each
    // follows from the counter alone).
    void SkipField() { ++counter_; }
    std::int16_t EncInt(std::int16_t v, bool advance);
    std::int16_t DecInt(std::int16_t v, bool advance);
    std::int32_t EncLong(std::int32_t v, bool advance);
    std::int32_t DecLong(std::int32_t v, bool advance);
    double EncDate(double d, bool advance);
    double DecDate(double d, bool advance);
    bool FlipBool(bool b, bool advance);

    std::int32_t Seed() const { return seed_; }
    const std::string& KeyText() const { return key_; }
    // The part of the key drawn from the seed, without the password.
    std::string_view KeySuffix() const {
        return std::string_view(key_).substr(key_.size() - suffixLength_);
    }
    std::int64_t FieldCounter() const { return counter_; }

    // True when the first matrix row of the key derivation would come from
    // whatever the generator held before, so another writer's key is unknown
    // to a reader. Only the low byte of that state matters: a reader tries
    // all 256. NewSeed never returns such a seed.
    static bool SeedNeedsRecovery(std::int32_t seed);
    static constexpr int kMinSuffix = 10;
    // Generator state after the key was drawn (the cipher goes on from it).
    std::uint32_t GeneratorState() const { return rng_.State(); }

    // Time of day in seconds, mixed into the generator when a seed is drawn.
    static float SecondsSinceMidnight();

private:
    // Fills Matrix for the current counter and leaves the generator where
    // the last row's draws leave it.
    void BuildMatrix();
    void BuildMatrixInSequence();
    // Past the first field (counter > 0) every matrix row reseeds the
    // generator from the counter and one seed byte, so any matrix byte can
    // be computed on its own.
    void SetSeed(std::int32_t seed);
    std::uint32_t RowStart(std::size_t row) const;
    std::uint8_t MatrixByte(std::size_t i) const;
    std::int32_t NewSeed();
    std::string MakeKeySuffix();
    std::uint8_t DrawByte(int factor);
    char Filler();
    std::uint8_t KeyByte(std::size_t i) const;
    std::int32_t TransformNumber(std::int32_t v, std::size_t width, bool decode, bool advance);
    void Advance(bool advance);

    VbRandom rng_;
    std::int32_t seed_ = 0;
    std::array<std::int64_t, 4> rowBytes_{}; // the seed's byte for each matrix row
    std::string key_;
    std::size_t suffixLength_ = 0;
    // Widened from the original 16 bits: identical for files within 32,767
    // fields, and lets larger stores be written at all.
    std::int64_t counter_ = 0;
    std::array<std::uint8_t, 16> matrix_{};
};

std::uint8_t EncByte(std::uint8_t p, std::uint8_t k, std::uint8_t m, bool even);
std::uint8_t DecByte(std::uint8_t c, std::uint8_t k, std::uint8_t m, bool even);

} // namespace ardeko
