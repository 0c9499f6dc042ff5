#include "store/import/unique_names.h"

#include "store/codepage.h"

namespace ardeko {

bool UniqueNames::Taken(const std::string& name) const {
    return planned_.contains(FoldKey(name)) || takenElsewhere_(name);
}

void UniqueNames::Take(const std::string& name) {
    planned_.insert(FoldKey(name));
}

std::string UniqueNames::Unique(const std::string& base, const std::string& user) {
    std::string name = base;
    const std::string stem = user.empty() ? base : base + " (" + user + ")";
    if (Taken(name)) name = stem;
    if (Taken(name)) {
        int& next = nextNumber_.try_emplace(FoldKey(stem), 2).first->second;
        do
            name = stem + " " + std::to_string(next++);
        while (Taken(name));
    }
    Take(name);
    return name;
}

} // namespace ardeko
