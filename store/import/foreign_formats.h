// The files other password programs write, read into one neutral shape: one
// ForeignEntry per login, whatever the program. Which program wrote a file is
// told from its first line (the column captions) or its structure.
#pragma once

#include "store/import/foreign_csv.h"
#include "store/import/foreign_text.h"
#include "store/import/import_problem.h"
#include "store/records.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ardeko {

enum class ForeignFormat {
    Auto,
    Chrome, // Chromium-family browsers
    Firefox,
    KeePassCsv, // the KeePass-format desktop managers' CSV
    BitwardenCsv,
    BitwardenJson, // unencrypted JSON export
    LastPass,
    Csv, // any other CSV, mapped column by column
};

// The name the command line uses (auto, chrome, firefox, keepass-csv, ...).
const char* FormatName(ForeignFormat f);
std::optional<ForeignFormat> FormatByName(std::string_view name);

// What the store can take from a row of a CSV of unknown shape.
enum class ForeignField { Title, User, Password, Url, Notes, Email, Group, Favourite };
const char* FieldName(ForeignField f);
std::optional<ForeignField> FieldByName(std::string_view name);

// Column (0-based) of each field that is mapped, for a generic CSV.
struct ColumnMap {
    std::vector<std::pair<ForeignField, std::size_t>> columns;
    std::optional<std::size_t> Of(ForeignField f) const;
    bool Has(std::size_t column) const; // mapped to some field
};

// A value of an entry that the store has no place for and that cannot be
// kept as text either.
struct DroppedValue {
    enum class Kind { Passkey, Collection };
    Kind kind = Kind::Passkey;
    std::string detail; // the passkey's site, the collection's name; may be ""
};
// "passkey for example.com", "collection Family": English, for scripts.
std::string DroppedText(const DroppedValue& v);

struct ForeignEntry {
    std::size_t line = 0; // where it starts in the file (0: not a line-based file)
    std::string title, user, password, url, notes, email;
    std::vector<std::string> groups; // folder path, outermost first
    bool favourite = false;
    std::optional<double> created, modified; // local dates as the store keeps them
    std::optional<double> expires;           // an expiry date the file gives
    // Named fields (custom fields, card numbers, keys, columns no reader
    // expects), each plain or protected: an entry's own fields where the
    // file holds them, else its notes.
    std::vector<T_CustomField> fields;
    // Values the store has no place for (one-time-password secrets, further
    // addresses, attachments): caption and value, kept in the notes.
    std::vector<std::pair<std::string, std::string>> extras;
    // What the file held for the entry that cannot be imported (passkeys,
    // collection membership).
    std::vector<DroppedValue> notImported;
};

struct ForeignSkip {
    std::size_t line = 0;
    std::string title;
    std::string reason;
};

struct ForeignData {
    ForeignFormat format = ForeignFormat::Auto; // the one read (never Auto)
    TextEncoding encoding = TextEncoding::Auto;
    char delimiter = ',';
    std::vector<std::string> captions; // a CSV's columns (first row, or numbers)
    ColumnMap map;                     // generic CSV: the columns read
    std::vector<ForeignEntry> entries;
    std::vector<ForeignSkip> skipped;
    // Why the file could not be read (set when ReadForeignData fails).
    std::optional<ImportProblem> problem;
};

struct ReadOptions {
    ForeignFormat format = ForeignFormat::Auto;
    TextEncoding encoding = TextEncoding::Auto;
    char delimiter = 0;           // generic CSV: 0 = guess from the first row
    bool firstRowCaptions = true; // generic CSV
    // Generic CSV (columns mapped to no field go to the notes): the columns of
    // the fields; else mapText ("user=Login,
    // password=3": captions or 1-based numbers); else guessed from the captions.
    std::optional<ColumnMap> map;
    std::string mapText;
};

// Files larger than this are refused before reading: no export of a personal
// password store comes near it.
inline constexpr std::size_t kMaxForeignFileBytes = 64u << 20;

// Reads bytes as options say. On failure the message names the line or field
// (never quoting the file's text), data.problem holds it as a message number
// and data holds nothing else usable.
std::optional<std::string> ReadForeignData(std::string_view bytes, const ReadOptions& options,
                                           ForeignData& data);

// The mapping guessed from a generic CSV's captions (title, user name, ...).
ColumnMap GuessColumnMap(const std::vector<std::string>& captions);

// --- Helpers shared by the readers ---
// Seconds since 1970 (UTC) as a local store date.
double LocalDateFromUnix(double seconds);
// An ISO 8601 date-time ("2024-03-01T10:20:30Z", "2024-03-01 10:20:30",
// fractions and offsets allowed) as a local store date.
std::optional<double> ParseIsoDate(std::string_view text);
// A folder path split at sep, with empty levels dropped.
std::vector<std::string> SplitPath(std::string_view path, char sep);

// A column or field a reader has no place for: a one-time-code secret goes
// to the extras, an expiry date to expires, anything else to the fields
// (protected when its caption names a secret). Empty values are dropped.
void AddColumn(ForeignEntry& e, const std::string& caption, std::string value);
// Whether a field's caption names a secret (password, PIN, key, code, ...).
bool LooksSecret(std::string_view caption);

// Bitwarden's unencrypted JSON export.
std::optional<ImportProblem> ReadBitwardenJson(std::string_view text, ForeignData& data);

} // namespace ardeko
