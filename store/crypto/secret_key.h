// Key material kept out of reach: in memory from sodium_malloc (locked, so
// never swapped out, and fenced by guard pages), wiped when released.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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

// Wipes a string when it goes out of scope, however the scope is left.
class WipeOnExit {
public:
    explicit WipeOnExit(std::string& s) : s_(s) {}
    ~WipeOnExit() { WipeString(s_); }
    WipeOnExit(const WipeOnExit&) = delete;
    WipeOnExit& operator=(const WipeOnExit&) = delete;

private:
    std::string& s_;
};

// A password held for longer than a call: in memory of its own from
// sodium_malloc (locked, fenced by guard pages), wiped when replaced or
// released.
class SecretText {
public:
    SecretText() = default;
    explicit SecretText(std::string_view text) { Assign(text); }
    ~SecretText() { Clear(); }
    SecretText(const SecretText& o) { Assign(o.View()); }
    SecretText& operator=(const SecretText& o) {
        if (this != &o) Assign(o.View());
        return *this;
    }
    SecretText(SecretText&& o) noexcept : data_(o.data_), size_(o.size_) {
        o.data_ = nullptr;
        o.size_ = 0;
    }
    SecretText& operator=(SecretText&& o) noexcept;

    // False when no memory could be had (the text is then empty).
    bool Assign(std::string_view text);
    std::string_view View() const { return {data_, size_}; }
    bool Empty() const { return size_ == 0; }
    void Clear();

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace ardeko
