// Importing what another program exported: a plan built and checked against
// the open store first (service names made unique, categories to create,
// fields moved into the notes, anything the file cannot hold), then applied
// all at once, or not at all.
#pragma once

#include "store/import/foreign_formats.h"
#include "store/import/import_problem.h"
#include "store/legacy/legacy_file.h"
#include "store/records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ardeko {

class clsPW;

struct PlannedEntry {
    std::size_t line = 0; // in the file, 0 when not line-based
    std::string category; // "" = none; exact name of an existing one when it exists
    std::string subcategory;
    std::string givenName; // the name the other program had, when it had to change
    T_Password record;     // codes filled in when applied
};

struct ImportPlan {
    ForeignFormat format = ForeignFormat::Auto;
    TextEncoding encoding = TextEncoding::Auto; // the one the file was read in
    std::vector<PlannedEntry> entries;
    std::vector<std::string> newCategories;
    std::vector<std::pair<std::string, std::string>> newSubcategories; // category, name
    std::size_t renamed = 0;
    std::size_t movedToNotes = 0;    // fields with no place of their own
    std::size_t codes = 0;           // one-time-code secrets taken into their field
    std::size_t fields = 0;          // named fields kept as the entries' own
    std::size_t protectedFields = 0; // of those, the protected ones
    std::size_t expiries = 0;        // expiry dates taken into their field
    std::vector<ForeignSkip> skipped;
    // Values the file held that cannot be imported (passkeys, collection
    // membership), with the entry's line and name.
    struct Dropped {
        std::size_t line = 0;
        std::string title;
        DroppedValue value;
    };
    std::vector<Dropped> notImported;
    // Why the plan cannot be applied (the store's words, naming the entry).
    std::optional<std::string> problem;
    // The same as parts, for a window to word: the entry's line, and either
    // the text the file cannot hold or the limit the import goes past.
    std::size_t problemLine = 0;
    std::optional<EncodeError> problemRefusal;
    std::optional<ImportProblem> problemLimit;
};

struct PlanOptions {
    double now = 0;           // the date of entries the file gives none
    std::int16_t keyPair = 0; // typed between and after the login
};

// The heading under which fields without a place of their own enter the notes.
inline constexpr const char* kMovedFieldsHeading = "--- Other fields (imported) ---";

ImportPlan PlanImport(const clsPW& store, const ForeignData& data, const PlanOptions& options);

// Adds the planned categories, subcategories and entries through the store's
// operations. All or nothing: on failure the store is as it was and the
// result says why.
std::optional<std::string> ApplyImport(clsPW& store, const ImportPlan& plan);

// The encoding, counts, renames, skipped rows and values not imported in
// plain words, one per line.
std::string ImportSummaryText(const ImportPlan& plan);

// A program's name for people ("KeePass-format CSV").
const char* FormatTitle(ForeignFormat f);

} // namespace ardeko
