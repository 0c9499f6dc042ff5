// Key material kept out of reach: in memory from sodium_malloc (locked, so
// never swapped out, and fenced by guard pages), wiped when released.
#pragma once

#include <cstddef>
#include <string>

namespace ardeko {

// False only when libsodium cannot start; every other call here needs it.
bool InitSodium();

class SecretKey {
public:
    static constexpr std::size_t kBytes = 32;

    SecretKey() = default;
    ~SecretKey() { Clear(); }
    // A copy gets memory of its own (empty when none could be had).
    SecretKey(const SecretKey& o) { CopyFrom(o); }
    SecretKey& operator=(const SecretKey& o) {
        if (this != &o) CopyFrom(o);
        return *this;
    }
    SecretKey(SecretKey&& o) noexcept : data_(o.data_) { o.data_ = nullptr; }
    SecretKey& operator=(SecretKey&& o) noexcept;

    // Zeroed room for a key; false when no memory could be had.
    bool Allocate();
    bool Empty() const { return data_ == nullptr; }
    unsigned char* Data() { return data_; }
    const unsigned char* Data() const { return data_; }
    // A copy in memory of its own.
    bool CopyFrom(const SecretKey& other);
    bool Equals(const SecretKey& other) const;
    void Clear();

private:
    unsigned char* data_ = nullptr;
};

// Overwrites a string's bytes (all it holds) before emptying it, so a
// password does not linger in freed memory.
void WipeString(std::string& s);

} // namespace ardeko
