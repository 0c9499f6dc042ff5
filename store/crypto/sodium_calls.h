// The store's one door to libsodium: every sealing, hash, key derivation,
// random number, guarded allocation and wipe of the store goes through
// here, so the primitives in use are all in view in one file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ardeko::crypto {

// XChaCha20-Poly1305 (IETF).
inline constexpr std::size_t kSealNonceBytes = 24;
inline constexpr std::size_t kSealTagBytes = 16;
inline constexpr std::size_t kKeyBytes = 32;
inline constexpr std::size_t kSubkeyContextBytes = 8;
// Argon2id's least passes and memory.
inline constexpr std::uint32_t kArgon2MinPasses = 1;
inline constexpr std::uint32_t kArgon2MinMemoryKiB = 8;
inline constexpr std::size_t kArgon2SaltBytes = 16;

// Readies the library once; false when the system has no random source.
bool Ready();

void RandomBytes(void* out, std::size_t n);
// Uniform in [0, upper).
std::uint32_t RandomBelow(std::uint32_t upper);

void Wipe(void* p, std::size_t n);
// Wipes that much of the stack below the caller.
void WipeStack(std::size_t bytes);
// Compares in constant time.
bool SameBytes(const void* a, const void* b, std::size_t n);

// Memory the system keeps out of swap and core files, between guard pages,
// wiped when freed.
void* GuardedAlloc(std::size_t n);
void GuardedFree(void* p);

// BLAKE2b of data into outBytes bytes, keyed when key is given.
bool Hash(unsigned char* out, std::size_t outBytes, std::string_view data,
          const unsigned char* key = nullptr, std::size_t keyBytes = 0);

// SHA-256 of data into out (32 bytes): for peers that name things by it.
inline constexpr std::size_t kSha256Bytes = 32;
void Sha256(unsigned char* out, std::string_view data);

// Seals plain under key (kKeyBytes) and nonce, ad authenticated alongside;
// out holds plain.size() + kSealTagBytes.
void Seal(unsigned char* out, std::string_view plain, std::string_view ad,
          const unsigned char* nonce, const unsigned char* key);
// Opens sealed into out (sealed.size() - kSealTagBytes); false when it was
// changed, sealed under another key or is too short.
bool Open(unsigned char* out, std::string_view sealed, std::string_view ad,
          const unsigned char* nonce, const unsigned char* key);

// Argon2id (version 1.3) of password with a 16-byte salt.
bool Argon2id(unsigned char* out, std::size_t outBytes, std::string_view password,
              const unsigned char* salt, std::uint32_t passes, std::size_t memoryBytes);
// The subkey id of key (kKeyBytes) under an 8-byte context.
bool Subkey(unsigned char* out, std::size_t outBytes, std::uint64_t id, const char* context,
            const unsigned char* key);

} // namespace ardeko::crypto
