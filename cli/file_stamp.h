// What tells one version of a file from the next, to refuse a save over a
// version another program wrote while a command ran.
#pragma once

#include <sys/stat.h>

#include <string>

namespace qvs {

struct Stamp {
    long long size = -1, modifiedNs = 0, inode = 0;
    static Stamp Of(const std::string& path) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) return {};
        return {static_cast<long long>(st.st_size),
                static_cast<long long>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                static_cast<long long>(st.st_ino)};
    }
    bool operator==(const Stamp&) const = default;
};

} // namespace qvs
