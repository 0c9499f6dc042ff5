// The extension's cryptography, through libsodium: X25519 key pairs for
// crypto_box (XSalsa20-Poly1305), the nonce each answer takes (the
// request's plus one), and base64 as the extension writes it (standard,
// padded). Free of Qt, so that the message reader can be fuzzed alone.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qvs::browser {

inline constexpr std::size_t kBoxKeyBytes = 32;
inline constexpr std::size_t kBoxNonceBytes = 24;

using PublicKey = std::array<unsigned char, kBoxKeyBytes>;
using Nonce = std::array<unsigned char, kBoxNonceBytes>;

// False when libsodium cannot start (no random source).
bool CryptoReady();

std::string ToBase64(const unsigned char* bytes, std::size_t n);
template <std::size_t N> std::string ToBase64(const std::array<unsigned char, N>& a) {
    return ToBase64(a.data(), N);
}
// None for text that is not standard padded base64.
std::optional<std::string> FromBase64(std::string_view text);
// Exactly N bytes of base64; none for anything else.
template <std::size_t N>
std::optional<std::array<unsigned char, N>> FixedFromBase64(std::string_view text) {
    const std::optional<std::string> bytes = FromBase64(text);
    if (!bytes || bytes->size() != N) return std::nullopt;
    std::array<unsigned char, N> out{};
    for (std::size_t i = 0; i < N; ++i)
        out[i] = static_cast<unsigned char>((*bytes)[i]);
    return out;
}

Nonce RandomNonce();
// The nonce as a little-endian number plus one (wrapping at the top).
Nonce Incremented(Nonce nonce);

// The key both sides of one session box with: computed from one side's
// secret key and the other's public key, held in guarded memory and wiped
// when it goes. The secret key it came from is never kept.
class BoxKey {
public:
    BoxKey();
    ~BoxKey();
    BoxKey(const BoxKey&) = delete;
    BoxKey& operator=(const BoxKey&) = delete;
    BoxKey(BoxKey&& other) noexcept;
    BoxKey& operator=(BoxKey&& other) noexcept;

    // A fresh key pair of our own with peer: ourPublic is what peer needs
    // to open our boxes. False when peer is not a usable public key.
    bool MakeWith(const PublicKey& peer, PublicKey& ourPublic);
    // With a key pair given whole (the extension's side in tests).
    bool MakeFrom(const PublicKey& peer, const unsigned char* ourSecret);
    bool Valid() const { return key_ != nullptr; }

    // "" when there is no key.
    std::string Seal(std::string_view plain, const Nonce& nonce) const;
    // None when the box does not open (changed, another key, too short).
    std::optional<std::string> Open(std::string_view boxed, const Nonce& nonce) const;

private:
    unsigned char* key_ = nullptr; // guarded, kBoxKeyBytes
};

// A key pair made at random: the public half, and the secret half in
// guarded memory wiped when it goes (the extension's side in tests).
class BoxKeyPair {
public:
    BoxKeyPair();
    ~BoxKeyPair();
    BoxKeyPair(const BoxKeyPair&) = delete;
    BoxKeyPair& operator=(const BoxKeyPair&) = delete;
    const PublicKey& Public() const { return public_; }
    const unsigned char* Secret() const { return secret_; }

private:
    PublicKey public_{};
    unsigned char* secret_ = nullptr;
};

} // namespace qvs::browser
