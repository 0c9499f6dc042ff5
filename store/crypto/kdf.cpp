#include "store/crypto/kdf.h"

#include "store/crypto/sodium_calls.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace ardeko {

namespace {

std::optional<KdfParams>& TestParams() {
    static std::optional<KdfParams> p;
    return p;
}
std::optional<KdfParams>& TestCeiling() {
    static std::optional<KdfParams> p;
    return p;
}

bool FastKdfFromEnvironment() {
#ifdef QVS_TEST_HOOKS
    const char* v = std::getenv("QVS_TEST_FAST_KDF");
    return v && std::strcmp(v, "1") == 0;
#else
    return false;
#endif
}

std::uint64_t& Derivations() {
    static std::uint64_t n = 0;
    return n;
}

constexpr unsigned char kHintNone[2] = {'N', 'O'};
constexpr unsigned char kHintPassword[2] = {'P', 'W'};

// The 8-byte context every subkey of a file key is derived under.
constexpr char kSubkeyContext[crypto::kSubkeyContextBytes] = {'Q', 'V', 'S', 'F',
                                                              'i', 'l', 'e', '2'};

} // namespace

KdfParams MinimalKdfParams() {
    return {crypto::kArgon2MinPasses, crypto::kArgon2MinMemoryKiB};
}

void SetKdfParamsForTesting(std::optional<KdfParams> p) {
    TestParams() = p;
}

void SetKdfCeilingForTesting(std::optional<KdfParams> p) {
    TestCeiling() = p;
}

KdfParams CalibrateKdf(std::uint32_t memoryKiB, double seconds) {
    KdfParams p{kKdfFloor.passes, std::max(memoryKiB, kKdfFloor.memoryKiB)};
    FileKey probe;
    Salt salt{};
    // The first run also pays for the memory's first touch: time the second.
    if (!DeriveFileKey("calibration", p, salt, probe)) return p;
    const auto start = std::chrono::steady_clock::now();
    if (!DeriveFileKey("calibration", p, salt, probe)) return p;
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (took <= 0) return p;
    // Time grows with the passes in proportion.
    const double passes = std::floor(p.passes * seconds / took);
    p.passes =
        static_cast<std::uint32_t>(std::clamp(passes, static_cast<double>(kKdfFloor.passes), 32.0));
    return p;
}

KdfParams DefaultKdfParams() {
    if (TestParams()) return *TestParams();
    if (FastKdfFromEnvironment()) return MinimalKdfParams();
    static const KdfParams calibrated = CalibrateKdf(kKdfFloor.memoryKiB, 0.5);
    return calibrated;
}

namespace {

std::uint64_t Work(const KdfParams& p) {
    return std::uint64_t{p.passes} * p.memoryKiB;
}

KdfParams Ceiling() {
    return TestCeiling().value_or(kKdfCeiling);
}

std::uint64_t MaxWork() {
    return std::min(kKdfMaxWork, Work(Ceiling()));
}

} // namespace

bool KdfParamsAcceptable(const KdfParams& p) {
    const KdfParams ceiling = Ceiling();
    const KdfParams least = MinimalKdfParams();
    return p.passes >= least.passes && p.memoryKiB >= least.memoryKiB &&
           p.passes <= ceiling.passes && p.memoryKiB <= ceiling.memoryKiB && Work(p) <= MaxWork();
}

KdfCost KdfCostOf(const KdfParams& p) {
    if (KdfParamsAcceptable(p)) return KdfCost::Usual;
    const KdfParams least = MinimalKdfParams();
    const bool possible = p.passes >= least.passes && p.memoryKiB >= least.memoryKiB &&
                          p.passes <= kKdfAbsoluteCeiling.passes &&
                          p.memoryKiB <= kKdfAbsoluteCeiling.memoryKiB;
    return possible ? KdfCost::Slow : KdfCost::Refused;
}

namespace {
std::atomic<bool> slowAllowed{false};
} // namespace

void AllowSlowKdf(bool allow) {
    slowAllowed = allow;
}

bool SlowKdfAllowed() {
    return slowAllowed;
}

