// health_bench: the password health report of a 30,000-entry store without
// a breached-password list, and lookups in a sorted list of 1 GB generated
// into a temporary folder (removed at the end), with the list's pages in
// memory and, as far as the kernel lets one file go, read from disk.
#include "bench/bench_store.h"
#include "store/passwords/breached_list.h"
#include "store/passwords/password_health.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 3;
// The list, for removal also when the benchmark is interrupted.
char gListPath[4096];
char gFolder[4096];

void RemoveListAndQuit(int) {
    ::unlink(gListPath);
    ::rmdir(gFolder);
    ::_exit(1);
}
constexpr std::uint64_t kListBytes = 1ull << 30;
constexpr std::uint64_t kLineBytes = 47; // 40 digits, ':', a count of 4, CR LF
constexpr int kLookups = 2000;

// A third long random passwords (the measure's slowest case), one in ten
// shared, the rest short and guessable, as a real file mixes them.
void MixPasswords(ardeko::clsPW& store) {
    std::mt19937 random(7);
    const std::string chars =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!@#$%&*";
    std::vector<ardeko::T_Password> entries(store.Password().begin(), store.Password().end());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        ardeko::T_Password& p = entries[i];
        if (i % 10 == 0) {
            p.pw = "Summer2024!";
        } else if (i % 3 == 0) {
            p.pw.clear();
            for (int c = 0; c < 20; ++c)
                p.pw += chars[random() % chars.size()];
        }
    }
    store.SetPassword(ardeko::MakePasswordCollection());
    for (const ardeko::T_Password& p : entries)
        store.InsertPassword(p);
}

// Sorted random hashes: line i's first 64 bits lie in the i-th of equal
// steps. Every so often a hash is kept to be looked up later.
bool WriteList(const std::string& path, std::vector<std::string>& kept) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::mt19937_64 random(11);
    const std::uint64_t lines = kListBytes / kLineBytes;
    const std::uint64_t step = ~0ull / lines;
    std::vector<char> buffer;
    buffer.reserve(1 << 20);
    char line[64];
    for (std::uint64_t i = 0; i < lines; ++i) {
        const std::uint64_t high = i * step + random() % step;
        const std::uint64_t mid = random(), low = random() >> 32;
        std::snprintf(line, sizeof line, "%016llX%016llX%08llX:%04llu\r\n",
                      static_cast<unsigned long long>(high), static_cast<unsigned long long>(mid),
                      static_cast<unsigned long long>(low),
                      static_cast<unsigned long long>(random() % 10000));
        if (i % (lines / (kLookups / 2)) == 0) kept.emplace_back(line, 40);
        buffer.insert(buffer.end(), line, line + kLineBytes);
        if (buffer.size() > (1 << 20) - 64) {
            if (std::fwrite(buffer.data(), 1, buffer.size(), f) != buffer.size()) break;
            buffer.clear();
        }
    }
    const bool ok = std::fwrite(buffer.data(), 1, buffer.size(), f) == buffer.size();
    return std::fclose(f) == 0 && ok;
}

// Milliseconds per lookup, on average and the slowest, of found hashes and
// of passwords the list does not hold.
void TimeLookups(ardeko::BreachedList& list, const std::vector<std::string>& kept,
                 const char* what) {
    double total = 0, slowest = 0;
    int found = 0, lookups = 0;
    const auto time = [&](auto lookup) {
        const auto t0 = std::chrono::steady_clock::now();
        const auto seen = lookup();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - t0;
        total += took.count();
        slowest = std::max(slowest, took.count());
        found += seen && *seen > 0;
        ++lookups;
    };
    for (const std::string& hash : kept)
        time([&] { return list.TimesSeenHash(hash); });
    for (int i = 0; i < kLookups / 2; ++i)
        time([&] { return list.TimesSeen("not-in-the-list-" + std::to_string(i)); });
    std::printf("  %-22s %7.3f ms per lookup, slowest %7.3f ms (%d lookups, %d found)\n", what,
                total / lookups, slowest, lookups, found);
}

} // namespace

int main() {
    ardeko::clsPW store;
    bench::FillStore(store);
    MixPasswords(store);
    ardeko::HealthReport report;
    const bench::Timing t =
        bench::BestTiming([] {}, [&] { ardeko::AnalysePasswords(store, {}, report); }, kRuns);
    std::printf("Health report of %d entries, no breached list (best of %d)\n", bench::kEntries,
                kRuns);
    std::printf("  %8.1f ms wall %8.1f ms CPU  (%zu findings)\n", t.wallMs, t.cpuMs,
                report.findings.size());

    const auto folder =
        std::filesystem::temp_directory_path() / ("health_bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "breached.txt").string();
    std::snprintf(gListPath, sizeof gListPath, "%s", path.c_str());
    std::snprintf(gFolder, sizeof gFolder, "%s", folder.c_str());
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        std::signal(sig, RemoveListAndQuit);
    std::vector<std::string> kept;
    std::printf("Writing a sorted list of %llu MiB ...\n",
                static_cast<unsigned long long>(kListBytes >> 20));
    int status = 0;
    ardeko::BreachedList list;
    if (!WriteList(path, kept) || !list.Open(path)) {
        std::fprintf(stderr, "health_bench: cannot write or open %s: %s\n", path.c_str(),
                     list.ErrDescr().c_str());
        status = 1;
    } else {
        std::printf("Lookups in it\n");
        TimeLookups(list, kept, "pages in memory");
        // Lets this file's pages go, so the next lookups read the disk.
        const int fd = ::open(path.c_str(), O_RDONLY);
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
        TimeLookups(list, kept, "from disk");
    }
    std::filesystem::remove_all(folder);
    return status;
}
