// The tool's commands. Each returns the process exit code and reports its
// own failures on stderr.
#pragma once

#include <string>

namespace qvs {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Options {
    std::string command;
    std::string file;
    std::string jsonFile; // create: the records to write
    bool passwordStdin = false;
};

// Writes the whole store in file as JSON to stdout.
int RunDump(const Options& options);

// Writes a new data file from the records in jsonFile.
int RunCreate(const Options& options);

} // namespace qvs
