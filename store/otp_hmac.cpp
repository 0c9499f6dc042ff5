#include "store/otp_hmac.h"

#include "store/crypto/sodium_calls.h"

#include <nettle/hmac.h>

#include <cstdint>

namespace ardeko {

namespace {

const std::uint8_t* Bytes(std::string_view text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

// One HMAC with one of nettle's contexts. The context holds material derived
// from the secret, so it is wiped before it goes.
template <class Context, std::size_t DigestSize>
std::string Mac(void (*setKey)(Context*, std::size_t, const std::uint8_t*),
                void (*update)(Context*, std::size_t, const std::uint8_t*),
                void (*digest)(Context*, std::size_t, std::uint8_t*), std::string_view key,
                std::string_view message) {
    Context ctx;
    setKey(&ctx, key.size(), Bytes(key));
    update(&ctx, message.size(), Bytes(message));
    std::string mac(DigestSize, '\0');
    digest(&ctx, mac.size(), reinterpret_cast<std::uint8_t*>(mac.data()));
    crypto::Wipe(&ctx, sizeof ctx);
    return mac;
}

} // namespace

std::string OtpHmac(TotpAlgorithm algorithm, std::string_view key, std::string_view message) {
    switch (algorithm) {
    case TotpAlgorithm::Sha256:
        return Mac<hmac_sha256_ctx, SHA256_DIGEST_SIZE>(&hmac_sha256_set_key, &hmac_sha256_update,
                                                        &hmac_sha256_digest, key, message);
    case TotpAlgorithm::Sha512:
        return Mac<hmac_sha512_ctx, SHA512_DIGEST_SIZE>(&hmac_sha512_set_key, &hmac_sha512_update,
                                                        &hmac_sha512_digest, key, message);
    case TotpAlgorithm::Sha1:
        break;
    }
    return Mac<hmac_sha1_ctx, SHA1_DIGEST_SIZE>(&hmac_sha1_set_key, &hmac_sha1_update,
                                                &hmac_sha1_digest, key, message);
}

} // namespace ardeko
