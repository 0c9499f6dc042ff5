// qvs-cli import: entries exported by another password program, added to a
// data file in one save.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qvs {

struct Options;

// Options only import takes; those with a value take the next argument.
bool IsImportOption(std::string_view arg);
bool ImportOptionTakesValue(std::string_view arg);

// Reads options.jsonFile (the other program's file), shows what would be
// imported, and unless --dry-run adds it to options.file with one save
// (keeping a backup copy). On any error the file is not touched.
int RunImport(const Options& options);

} // namespace qvs
