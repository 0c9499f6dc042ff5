#include "store/legacy/trailer.h"

#include "store/bytes.h"
#include "store/legacy/legacy_file.h"

#include "store/crypto/sodium_calls.h"

#include <algorithm>
#include <cstring>

namespace ardeko {

namespace {

constexpr char kMarker[8] = {'Q', 'V', 'S', '-', 'T', 'R', 'L', '1'};
constexpr std::size_t kMacBytes = 32;
constexpr std::size_t kCheckedBytes = 8 + 4 + 4 + kSaltBytes; // what the key check covers

bool Mac(const FileKey& key, std::string_view data, unsigned char* out) {
    SecretKey sub;
    if (!DeriveSubkey(key, Subkey::Mac, sub)) return false;
    return crypto::Hash(out, kMacBytes, data, sub.Data(), SecretKey::kBytes);
}

bool SameBytes(const unsigned char* a, std::string_view b) {
    return crypto::SameBytes(a, b.data(), b.size());
}

} // namespace

std::optional<LegacyTrailer> FindTrailer(std::string_view image) {
    // Our writer always enciphers; in a plain file the marker can only be
    // part of a text.
    const FileHeader header = DecodeHeader(image);
    if (!IsLegacyVersion(header.version) || !header.encrypted) return std::nullopt;
    const std::size_t start = image.find(std::string_view(kMarker, sizeof kMarker), kVersionBytes);
    if (start == std::string_view::npos) return std::nullopt;
    LegacyTrailer t;
    t.start = start;
    t.end = start + kTrailerBytes;
    if (image.size() - start < kTrailerBytes) {
        t.whole = false;
        return t;
    }
    t.params.passes = LittleU32At(image, start + 8);
    t.params.memoryKiB = LittleU32At(image, start + 12);
    std::memcpy(t.salt.data(), image.data() + start + 16, kSaltBytes);
    return t;
}

DecodeStatus CheckTrailer(std::string_view image, const LegacyTrailer& t, std::string_view password,
                          const FileKey* known, FileKey& key) {
    // Parameters no writer used: the trailer itself is damaged.
    if (const auto refused = KdfRefusal(t.params, t.salt, known)) return *refused;
    if (!KeyForFile(password, t.params, t.salt, known, key)) return DecodeStatus::Damaged;
    const std::string_view trailer = image.substr(t.start, kTrailerBytes);
    KeyCheckValue check;
    unsigned char mac[kMacBytes];
    if (!ComputeKeyCheck(key, trailer.substr(0, kCheckedBytes), check) ||
        !Mac(key, image.substr(0, t.end - kMacBytes), mac))
        return DecodeStatus::Damaged;
    if (!SameBytes(check.data(), trailer.substr(kCheckedBytes, kCheckBytes))) {
        key.master.Clear();
        return DecodeStatus::WrongPassword;
    }
    if (!SameBytes(mac, trailer.substr(kCheckedBytes + kCheckBytes))) return DecodeStatus::Damaged;
    return DecodeStatus::Ok;
}

bool LooksLikeDamagedTrailer(std::string_view rest) {
    const std::size_t n = std::min(rest.size(), sizeof kMarker);
    std::size_t same = 0;
    for (std::size_t i = 0; i < n; ++i)
        same += rest[i] == kMarker[i];
    // A whole trailer with a byte or a few of its marker hit (chance alone
    // puts four of eight in place about once in 60 million files), or the
    // first bytes of one that was cut off.
    if (rest.size() >= kTrailerBytes) return same >= 4;
    return n > 0 && same == n;
}

bool AppendTrailer(std::string& image, const FileKey& key) {
    const std::size_t start = image.size();
    image.append(kMarker, sizeof kMarker);
    AppendLittleU32(image, key.params.passes);
    AppendLittleU32(image, key.params.memoryKiB);
    image.append(reinterpret_cast<const char*>(key.salt.data()), kSaltBytes);
    KeyCheckValue check;
    unsigned char mac[kMacBytes];
    if (!ComputeKeyCheck(key, std::string_view(image).substr(start), check)) return false;
    image.append(reinterpret_cast<const char*>(check.data()), kCheckBytes);
    if (!Mac(key, image, mac)) return false;
    image.append(reinterpret_cast<const char*>(mac), kMacBytes);
    return true;
}

} // namespace ardeko
