// qvs-cli import: entries exported by another password program, added to a
// data file in one save.
#pragma once

#include <string>
#include <string_view>

namespace qvs {

struct Options;

// The options import takes, as the table of verbs lists them.
inline constexpr std::string_view kImportOptions =
    "--from= --format= --dry-run --password-stdin --map= --encoding= --delimiter= --no-captions";

// Reads options.jsonFile (the other program's file), shows what would be
// imported, and unless --dry-run adds it to options.file with one save
// (keeping a backup copy). On any error the file is not touched.
int RunImport(const Options& options);

} // namespace qvs
