// The tool's commands. Each returns the process exit code and reports its
// own failures on stderr.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ardeko {
class clsPW;
}

namespace qvs {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitBadFile = 3; // damaged, unreadable or unwritable file

struct Options {
    std::string command;
    std::string file;
    std::string jsonFile; // create: the records to write; import: the file to import
    std::vector<std::pair<std::string, std::string>> importOptions; // import: name, value
    bool passwordStdin = false;
    std::string other; // merge: the other version
    std::string base;  // merge: the version both started from ("" merges two-way)
    bool dryRun = false;
    std::string format;       // create, convert: "legacy" or "2"; empty: the default
    std::string service;      // show: the entry
    std::string field;        // show: user, password, url, notes, code or an extra field's name;
                              // empty: all but the password and protected fields
    bool withHistory = false; // dump: the entries' earlier passwords too
};

// Writes the whole store in file as JSON to stdout.
int RunDump(const Options& options);

// Writes a new data file from the records in jsonFile.
int RunCreate(const Options& options);

// Prints one entry's fields (options.field: only that one).
int RunShow(const Options& options);

// Lists the category tree with its entries, one per line (no passwords).
int RunList(const Options& options);

// Lists the entries whose expiry or change date has come or is near, with why.
int RunExpiring(const Options& options);

// Merges options.other into options.file (three-way with options.base) and
// saves it, unless dryRun; prints what came from where.
int RunMerge(const Options& options);
// Lists the sync tools' conflict copies beside options.file, one a line.
int RunConflicts(const Options& options);
// After a merge: the conflict copies beside options.file other than options.other.
void PrintOtherConflictCopies(const Options& options);
// Writes the data file again in another format (default 2), keeping a
// time-stamped copy of the file as it was.
int RunConvert(const Options& options);

// Prints the file's format and key-derivation parameters; no password.
int RunInfo(const Options& options);

// Asks for the password and loads options.file; reports its own failures and
// returns the exit code then. A damaged file loads with a warning. password:
// where to keep the password given, for a caller that needs it again.
std::optional<int> OpenStore(const Options& options, ardeko::clsPW& store,
                             std::string* password = nullptr);

// Prints the warnings of a file that loaded: damage, bytes appended, weak
// key settings, and that the file cannot tell a wrong password.
void WarnAfterLoad(const std::string& file, const ardeko::clsPW& store);

// Before a store loaded with a password it cannot check is written: asks for
// the password again (the next line of standard input with
// --password-stdin) and fails, writing nothing, when it differs.
std::optional<int> ConfirmPassword(const Options& options, ardeko::clsPW& store);

int Fail(const std::string& message);

} // namespace qvs
