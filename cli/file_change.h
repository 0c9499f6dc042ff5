// A data file opened to change it and saved as QVS saves it: a backup copy,
// an atomic replace, the same format and key (a format-2 file derives
// nothing on save). Never over a version another program wrote meanwhile.
#pragma once

#include "cli/commands.h"
#include "cli/file_stamp.h"
#include "store/pw.h"

#include <functional>
#include <optional>
#include <string>

namespace qvs {

class FileChange {
public:
    explicit FileChange(const Options& options) : options_(options) {}

    // Asks for the password and loads the file; a damaged file is refused,
    // as saving what could be read of it would drop the rest. The exit code
    // when it cannot be changed.
    std::optional<int> Open();
    ardeko::clsPW& Store() { return store_; }
    // Saves; the exit code (kExitOk when saved).
    int Save();

private:
    const Options& options_;
    ardeko::clsPW store_;
    Stamp read_;
};

// Opens options.file for a change, runs change on its store and saves the
// file when change returns kExitOk; the exit code.
int ChangeFile(const Options& options, const std::function<int(ardeko::clsPW&)>& change);

// The code of the category named name (folded as the store folds names);
// none when there is no such category.
std::optional<std::int16_t> CategoryCode(const ardeko::clsPW& store, const std::string& name);
// The code of subcategory name of category cat; none when there is none.
std::optional<std::int16_t> SubCategoryCode(const ardeko::clsPW& store, std::int16_t cat,
                                            const std::string& name);

// Fails for a missing category or subcategory with kExitNotFound.
int NoSuch(const char* what, const std::string& name);

} // namespace qvs
