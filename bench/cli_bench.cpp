// cli_bench: CPU time and peak memory of `qvs-cli ls` and `qvs-cli dump` on a
// 30,000-entry file in format 2 (key derivation at 64 MiB and 3 passes) and
// in the legacy format, each the best of a few runs, measured by the kernel.
// The key derivation's own CPU time is printed apart.
#include "bench/bench_store.h"
#include "store/kdf.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Usage {
    double cpuSeconds = 0;
    double peakMiB = 0;
};

// Runs qvs-cli with the password on standard input and its output thrown
// away; returns what the child used.
Usage RunCli(const std::string& cli, const char* command, const std::string& file) {
    int in[2];
    if (::pipe(in) != 0) std::exit(1);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(in[0], 0);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::close(in[1]);
        ::execl(cli.c_str(), cli.c_str(), command, file.c_str(), "--password-stdin", nullptr);
        ::_exit(127);
    }
    ::close(in[0]);
    const std::string line = std::string(bench::kFilePassword) + "\n";
    if (::write(in[1], line.data(), line.size()) < 0) std::exit(1);
    ::close(in[1]);
    int status = 0;
    rusage ru{};
    ::wait4(child, &status, 0, &ru);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "cli_bench: qvs-cli %s failed\n", command);
        std::exit(1);
    }
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return {seconds(ru.ru_utime) + seconds(ru.ru_stime), ru.ru_maxrss / 1024.0};
}

} // namespace

int main(int argc, char** argv) {
    const std::string cli = argc > 1 ? argv[1] : QVS_CLI_PATH;
    const auto folder =
        std::filesystem::temp_directory_path() / ("cli_bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    // The file gets the least parameters a new file may have.
    ardeko::SetKdfParamsForTesting(ardeko::kKdfFloor);
    const double kdfStart = bench::CpuMilliseconds();
    ardeko::FileKey key;
    ardeko::DeriveFileKey(bench::kFilePassword, ardeko::kKdfFloor, ardeko::Salt{}, key);
    std::printf("key derivation (64 MiB, 3 passes): %.3f cpu s\n",
                (bench::CpuMilliseconds() - kdfStart) / 1e3);
    std::printf("%-6s %-7s %8s %10s %10s\n", "case", "format", "entries", "cpu s", "peak MiB");
    for (const auto format : {ardeko::FileFormat::Two, ardeko::FileFormat::Legacy}) {
        const std::string file = (folder / "bench.qvs").string();
        ardeko::clsPW store;
        bench::MakeBenchStore(store, format);
        if (!store.SaveFile(file, false)) {
            std::fprintf(stderr, "cli_bench: %s\n", store.ErrDescr().c_str());
            return 1;
        }
        for (const char* command : {"ls", "dump"}) {
            Usage best{1e9, 1e9};
            for (int run = 0; run < 3; ++run) {
                const Usage u = RunCli(cli, command, file);
                best.cpuSeconds = std::min(best.cpuSeconds, u.cpuSeconds);
                best.peakMiB = std::min(best.peakMiB, u.peakMiB);
            }
            std::printf("%-6s %-7s %8d %10.3f %10.1f\n", command, bench::FormatName(format),
                        bench::kEntries, best.cpuSeconds, best.peakMiB);
        }
    }
    std::filesystem::remove_all(folder);
    return 0;
}
