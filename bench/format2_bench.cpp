// format2_bench: opening and saving a 30,000-entry file in format 2 and in
// the legacy format with its trailer. Key derivation (as a new file gets it
// on this machine) is printed apart from the rest of opening; saving keeps
// the key, so it derives nothing.
#include "bench/bench_store.h"
#include "store/crypto/kdf.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

void Require(bool ok, const ardeko::clsPW& store) {
    if (ok) return;
    std::fprintf(stderr, "format2_bench: %s\n", store.ErrDescr().c_str());
    std::exit(1);
}

} // namespace

int main() {
    const auto folder =
        std::filesystem::temp_directory_path() / ("format2_bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const ardeko::KdfParams params = ardeko::DefaultKdfParams();
    const ardeko::Salt salt{};
    const bench::Timing kdf =
        bench::BestTiming([] {},
                          [&] {
                              ardeko::FileKey key;
                              ardeko::DeriveFileKey(bench::kFilePassword, params, salt, key);
                          },
                          3);
    std::printf("key derivation: Argon2id, %u passes, %u KiB: %.1f ms wall, %.1f ms cpu\n",
                params.passes, params.memoryKiB, kdf.wallMs, kdf.cpuMs);
    std::printf("%-7s %8s %14s %14s %12s\n", "format", "entries", "open-rest ms", "open-all ms",
                "save ms");
    for (const auto format : {ardeko::FileFormat::Two, ardeko::FileFormat::Legacy}) {
        const std::string file = (folder / "bench.qvs").string();
        ardeko::clsPW store;
        bench::MakeBenchStore(store, format);
        Require(store.SaveFile(file, false), store);
        const double save =
            bench::BestMilliseconds([] {}, [&] { Require(store.SaveFile(file, false), store); }, 5);
        const double open = bench::BestMilliseconds(
            [] {},
            [&] {
                ardeko::clsPW reader;
                Require(reader.LoadFile(file, bench::kFilePassword), reader);
            },
            3);
        std::printf("%-7s %8d %14.1f %14.1f %12.1f\n", bench::FormatName(format), bench::kEntries,
                    open - kdf.wallMs, open, save);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
