// Turning a file password into a file key: Argon2id with parameters stored
// beside the salt in the file, and the subkeys derived from that key.
#pragma once

#include "store/crypto/secret_key.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace ardeko {

struct KdfParams {
    std::uint32_t passes = 3;
    std::uint32_t memoryKiB = 64 * 1024;
    bool operator==(const KdfParams&) const = default;
};

// The least a new file gets: 64 MiB and three passes.
inline constexpr KdfParams kKdfFloor{3, 64 * 1024};
// The most a reader accepts (and a key may get): a damaged or hostile header
// must not make opening take minutes or ask for all the memory there is.
// Passes and memory each, and their product: what a writer gives a key on a
// fast machine (calibrated to half a second, made stronger twice) takes a
// few seconds there.
inline constexpr KdfParams kKdfCeiling{64, 512 * 1024};
inline constexpr std::uint64_t kKdfMaxWork = std::uint64_t{32} * 512 * 1024; // passes x KiB
// The most any key is ever derived with: the readers' ceiling of earlier
// versions, up to which users may have raised their files' settings. Between
// kKdfCeiling and this, a file opens only when its user agrees to wait;
// beyond it, a header is damaged.
inline constexpr KdfParams kKdfAbsoluteCeiling{64, 1024 * 1024};

// What a reader does with a header's settings: derive the key (Usual), only
// when the user agreed to the wait (Slow), or never (Refused: damage).
enum class KdfCost { Usual, Slow, Refused };
KdfCost KdfCostOf(const KdfParams& p);

// Every reader of this process derives Slow keys without asking (qvs-cli's
// --allow-slow-key); otherwise a Slow key serves only when derived ahead.
void AllowSlowKdf(bool allow);
bool SlowKdfAllowed();

// About how many seconds one derivation with p takes here: a small one is
// measured (once per process) and scaled by the work.
double EstimateKdfSeconds(const KdfParams& p);

// p made to fit the ceiling: passes and memory cut to it, then memory halved
// (not below kKdfFloor's) and, last, passes cut until the work fits.
KdfParams WithinCeiling(KdfParams p);

// The least a writer gives a new key (kKdfFloor; in the tests' builds, what
// the tests asked for). A file below it was written by an old or foreign
// writer, or its header was weakened: worth a warning.
KdfParams WriterFloor();
bool BelowWriterFloor(const KdfParams& p);

// The smallest parameters the library allows. Only test and fuzz builds use
// them, through the hooks below.
KdfParams MinimalKdfParams();

// Parameters for a new key: at least kKdfFloor, with as many passes as make
// a derivation take about half a second here (measured once per process).
KdfParams DefaultKdfParams();
// Measures this machine: passes (at least 3) for the given memory so that a
// derivation takes about `seconds`.
KdfParams CalibrateKdf(std::uint32_t memoryKiB, double seconds);

// Whether a reader derives a key with these parameters at all.
bool KdfParamsAcceptable(const KdfParams& p);

// Test hooks. Tests derive with MinimalKdfParams when the environment holds
// QVS_TEST_FAST_KDF=1 (heard only by a build with the tests) or after
// SetKdfParamsForTesting; the fuzz target also narrows what a reader
// accepts. Production code never calls these.
void SetKdfParamsForTesting(std::optional<KdfParams> p);
void SetKdfCeilingForTesting(std::optional<KdfParams> p);

inline constexpr std::size_t kSaltBytes = 16;
inline constexpr std::size_t kCheckBytes = 16;
using Salt = std::array<unsigned char, kSaltBytes>;
using KeyCheckValue = std::array<unsigned char, kCheckBytes>;

// The key of one file: what it was derived with, and the derived bytes.
struct FileKey {
    KdfParams params;
    Salt salt{};
    SecretKey master;

    bool Valid() const { return !master.Empty(); }
    bool SameDerivation(const KdfParams& p, const Salt& s) const {
        return Valid() && params == p && salt == s;
    }
    bool CopyFrom(const FileKey& other);
};

// A new salt's first two bytes say whether the file's password is empty
// ("NO") or not ("PW"), so that a reader learns whether to ask for one
// without deriving a key; the other 14 bytes are random. Other values come
// from older writers: only a derivation with "" tells then.
enum class SaltHint { NoPassword, Password, Unknown };
SaltHint HintOf(const Salt& salt);

// How many keys this process derived (for tests and benchmarks).
std::uint64_t KeyDerivations();

// Derives the key; false when the library refuses (no memory) or p is
// beyond kKdfAbsoluteCeiling. Readers gate a header's settings with
// KdfCostOf first.
bool DeriveFileKey(std::string_view password, const KdfParams& params, const Salt& salt,
                   FileKey& out);
// Derives a key under a fresh random salt (with the hint above).
bool NewFileKey(std::string_view password, const KdfParams& params, FileKey& out);

// The key for a file whose header names params and salt: a copy of known
// when that was derived the same way, else a new derivation. False when no
// key can be had with these parameters.
bool KeyForFile(std::string_view password, const KdfParams& params, const Salt& salt,
                const FileKey* known, FileKey& out);

// Separate subkeys for separate uses of one file key.
enum class Subkey : std::uint64_t { Contents = 1, Check = 2, Mac = 3 };
bool DeriveSubkey(const FileKey& key, Subkey which, SecretKey& out);

// Keyed BLAKE2b of data under the key-check subkey: tells the right key from
// a wrong one without revealing anything about the key.
bool ComputeKeyCheck(const FileKey& key, std::string_view data, KeyCheckValue& out);

} // namespace ardeko
