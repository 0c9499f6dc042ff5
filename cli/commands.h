// The tool's commands. Each returns the process exit code and reports its
// own failures on stderr.
#pragma once

#include "store/legacy/legacy_file.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ardeko {
class clsPW;
}

namespace qvs {

// Exit codes, as the manual page lists them.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;         // bad arguments, or input that is no answer
inline constexpr int kExitWrongPassword = 2; // the password does not open the file
inline constexpr int kExitBadFile = 3;       // damaged, unreadable or unwritable file
inline constexpr int kExitNotFound = 4;      // no such entry, category or subcategory
inline constexpr int kExitRefused = 5;       // the file cannot hold it, or it would lose data

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
    std::string service;      // show and the entry verbs: the entry
    std::string field;        // show: user, password, url, notes, code or an extra field's name;
                              // empty: all but the password and protected fields
    bool withHistory = false; // dump: the entries' earlier passwords too
    // Every argument after the verb's name that is no option, in order
    // (FILE first), and every option given, with its value ("" for a flag).
    std::vector<std::string> args;
    std::map<std::string, std::string> given;

    bool Has(const std::string& option) const { return given.contains(option); }
    // The option's value; fallback when it was not given.
    std::string Value(const std::string& option, const std::string& fallback = {}) const {
        const auto it = given.find(option);
        return it == given.end() ? fallback : it->second;
    }
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

// A data file format named by --format: "legacy" or "2" (or none); a usage
// failure's exit code otherwise.
std::optional<int> CheckFileFormat(const Options& options);

// Changes to one entry: add, edit, rm, mv.
int RunAdd(const Options& options);
int RunEdit(const Options& options);
int RunRemove(const Options& options);
int RunMove(const Options& options);

// Categories and subcategories: mkcat, rmcat, mksub, rmsub.
int RunMakeCategory(const Options& options);
int RunRemoveCategory(const Options& options);
int RunMakeSubCategory(const Options& options);
int RunRemoveSubCategory(const Options& options);

// Changes the file password (and, for format 2, the key settings).
int RunPasswd(const Options& options);

// Prints a new password or passphrase.
int RunGenerate(const Options& options);

// Lists the entries a text finds, as QVS's search finds them.
int RunSearch(const Options& options);

// Puts one field of an entry on the desktop clipboard for a while.
int RunClip(const Options& options);

// Writes the entries as CSV, HTML or text to standard output.
int RunExport(const Options& options);

// Asks for the password and loads options.file; reports its own failures and
// returns the exit code then. A damaged file loads with a warning. password:
// where to keep the password given, for a caller that needs it again.
// texts: which texts of the entries a listing needs (the others are never
// deciphered, and such a store cannot be saved).
std::optional<int> OpenStore(const Options& options, ardeko::clsPW& store,
                             std::string* password = nullptr,
                             ardeko::EntryTexts texts = ardeko::EntryTexts::All);

// Prints the warnings of a file that loaded: damage, bytes appended, weak
// key settings, and that the file cannot tell a wrong password.
void WarnAfterLoad(const std::string& file, const ardeko::clsPW& store);

// Before a store loaded with a password it cannot check is written: asks for
// the password again (the next line of standard input with
// --password-stdin) and fails, writing nothing, when it differs.
std::optional<int> ConfirmPassword(const Options& options, ardeko::clsPW& store);

// Reads a data file's new password (twice on a terminal); an empty one only
// with --no-password. kExitOk, or the exit code of the failure it reported.
int ReadNewFilePassword(const Options& options, std::string& password);

// Prints message and returns code.
int Fail(const std::string& message, int code = kExitBadFile);
// Prints the store's ErrDescr and returns the exit code its ErrNum stands for.
int FailStore(const ardeko::clsPW& store, const std::string& after = {});
// Prints why store could not load path and returns the exit code for it.
int LoadFailure(const ardeko::clsPW& store, const std::string& path);
// Fails with kExitUsage: arguments that make no sense for a verb.
int UsageFail(const std::string& message);
// The entry's extra field of that name; nullptr, after saying which fields
// can be asked for, when it has none (the exit code is then kExitNotFound).
const ardeko::T_CustomField* FindExtraField(const ardeko::T_Password& p, const std::string& name,
                                            const std::string& fixedFields);
// A store date as "yyyy-mm-dd", the form every verb writes dates in.
std::string IsoDate(double storeDate);

} // namespace qvs
