// Sealing the open store while the program is locked: nothing of the
// records, the key or the password is left in memory in the clear, and only
// the file password opens them again.
#include "store/crypto/secret_key.h"
#include "store/crypto/sodium_calls.h"
#include "store/format2/body.h"
#include "store/pw.h"

#include <cstdint>

namespace ardeko {

namespace {

constexpr std::size_t kSealNonce = crypto::kSealNonceBytes;
constexpr std::size_t kSealTag = crypto::kSealTagBytes;

// nonce + sealed plain, under the key's contents subkey.
bool SealBytes(const FileKey& key, std::string_view plain, std::string& out) {
    SecretKey sub;
    if (!DeriveSubkey(key, Subkey::Contents, sub)) return false;
    out.assign(kSealNonce + plain.size() + kSealTag, '\0');
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    crypto::RandomBytes(o, kSealNonce);
    crypto::Seal(o + kSealNonce, plain, {}, o, sub.Data());
    return true;
}

bool OpenBytes(const FileKey& key, std::string_view sealed, std::string& plain) {
    SecretKey sub;
    if (sealed.size() < kSealNonce + kSealTag || !DeriveSubkey(key, Subkey::Contents, sub))
        return false;
    plain.assign(sealed.size() - kSealNonce - kSealTag, '\0');
    return crypto::Open(reinterpret_cast<unsigned char*>(plain.data()), sealed.substr(kSealNonce),
                        {}, reinterpret_cast<const unsigned char*>(sealed.data()), sub.Data());
}

// Texts one after another, each after its length (4 bytes).
std::string JoinTexts(const std::vector<std::string>& texts) {
    // Sized once: a buffer that grew would leave copies of the texts behind
    // in freed memory.
    std::size_t size = 0;
    for (const std::string& t : texts)
        size += 4 + t.size();
    std::string out;
    out.reserve(size);
    for (const std::string& t : texts) {
        const auto n = static_cast<std::uint32_t>(t.size());
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
        out.append(t);
    }
    return out;
}

std::vector<std::string> SplitTexts(std::string_view joined) {
    std::vector<std::string> texts;
    while (joined.size() >= 4) {
        std::uint32_t n = 0;
        for (int i = 0; i < 4; ++i)
            n |= static_cast<std::uint32_t>(static_cast<unsigned char>(joined[i])) << (8 * i);
        joined.remove_prefix(4);
        if (n > joined.size()) break;
        texts.emplace_back(joined.substr(0, n));
        joined.remove_prefix(n);
    }
    return texts;
}

void WipeAll(std::vector<std::string>& texts) {
    for (std::string& t : texts)
        WipeString(t);
    texts.clear();
}

} // namespace

bool clsPW::Seal(std::vector<std::string>& extras, const std::vector<clsPW*>& beside) {
    if (sealed_) return true;
    FileKey key;
    const bool keyed = key_.Valid()
                           ? key.CopyFrom(key_)
                           : passwordHeld_ && NewFileKey(filePassword_, KdfSettings(), key);
    if (!keyed || !SealUnder(key, extras))
        return Fail(StoreError::OutOfMemory,
                    "The file could not be sealed: there is not enough memory.");
    std::vector<std::string> none;
    for (clsPW* other : beside)
        if (other && other != this) other->SealUnder(key, none);
    Succeed();
    return true;
}

bool clsPW::SealUnder(const FileKey& key, std::vector<std::string>& extras) {
    if (sealed_) return true;
    SealedState state;
    state.params = key.params;
    state.salt = key.salt;
    state.keyIsFileKey = key_.SameDerivation(key.params, key.salt);
    state.passwordHeld = passwordHeld_;
    const StoreContents contents{category_,   subCategory_, password_,
                                 nodeStates_, &deleted_,    &links_};
    std::string body(BodySize(contents), '\0');
    WriteBody(contents, body.data());
    std::string joined = JoinTexts(extras);
    const bool sealed = SealBytes(key, body, state.records) && SealBytes(key, joined, state.extras);
    WipeString(body);
    WipeString(joined);
    if (!sealed) return false;
    WipeAll(extras);
    ResetCollections();
    key_.master.Clear();
    adoptedKey_.master.Clear();
    WipeString(filePassword_);
    sealed_ = std::move(state);
    return true;
}

bool clsPW::Unseal(std::string_view password, std::vector<std::string>& extras,
                   const std::vector<clsPW*>& beside) {
    if (!sealed_) return true;
    FileKey key;
    if (!DeriveFileKey(password, sealed_->params, sealed_->salt, key) ||
        !OpenSeal(key, password, extras))
        return Fail(StoreError::BadFile, "The file password is wrong!");
    std::vector<std::string> none;
    for (clsPW* other : beside)
        if (other && other != this && other->sealed_) other->OpenSeal(key, password, none);
    Succeed();
    return true;
}

bool clsPW::OpenSeal(const FileKey& key, std::string_view password,
                     std::vector<std::string>& extras) {
    std::string body, joined;
    const WipeOnExit wipeBody(body), wipeJoined(joined);
    if (!(sealed_->params == key.params) || sealed_->salt != key.salt ||
        !OpenBytes(key, sealed_->records, body) || !OpenBytes(key, sealed_->extras, joined))
        return false;
    DecodedFile f;
    ReadBody(body, false, f); // sealed by this process, so whole
    std::size_t unused = 0;
    FillFrom(f, 0, unused);
    if (sealed_->keyIsFileKey) key_.CopyFrom(key);
    if (sealed_->passwordHeld) filePassword_ = password;
    extras = SplitTexts(joined);
    sealed_.reset();
    return true;
}

} // namespace ardeko
