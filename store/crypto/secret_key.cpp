#include "store/secret_key.h"

#include <sodium.h>

#include <algorithm>
#include <utility>

namespace ardeko {

bool InitSodium() {
    static const bool ok = sodium_init() >= 0;
    return ok;
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
    if (!InitSodium()) return false;
    data_ = static_cast<unsigned char*>(sodium_malloc(kBytes));
    if (data_) sodium_memzero(data_, kBytes);
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
    return sodium_memcmp(data_, other.data_, kBytes) == 0;
}

void SecretKey::Clear() {
    // sodium_free wipes the block before giving it back.
    if (data_) sodium_free(data_);
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
        fresh = InitSodium() ? static_cast<char*>(sodium_malloc(text.size())) : nullptr;
        if (fresh) std::copy(text.begin(), text.end(), fresh);
    }
    Clear();
    data_ = fresh;
    size_ = fresh ? text.size() : 0;
    return fresh || text.empty();
}

void SecretText::Clear() {
    if (data_) sodium_free(data_);
    data_ = nullptr;
    size_ = 0;
}

void WipeString(std::string& s) {
    s.resize(s.capacity());
    if (!s.empty()) sodium_memzero(s.data(), s.size());
    s.clear();
}

} // namespace ardeko
