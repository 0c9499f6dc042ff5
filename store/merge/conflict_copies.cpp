#include "store/merge/conflict_copies.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace ardeko {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

} // namespace

// The copy's name is the original's stem, a part naming the conflict
// (starting with a separator, holding "conflict"), and the original's
// extension: that covers the tools' patterns without listing their dates.
bool IsConflictCopyName(const std::string& candidate, const std::string& original) {
    const fs::path path(original);
    const std::string stem = Lower(path.stem().string());
    const std::string ext = Lower(path.extension().string());
    const std::string name = Lower(candidate);
    if (stem.empty() || name == Lower(original) || name.size() <= stem.size() + ext.size())
        return false;
    if (!name.starts_with(stem) || !name.ends_with(ext)) return false;
    const std::string middle = name.substr(stem.size(), name.size() - stem.size() - ext.size());
    const char lead = middle.front();
    const bool separated = lead == '.' || lead == ' ' || lead == '_' || lead == '-';
    return separated && middle.find("conflict") != std::string::npos;
}

std::vector<std::string> FindConflictCopies(const std::string& file) {
    std::vector<std::string> out;
    const fs::path path(file);
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    const std::string original = path.filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string name = it->path().filename().string();
        if (IsConflictCopyName(name, original)) out.push_back((folder / name).string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string MoveConflictCopyAside(const std::string& copy) {
    std::error_code ec;
    for (int n = 1; n < 1000; ++n) {
        const std::string target = copy + ".merged" + (n == 1 ? "" : "-" + std::to_string(n));
        if (fs::exists(target, ec)) continue;
        fs::rename(copy, target, ec);
        return ec ? std::string() : target;
    }
    return {};
}

} // namespace ardeko
