// Importing what another program exported: a plan built and checked against
// the open store first (service names made unique, categories to create,
// fields moved into the notes, anything the file cannot hold), then applied
// all at once, or not at all.
#pragma once

#include "store/foreign_formats.h"
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
    std::vector<PlannedEntry> entries;
    std::vector<std::string> newCategories;
    std::vector<std::pair<std::string, std::string>> newSubcategories; // category, name
    std::size_t renamed = 0;
    std::size_t movedToNotes = 0; // fields with no place of their own
    std::size_t codes = 0;        // one-time-code secrets taken into their field
    std::vector<ForeignSkip> skipped;
    // Why the plan cannot be applied (the store's words, naming the entry).
    std::optional<std::string> problem;
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

// The counts, renames and skipped rows in plain words, one per line.
std::string ImportSummaryText(const ImportPlan& plan);

// A program's name for people ("KeePass-format CSV").
const char* FormatTitle(ForeignFormat f);

} // namespace ardeko
