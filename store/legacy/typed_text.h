// How much a deciphered text reads like what a person typed, for telling the
// right key from near misses when an old file's key must be guessed. Texts
// are counted byte by byte (Windows-1252).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ardeko {

using ByteCounts = std::array<std::uint32_t, 256>;

void CountBytes(std::string_view text, ByteCounts& counts);

// Characters no typed text holds: control characters other than tab, line
// feed and carriage return, DEL, and the five bytes Windows-1252 leaves
// undefined.
std::size_t UntypeableCount(const ByteCounts& counts);

// Byte by byte the lowest of the counts: the text every decode agrees on.
ByteCounts Agreed(const ByteCounts& a, const ByteCounts& b);

// The log of how likely the bytes a decode holds beyond agreed are, were they
// typed as the agreed text was: each byte by the share its class of
// characters (letters, digits, signs, accented letters...) has there.
double TypedLogLikelihood(const ByteCounts& decode, const ByteCounts& agreed);

} // namespace ardeko
