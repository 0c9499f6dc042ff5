#include "browser/box_crypto.h"

#include <sodium.h>

#include <utility>

namespace qvs::browser {

namespace {

const unsigned char* Bytes(std::string_view s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

unsigned char* GuardedKey() {
    return static_cast<unsigned char*>(sodium_malloc(kBoxKeyBytes));
}

} // namespace

bool CryptoReady() {
    return sodium_init() >= 0;
}

std::string ToBase64(const unsigned char* bytes, std::size_t n) {
    std::string out(sodium_base64_encoded_len(n, sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(out.data(), out.size(), bytes, n, sodium_base64_VARIANT_ORIGINAL);
    out.resize(out.size() - 1); // the terminating zero
    return out;
}

std::optional<std::string> FromBase64(std::string_view text) {
    std::string out(text.size() / 4 * 3 + 3, '\0');
    std::size_t length = 0;
    const char* end = nullptr;
    if (sodium_base642bin(reinterpret_cast<unsigned char*>(out.data()), out.size(), text.data(),
                          text.size(), nullptr, &length, &end,
                          sodium_base64_VARIANT_ORIGINAL) != 0 ||
        end != text.data() + text.size())
        return std::nullopt;
    out.resize(length);
    return out;
}

Nonce RandomNonce() {
    Nonce n{};
    randombytes_buf(n.data(), n.size());
    return n;
}

Nonce Incremented(Nonce nonce) {
    sodium_increment(nonce.data(), nonce.size());
    return nonce;
}

BoxKey::BoxKey() = default;

BoxKey::~BoxKey() {
    if (key_) sodium_free(key_);
}

BoxKey::BoxKey(BoxKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}

BoxKey& BoxKey::operator=(BoxKey&& other) noexcept {
    if (this != &other) {
        if (key_) sodium_free(key_);
        key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
}

bool BoxKey::MakeWith(const PublicKey& peer, PublicKey& ourPublic) {
    unsigned char* secret = GuardedKey();
    if (!secret) return false;
    crypto_box_keypair(ourPublic.data(), secret);
    const bool ok = MakeFrom(peer, secret);
    sodium_free(secret); // wiped: only the shared key is kept
    return ok;
}

bool BoxKey::MakeFrom(const PublicKey& peer, const unsigned char* ourSecret) {
    unsigned char* key = GuardedKey();
    if (!key) return false;
    // Refuses keys of small order (all zeros and the like), which would
    // give a key anybody knows.
    if (crypto_box_beforenm(key, peer.data(), ourSecret) != 0) {
        sodium_free(key);
        return false;
    }
    if (key_) sodium_free(key_);
    key_ = key;
    return true;
}

std::string BoxKey::Seal(std::string_view plain, const Nonce& nonce) const {
    std::string out(plain.size() + crypto_box_MACBYTES, '\0');
    if (!key_ || crypto_box_easy_afternm(reinterpret_cast<unsigned char*>(out.data()), Bytes(plain),
                                         plain.size(), nonce.data(), key_) != 0)
        return {};
    return out;
}

std::optional<std::string> BoxKey::Open(std::string_view boxed, const Nonce& nonce) const {
    if (!key_ || boxed.size() < crypto_box_MACBYTES) return std::nullopt;
    std::string out(boxed.size() - crypto_box_MACBYTES, '\0');
    if (crypto_box_open_easy_afternm(reinterpret_cast<unsigned char*>(out.data()), Bytes(boxed),
                                     boxed.size(), nonce.data(), key_) != 0)
        return std::nullopt;
    return out;
}

BoxKeyPair::BoxKeyPair() : secret_(GuardedKey()) {
    if (secret_) crypto_box_keypair(public_.data(), secret_);
}

BoxKeyPair::~BoxKeyPair() {
    if (secret_) sodium_free(secret_);
}

} // namespace qvs::browser
