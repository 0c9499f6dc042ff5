// The HMAC one-time codes need, from Qt Core (libsodium has no SHA-1).
#pragma once

#include "store/totp.h"

#include <string>
#include <string_view>

namespace qvs {

std::string CliHmac(ardeko::TotpAlgorithm algorithm, std::string_view key,
                    std::string_view message);

} // namespace qvs
