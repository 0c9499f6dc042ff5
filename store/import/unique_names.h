// Service names made unique for an import: a name already taken gets the
// user name, then a number. Each stem remembers the next number to try, so
// that thousands of rows with one name cost one look-up each rather than
// one per row before them.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace ardeko {

class UniqueNames {
public:
    // takenElsewhere: whether a name (exactly as given) is already in use
    // outside this import (the store's entries).
    explicit UniqueNames(std::function<bool(const std::string&)> takenElsewhere)
        : takenElsewhere_(std::move(takenElsewhere)) {}

    // base, else "base (user)", else "base (user) 2", "base (user) 3", ...
    // (without a user, "base 2", ...). The name returned is taken.
    std::string Unique(const std::string& base, const std::string& user);

private:
    bool Taken(const std::string& name) const;
    void Take(const std::string& name);

    std::function<bool(const std::string&)> takenElsewhere_;
    std::unordered_set<std::string> planned_;         // folded names
    std::unordered_map<std::string, int> nextNumber_; // by folded stem
};

} // namespace ardeko
