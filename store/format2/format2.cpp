#include "store/format2/format2.h"

#include "store/format2/body.h"

#include "store/bytes.h"

#include "store/crypto/sodium_calls.h"

#include <cstring>

namespace ardeko {

namespace {

constexpr unsigned char kKdfArgon2id = 1;
// After the version text: header length, algorithm, passes, memory, salt,
// nonce, key check.
constexpr std::size_t kHeaderFields = 1 + 4 + 4 + kSaltBytes + kNonceBytes + kCheckBytes;
constexpr std::size_t kHeaderStart = kVersionBytes + 4;

template <std::size_t N>
void CopyOut(std::string_view s, std::size_t pos, std::array<unsigned char, N>& out) {
    std::memcpy(out.data(), s.data() + pos, N);
}

template <std::size_t N> void Append(std::string& s, const std::array<unsigned char, N>& a) {
    s.append(reinterpret_cast<const char*>(a.data()), N);
}

// The key for the header: the one held when it fits, else a new derivation.
// Damaged when no key could be derived with what the header says.
DecodeStatus KeyFor(const Format2Header& h, std::string_view image, std::string_view password,
                    const FileKey* known, FileKey& key) {
    if (const auto refused = KdfRefusal(h.params, h.salt, known)) return *refused;
    if (!KeyForFile(password, h.params, h.salt, known, key)) return DecodeStatus::Damaged;
    KeyCheckValue check;
    if (!ComputeKeyCheck(key, image.substr(0, h.bytes - kCheckBytes), check))
        return DecodeStatus::Damaged;
    if (!crypto::SameBytes(check.data(), h.check.data(), kCheckBytes)) {
        key.master.Clear();
        return DecodeStatus::WrongPassword;
    }
    return DecodeStatus::Ok;
}

EncodeError OutOfMemory() {
    return EncodeError{
        Code(StoreError::OutOfMemory), "There is not enough memory to save the file.", {}};
}

} // namespace

bool IsFormat2(std::string_view image) {
    return image.size() >= kVersionBytes &&
           VersionText(image.substr(0, kVersionBytes)) == kVersion200;
}

std::optional<Format2Header> ReadFormat2Header(std::string_view image) {
    if (!IsFormat2(image) || image.size() < kHeaderStart) return std::nullopt;
    const std::uint32_t length = LittleU32At(image, kVersionBytes);
    // Later writers may put more fields between the nonce and the key check.
    if (length < kHeaderFields || image.size() - kHeaderStart < length) return std::nullopt;
    if (static_cast<unsigned char>(image[kHeaderStart]) != kKdfArgon2id) return std::nullopt;
    Format2Header h;
    h.params.passes = LittleU32At(image, kHeaderStart + 1);
    h.params.memoryKiB = LittleU32At(image, kHeaderStart + 5);
    CopyOut(image, kHeaderStart + 9, h.salt);
    CopyOut(image, kHeaderStart + 9 + kSaltBytes, h.nonce);
    h.bytes = kHeaderStart + length;
    CopyOut(image, h.bytes - kCheckBytes, h.check);
    return h;
}

bool Format2OpensWithoutPassword(std::string_view head, FileKey& key) {
    const auto h = ReadFormat2Header(head);
    if (!h || HintOf(h->salt) == SaltHint::Password) return false;
    // Settings that need the user's consent: the load says so, for the
    // empty password it was made with.
    if (KdfCostOf(h->params) == KdfCost::Slow && !SlowKdfAllowed())
        return HintOf(h->salt) == SaltHint::NoPassword;
    return KeyFor(*h, head, "", nullptr, key) == DecodeStatus::Ok;
}

DecodedFile DecodeFormat2(std::string_view image, std::string_view password, const FileKey* known,
                          bool categoriesOnly, EntryTexts texts) {
    DecodedFile f;
    f.header.version = kVersion200;
    f.header.encrypted = true;
    const auto h = ReadFormat2Header(image);
    if (!h || KdfCostOf(h->params) == KdfCost::Refused ||
        image.size() - h->bytes < crypto::kSealTagBytes) {
        f.status = DecodeStatus::Damaged;
        return f;
    }
    f.status = KeyFor(*h, image, password, known, f.key);
    if (f.status != DecodeStatus::Ok) return f;
    SecretKey contentKey;
    if (!DeriveSubkey(f.key, Subkey::Contents, contentKey)) {
        f.status = DecodeStatus::Damaged;
        return f;
    }
    const std::string_view sealed = image.substr(h->bytes);
    std::string body(sealed.size() - crypto::kSealTagBytes, '\0');
    const bool opened = crypto::Open(reinterpret_cast<unsigned char*>(body.data()), sealed,
                                     image.substr(0, h->bytes), h->nonce.data(), contentKey.Data());
    if (!opened || !ReadBody(body, categoriesOnly, f, texts)) {
        f.categories.clear();
        f.subcategories.clear();
        f.passwords.clear();
        f.nodes.clear();
        f.status = DecodeStatus::Damaged;
    }
    WipeString(body);
    return f;
}

std::optional<EncodeError> EncodeFormat2(const StoreContents& contents, const FileKey& key,
                                         std::string& image) {
    SecretKey contentKey;
    std::array<unsigned char, kNonceBytes> nonce;
    KeyCheckValue check;
    if (!InitSodium() || !DeriveSubkey(key, Subkey::Contents, contentKey)) return OutOfMemory();
    crypto::RandomBytes(nonce.data(), nonce.size());
    image.clear();
    const std::string_view version = kVersion200;
    image.push_back(static_cast<char>(version.size()));
    image.push_back('\0');
    image.append(version);
    AppendLittleU32(image, kHeaderFields);
    image.push_back(static_cast<char>(kKdfArgon2id));
    AppendLittleU32(image, key.params.passes);
    AppendLittleU32(image, key.params.memoryKiB);
    Append(image, key.salt);
    Append(image, nonce);
    if (!ComputeKeyCheck(key, image, check)) return OutOfMemory();
    Append(image, check);
    const std::size_t headerBytes = image.size();

    const std::size_t bodySize = BodySize(contents);
    std::string body(bodySize, '\0');
    WriteBody(contents, body.data());
    image.resize(headerBytes + bodySize + crypto::kSealTagBytes);
    crypto::Seal(reinterpret_cast<unsigned char*>(image.data()) + headerBytes, body,
                 std::string_view(image).substr(0, headerBytes), nonce.data(), contentKey.Data());
    WipeString(body);
    return std::nullopt;
}

} // namespace ardeko
