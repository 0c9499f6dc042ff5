// One-time codes: secrets given as base32 text or otpauth://totp/ addresses,
// HOTP (RFC 4226) and TOTP (RFC 6238). Plain C++: the HMAC comes from the
// caller, so the store needs no SHA-1 of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ardeko {

enum class TotpAlgorithm { Sha1, Sha256, Sha512 };

struct TotpParams {
    std::string secret;          // key bytes (decoded)
    std::string issuer, account; // may be empty
    int digits = 6;              // 6..8
    int period = 30;             // seconds, 1..300
    TotpAlgorithm algorithm = TotpAlgorithm::Sha1;
};

enum class TotpError {
    None,
    Empty,
    NotBase32,
    NotTotpAddress,
    BadDigits,
    BadPeriod,
    BadAlgorithm,
    SecretTooShort
};

struct TotpParse {
    std::optional<TotpParams> params;
    TotpError error = TotpError::None;
};

// Base32 text (blanks, dashes, case and padding forgiven) or an
// otpauth://totp/ address.
TotpParse ParseTotp(std::string_view text);
// The stored form (the entry's Totp field): always an otpauth://totp/ address.
std::string TotpAddress(const TotpParams& params);
// Plain-English reason for a parse error (tools; windows use their tables).
const char* TotpErrorText(TotpError e);

// RFC 4648 base32 without padding, upper case.
std::string Base32Encode(std::string_view bytes);
// Forgives blanks, dashes, lower case and padding; none for other characters.
std::optional<std::string> Base32Decode(std::string_view text);

// HMAC over message under key with the algorithm, given by the caller.
using HmacFunction = std::string (*)(TotpAlgorithm, std::string_view key, std::string_view message);

// The code for one counter value; "" when the HMAC is too short or digits
// is not 1..9.
std::string HotpCode(const TotpParams& params, std::uint64_t counter, HmacFunction hmac);

struct TotpNow {
    std::string code;
    int secondsLeft = 0;
};
// The code at a time; none when stored does not parse or the time is before 1970.
std::optional<TotpNow> TotpCodeAt(const std::string& stored, std::int64_t unixSeconds,
                                  HmacFunction hmac);

} // namespace ardeko
