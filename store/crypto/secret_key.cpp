#include "store/crypto/secret_key.h"

#include "store/crypto/sodium_calls.h"

#include <algorithm>
#include <utility>

namespace ardeko {

bool InitSodium() {
    return crypto::Ready();
}

SecretKey& SecretKey::operator=(SecretKey&& o) noexcept {
    if (this != &o) {
        Clear();
        data_ = o.data_;
        o.data_ = nullptr;
    }
    return *this;
}

bool SecretKey::Allocate() {
    Clear();
    data_ = static_cast<unsigned char*>(crypto::GuardedAlloc(kBytes));
    if (data_) crypto::Wipe(data_, kBytes);
    return data_ != nullptr;
}

bool SecretKey::CopyFrom(const SecretKey& other) {
    if (other.Empty()) {
        Clear();
        return true;
    }
    if (!Allocate()) return false;
    std::copy(other.data_, other.data_ + kBytes, data_);
    return true;
}

bool SecretKey::Equals(const SecretKey& other) const {
    if (Empty() || other.Empty()) return Empty() && other.Empty();
    return crypto::SameBytes(data_, other.data_, kBytes);
}

void SecretKey::Clear() {
    // The guarded block is wiped before it is given back.
    if (data_) crypto::GuardedFree(data_);
    data_ = nullptr;
}

SecretText& SecretText::operator=(SecretText&& o) noexcept {
    if (this != &o) {
        Clear();
        data_ = std::exchange(o.data_, nullptr);
        size_ = std::exchange(o.size_, 0);
    }
    return *this;
}

bool SecretText::Assign(std::string_view text) {
    // The new copy is made before the old one goes: text may lie in it.
    char* fresh = nullptr;
    if (!text.empty()) {
        fresh = static_cast<char*>(crypto::GuardedAlloc(text.size()));
        if (fresh) std::copy(text.begin(), text.end(), fresh);
    }
    Clear();
    data_ = fresh;
    size_ = fresh ? text.size() : 0;
    return fresh || text.empty();
}

void SecretText::Clear() {
    if (data_) crypto::GuardedFree(data_);
    data_ = nullptr;
    size_ = 0;
}

void WipeString(std::string& s) {
    s.resize(s.capacity());
    if (!s.empty()) crypto::Wipe(s.data(), s.size());
    s.clear();
}

} // namespace ardeko
