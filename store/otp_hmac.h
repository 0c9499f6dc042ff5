// The HMAC one-time codes are computed with, for the windows and qvs-cli
// alike (HmacFunction of store/totp.h).
#pragma once

#include "store/totp.h"

#include <string>
#include <string_view>

namespace ardeko {

// HMAC-SHA-1, -SHA-256 or -SHA-512 of message under key, as raw bytes.
std::string OtpHmac(TotpAlgorithm algorithm, std::string_view key, std::string_view message);

} // namespace ardeko
