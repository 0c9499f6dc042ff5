// cli_bench: CPU time and peak memory of `qvs-cli ls`, `search` and `dump` on
// a 30,000-entry file in format 2 and in the legacy format, each the best of
// a few runs, measured by the kernel. Each file is written twice: with the
// least key settings a new file gets (64 MiB, 3 passes), whose derivation's
// own CPU time is printed apart, and with the least the library allows, so
// that what the reading itself costs (time and memory) shows.
#include "bench/bench_store.h"
#include "store/crypto/kdf.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct Usage {
    double cpuSeconds = 0;
    double peakMiB = 0;
};

// Runs qvs-cli with the password on standard input and its output thrown
// away; returns what the child used.
Usage RunCli(const std::string& cli, const std::vector<const char*>& command,
             const std::string& file) {
    int in[2];
    if (::pipe(in) != 0) std::exit(1);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(in[0], 0);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::close(in[1]);
        ::close(2); // the warning of the least key settings
        std::vector<char*> args{const_cast<char*>(cli.c_str()), const_cast<char*>(command[0]),
                                const_cast<char*>(file.c_str())};
        for (std::size_t i = 1; i < command.size(); ++i)
            args.push_back(const_cast<char*>(command[i]));
        args.push_back(const_cast<char*>("--password-stdin"));
        args.push_back(nullptr);
        ::execv(cli.c_str(), args.data());
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
        std::fprintf(stderr, "cli_bench: qvs-cli %s failed\n", command[0]);
        std::exit(1);
    }
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return {seconds(ru.ru_utime) + seconds(ru.ru_stime), ru.ru_maxrss / 1024.0};
}

struct FileCase {
    ardeko::KdfParams params;
    const char* kdfName;
    ardeko::FileFormat format;
    std::string file;
};

std::vector<FileCase> Cases(const std::filesystem::path& folder) {
    std::vector<FileCase> cases;
    for (const auto& [params, kdfName] :
         {std::pair{ardeko::kKdfFloor, "floor"}, std::pair{ardeko::MinimalKdfParams(), "least"}})
        for (const auto format : {ardeko::FileFormat::Two, ardeko::FileFormat::Legacy})
            cases.push_back(
                {params, kdfName, format,
                 (folder / (std::string(kdfName) + "-" + bench::FormatName(format) + ".qvs"))
                     .string()});
    return cases;
}

// Times every command on every file, from a process that never held a
// store: a child's peak memory counts what it was forked from.
int Measure(const std::string& cli, const std::filesystem::path& folder) {
    std::printf("%-6s %-7s %-6s %8s %10s %10s\n", "case", "format", "kdf", "entries", "cpu s",
                "peak MiB");
    const std::vector<std::vector<const char*>> commands{
        {"ls"}, {"search", "service 0042"}, {"dump"}};
    for (const FileCase& c : Cases(folder))
        for (const auto& command : commands) {
            Usage best{1e9, 1e9};
            for (int run = 0; run < 5; ++run) {
                const Usage u = RunCli(cli, command, c.file);
                best.cpuSeconds = std::min(best.cpuSeconds, u.cpuSeconds);
                best.peakMiB = std::min(best.peakMiB, u.peakMiB);
            }
            std::printf("%-6s %-7s %-6s %8d %10.3f %10.1f\n", command[0],
                        bench::FormatName(c.format), c.kdfName, bench::kEntries, best.cpuSeconds,
                        best.peakMiB);
        }
    return 0;
}

// Writes the files the measuring process reads.
bool WriteFiles(const std::filesystem::path& folder) {
    for (const FileCase& c : Cases(folder)) {
        ardeko::SetKdfParamsForTesting(c.params);
        ardeko::clsPW store;
        bench::MakeBenchStore(store, c.format);
        if (!store.SaveFile(c.file, false)) {
            std::fprintf(stderr, "cli_bench: %s\n", store.ErrDescr().c_str());
            return false;
        }
    }
    return true;
}

} // namespace

// cli_bench [QVS-CLI]; cli_bench QVS-CLI --measure FOLDER is its second step.
int main(int argc, char** argv) {
    const std::string cli = argc > 1 ? argv[1] : QVS_CLI_PATH;
    if (argc > 3 && std::string(argv[2]) == "--measure") return Measure(cli, argv[3]);
    const auto folder =
        std::filesystem::temp_directory_path() / ("cli_bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const double kdfStart = bench::CpuMilliseconds();
    ardeko::FileKey key;
    ardeko::DeriveFileKey(bench::kFilePassword, ardeko::kKdfFloor, ardeko::Salt{}, key);
    std::printf("key derivation (64 MiB, 3 passes): %.3f cpu s\n",
                (bench::CpuMilliseconds() - kdfStart) / 1e3);
    std::fflush(stdout);
    int status = 1;
    if (WriteFiles(folder)) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::execl("/proc/self/exe", argv[0], cli.c_str(), "--measure", folder.c_str(), nullptr);
            ::_exit(127);
        }
        ::waitpid(child, &status, 0);
        status = WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    }
    std::filesystem::remove_all(folder);
    return status;
}