double EstimateKdfSeconds(const KdfParams& p) {
    // One pass over the floor's memory: about a tenth of a second.
    static const KdfParams probe{1, kKdfFloor.memoryKiB};
    static const double seconds = [] {
        FileKey key;
        const Salt salt{};
        const auto start = std::chrono::steady_clock::now();
        DeriveFileKey("estimate", probe, salt, key);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }();
    return seconds * double(Work(p)) / double(Work(probe));
}

KdfParams WithinCeiling(KdfParams p) {
    const KdfParams ceiling = Ceiling();
    p.passes = std::min(p.passes, ceiling.passes);
    p.memoryKiB = std::min(p.memoryKiB, ceiling.memoryKiB);
    while (Work(p) > MaxWork() && p.memoryKiB / 2 >= kKdfFloor.memoryKiB)
        p.memoryKiB /= 2;
    if (Work(p) > MaxWork()) p.passes = static_cast<std::uint32_t>(MaxWork() / p.memoryKiB);
    return p;
}

KdfParams WriterFloor() {
    if (TestParams())
        return {std::min(TestParams()->passes, kKdfFloor.passes),
                std::min(TestParams()->memoryKiB, kKdfFloor.memoryKiB)};
    return FastKdfFromEnvironment() ? MinimalKdfParams() : kKdfFloor;
}

bool BelowWriterFloor(const KdfParams& p) {
    const KdfParams floor = WriterFloor();
    return p.passes < floor.passes || p.memoryKiB < floor.memoryKiB;
}

bool FileKey::CopyFrom(const FileKey& other) {
    params = other.params;
    salt = other.salt;
    return master.CopyFrom(other.master);
}

SaltHint HintOf(const Salt& salt) {
    if (std::memcmp(salt.data(), kHintNone, 2) == 0) return SaltHint::NoPassword;
    if (std::memcmp(salt.data(), kHintPassword, 2) == 0) return SaltHint::Password;
    return SaltHint::Unknown;
}

std::uint64_t KeyDerivations() {
    return Derivations();
}

bool DeriveFileKey(std::string_view password, const KdfParams& params, const Salt& salt,
                   FileKey& out) {
    out.master.Clear();
    if (KdfCostOf(params) == KdfCost::Refused || !out.master.Allocate()) return false;
    out.params = params;
    out.salt = salt;
    ++Derivations();
    if (!crypto::Argon2id(out.master.Data(), SecretKey::kBytes, password, salt.data(),
                          params.passes, std::size_t{params.memoryKiB} * 1024)) {
        out.master.Clear();
        return false;
    }
    // The hash state that read the password lay on the stack below here.
    crypto::WipeStack(16 * 1024);
    return true;
}

bool NewFileKey(std::string_view password, const KdfParams& params, FileKey& out) {
    if (!InitSodium()) return false;
    Salt salt;
    crypto::RandomBytes(salt.data(), salt.size());
    std::memcpy(salt.data(), password.empty() ? kHintNone : kHintPassword, 2);
    return DeriveFileKey(password, params, salt, out);
}

bool KeyForFile(std::string_view password, const KdfParams& params, const Salt& salt,
                const FileKey* known, FileKey& out) {
    if (known && known->SameDerivation(params, salt)) return out.CopyFrom(*known);
    return DeriveFileKey(password, params, salt, out);
}

bool DeriveSubkey(const FileKey& key, Subkey which, SecretKey& out) {
    static_assert(SecretKey::kBytes == crypto::kKeyBytes);
    if (!key.Valid() || !out.Allocate()) return false;
    return crypto::Subkey(out.Data(), SecretKey::kBytes, static_cast<std::uint64_t>(which),
                          kSubkeyContext, key.master.Data());
}

bool ComputeKeyCheck(const FileKey& key, std::string_view data, KeyCheckValue& out) {
    SecretKey sub;
    if (!DeriveSubkey(key, Subkey::Check, sub)) return false;
    return crypto::Hash(out.data(), out.size(), data, sub.Data(), SecretKey::kBytes);
}

} // namespace ardeko
