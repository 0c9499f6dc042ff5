#include "store/crypto/sodium_calls.h"

#include <sodium.h>

namespace ardeko::crypto {

static_assert(kSealNonceBytes == crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
static_assert(kSealTagBytes == crypto_aead_xchacha20poly1305_ietf_ABYTES);
static_assert(kKeyBytes == crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
static_assert(kKeyBytes == crypto_kdf_KEYBYTES);
static_assert(kSubkeyContextBytes == crypto_kdf_CONTEXTBYTES);
static_assert(kArgon2MinPasses == crypto_pwhash_OPSLIMIT_MIN);
static_assert(kArgon2MinMemoryKiB * 1024 == crypto_pwhash_MEMLIMIT_MIN);
static_assert(kArgon2SaltBytes == crypto_pwhash_SALTBYTES);

namespace {

const unsigned char* Bytes(std::string_view s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

} // namespace

bool Ready() {
    static const bool ok = sodium_init() >= 0;
    return ok;
}

void RandomBytes(void* out, std::size_t n) {
    randombytes_buf(out, n);
}

std::uint32_t RandomBelow(std::uint32_t upper) {
    return randombytes_uniform(upper);
}

void Wipe(void* p, std::size_t n) {
    sodium_memzero(p, n);
}

void WipeStack(std::size_t bytes) {
    sodium_stackzero(bytes);
}

bool SameBytes(const void* a, const void* b, std::size_t n) {
    return sodium_memcmp(a, b, n) == 0;
}

void* GuardedAlloc(std::size_t n) {
    return Ready() ? sodium_malloc(n) : nullptr;
}

void GuardedFree(void* p) {
    sodium_free(p);
}

bool Hash(unsigned char* out, std::size_t outBytes, std::string_view data, const unsigned char* key,
          std::size_t keyBytes) {
    return crypto_generichash(out, outBytes, Bytes(data), data.size(), key, keyBytes) == 0;
}

void Sha256(unsigned char* out, std::string_view data) {
    crypto_hash_sha256(out, Bytes(data), data.size());
}

void Seal(unsigned char* out, std::string_view plain, std::string_view ad,
          const unsigned char* nonce, const unsigned char* key) {
    crypto_aead_xchacha20poly1305_ietf_encrypt(out, nullptr, Bytes(plain), plain.size(), Bytes(ad),
                                               ad.size(), nullptr, nonce, key);
}

bool Open(unsigned char* out, std::string_view sealed, std::string_view ad,
          const unsigned char* nonce, const unsigned char* key) {
    if (sealed.size() < kSealTagBytes) return false;
    return crypto_aead_xchacha20poly1305_ietf_decrypt(out, nullptr, nullptr, Bytes(sealed),
                                                      sealed.size(), Bytes(ad), ad.size(), nonce,
                                                      key) == 0;
}

bool Argon2id(unsigned char* out, std::size_t outBytes, std::string_view password,
              const unsigned char* salt, std::uint32_t passes, std::size_t memoryBytes) {
    // An empty view may have no data at all, which the library must not get.
    const char* text = password.empty() ? "" : password.data();
    return crypto_pwhash(out, outBytes, text, password.size(), salt, passes, memoryBytes,
                         crypto_pwhash_ALG_ARGON2ID13) == 0;
}

bool Subkey(unsigned char* out, std::size_t outBytes, std::uint64_t id, const char* context,
            const unsigned char* key) {
    return crypto_kdf_derive_from_key(out, outBytes, id, context, key) == 0;
}

} // namespace ardeko::crypto
