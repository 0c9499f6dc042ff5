#include "tests/store/memory_scan.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace memscan {

namespace {

constexpr unsigned char kMask = 0x5A;
} // namespace

std::string Masked(const char* plain) {
    std::string m(plain);
    for (char& c : m)
        c = static_cast<char>(c ^ kMask);
    return m;
}
std::string MaskedUtf16(const char* plain) {
    std::string m;
    for (const char* c = plain; *c; ++c) {
        m.push_back(static_cast<char>(*c ^ kMask));
        m.push_back(static_cast<char>(kMask)); // the high byte, 0
    }
    return m;
}

std::string Unmasked(const std::string& masked) {
    std::string s(masked.size(), '\0');
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<char>(masked[i] ^ kMask);
    return s;
}

namespace {

bool MatchesAt(const char* p, std::size_t room, const std::string& masked) {
    if (room < masked.size()) return false;
    for (std::size_t i = 0; i < masked.size(); ++i)
        if (static_cast<char>(p[i] ^ kMask) != masked[i]) return false;
    return true;
}

constexpr unsigned long kLargestSearched = 1ul << 32;

} // namespace

// Every readable and writable mapping, searched for the unmasked bytes.
bool InMemory(const std::string& masked) {
    const int mem = ::open("/proc/self/mem", O_RDONLY);
    if (mem < 0) return false;
    std::ifstream maps("/proc/self/maps");
    std::string line;
    std::vector<char> buffer(1 << 20);
    bool found = false;
    while (!found && std::getline(maps, line)) {
        unsigned long start = 0, end = 0;
        char perms[5] = {};
        if (std::sscanf(line.c_str(), "%lx-%lx %4s", &start, &end, perms) != 3) continue;
        if (perms[0] != 'r' || perms[1] != 'w' || line.find("[vvar") != std::string::npos) continue;
        // Terabyte reservations (a sanitizer's shadow memory) are never-touched
        // pages; reading them would take hours. The test's heap is far smaller.
        if (end - start > kLargestSearched) continue;
        // Chunks overlap by the needle's length, so nothing is missed at a seam.
        for (unsigned long at = start; !found && at < end; at += buffer.size() - masked.size()) {
            const std::size_t want = std::min<unsigned long>(buffer.size(), end - at);
            const ssize_t got = ::pread(mem, buffer.data(), want, static_cast<off_t>(at));
            if (got <= 0) break;
            const auto n = static_cast<std::size_t>(got);
            const char first = static_cast<char>(masked[0] ^ kMask);
            for (const char* p = buffer.data(); !found && p < buffer.data() + n; ++p) {
                p = static_cast<const char*>(std::memchr(p, first, buffer.data() + n - p));
                if (!p) break;
                found = MatchesAt(p, buffer.data() + n - p, masked);
            }
            if (n < want) break;
        }
    }
    ::close(mem);
    std::fill(buffer.begin(), buffer.end(), 0);
    return found;
}

} // namespace memscan
