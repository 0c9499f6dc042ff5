// Telling which program wrote a CSV file and reading its rows into
// ForeignEntry records. Columns are found by their captions, so a program
// that adds or reorders columns is still read.
#include "store/foreign_formats.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <unordered_map>

namespace ardeko {

namespace {

constexpr std::array<const char*, 8> kFormatNames = {
    "auto",          "chrome",         "firefox",  "keepass-csv",
    "bitwarden-csv", "bitwarden-json", "lastpass", "csv"};
constexpr std::array<const char*, 8> kFieldNames = {"title", "user",  "password", "url",
                                                    "notes", "email", "group",    "favourite"};

// The enumerator whose position in names holds name.
template <class E, std::size_t N>
std::optional<E> ByName(const std::array<const char*, N>& names, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i)
        if (name == names[i]) return static_cast<E>(i);
    return std::nullopt;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    out.erase(0, out.find_first_not_of(' '));
    return out;
}

// One row, its fields found by caption.
class Row {
public:
    Row(const std::unordered_map<std::string, std::size_t>& columns, const CsvRecord& record)
        : columns_(columns), record_(record) {}
    std::string operator[](const char* caption) const {
        const auto it = columns_.find(caption);
        return it == columns_.end() ? std::string() : record_.fields[it->second];
    }
    std::optional<std::size_t> Column(const char* caption) const {
        const auto it = columns_.find(caption);
        return it == columns_.end() ? std::nullopt : std::optional(it->second);
    }

private:
    const std::unordered_map<std::string, std::size_t>& columns_;
    const CsvRecord& record_;
};

void AddExtra(ForeignEntry& e, const char* caption, std::string value) {
    if (!value.empty()) e.extras.emplace_back(caption, std::move(value));
}

bool IsOne(const std::string& s) {
    return s == "1" || Lower(s) == "true";
}

std::optional<double> FromMilliseconds(const std::string& s) {
    if (s.empty() || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return LocalDateFromUnix(std::stod(s) / 1000.0);
}

void MapChrome(const Row& r, ForeignEntry& e) {
    e.title = r["name"];
    e.url = r["url"];
    e.user = r["username"];
    e.password = r["password"];
    e.notes = r["note"];
}

void MapFirefox(const Row& r, ForeignEntry& e) {
    e.url = r["url"];
    e.user = r["username"];
    e.password = r["password"];
    AddExtra(e, "HTTP realm", r["httprealm"]);
    if (r["formactionorigin"] != e.url) AddExtra(e, "Form address", r["formactionorigin"]);
    e.created = FromMilliseconds(r["timecreated"]);
    e.modified = FromMilliseconds(r["timepasswordchanged"]);
}

void MapKeePass(const Row& r, ForeignEntry& e) {
    e.groups = SplitPath(r["group"], '/');
    if (!e.groups.empty()) e.groups.erase(e.groups.begin()); // the root is no level
    e.title = r["title"];
    e.user = r["username"];
    e.password = r["password"];
    e.url = r["url"];
    e.notes = r["notes"];
    AddExtra(e, "TOTP", r["totp"]);
    e.created = ParseIsoDate(r["created"]);
    e.modified = ParseIsoDate(r["last modified"]);
}

// Custom fields as the CSV writes them: "name: value", one per line.
void AddCustomFields(ForeignEntry& e, const std::string& fields) {
    for (const std::string& line : SplitPath(fields, '\n')) {
        const std::size_t colon = line.find(": ");
        if (colon == std::string::npos)
            e.extras.emplace_back("Field", line);
        else
            e.extras.emplace_back(line.substr(0, colon), line.substr(colon + 2));
    }
}

void MapBitwardenCsv(const Row& r, ForeignEntry& e) {
    e.groups = SplitPath(r["folder"], '/');
    e.favourite = IsOne(r["favorite"]);
    e.title = r["name"];
    e.notes = r["notes"];
    AddCustomFields(e, r["fields"]);
    // Several addresses come in one field, separated by commas.
    std::vector<std::string> uris = SplitPath(r["login_uri"], ',');
    if (!uris.empty()) e.url = uris.front();
    for (std::size_t i = 1; i < uris.size(); ++i)
        e.extras.emplace_back("URL", uris[i]);
    e.user = r["login_username"];
    e.password = r["login_password"];
    AddExtra(e, "TOTP", r["login_totp"]);
}

void MapLastPass(const Row& r, ForeignEntry& e) {
    e.url = r["url"];
    if (e.url == "http://sn") e.url.clear(); // a secure note has no address
    e.user = r["username"];
    e.password = r["password"];
    AddExtra(e, "TOTP", r["totp"]);
    e.notes = r["extra"];
    e.title = r["name"];
    e.groups = SplitPath(r["grouping"], '\\');
    e.favourite = IsOne(r["fav"]);
}

struct Shape {
    ForeignFormat format;
    std::vector<const char*> required;
    void (*map)(const Row&, ForeignEntry&);
};

// Most specific first: a LastPass file also has Chrome's captions.
const std::array<Shape, 5>& Shapes() {
    static const std::array<Shape, 5> shapes = {{
        {ForeignFormat::BitwardenCsv,
         {"folder", "favorite", "type", "name", "login_uri", "login_username", "login_password"},
         MapBitwardenCsv},
        {ForeignFormat::LastPass,
         {"url", "username", "password", "extra", "name", "grouping"},
         MapLastPass},
        {ForeignFormat::KeePassCsv,
         {"group", "title", "username", "password", "url", "notes"},
         MapKeePass},
        {ForeignFormat::Firefox,
         {"url", "username", "password", "httprealm", "formactionorigin"},
         MapFirefox},
        {ForeignFormat::Chrome, {"name", "url", "username", "password"}, MapChrome},
    }};
    return shapes;
}

std::unordered_map<std::string, std::size_t> ColumnsOf(const CsvRecord& header) {
    std::unordered_map<std::string, std::size_t> columns;
    for (std::size_t i = 0; i < header.fields.size(); ++i)
        columns.emplace(Lower(header.fields[i]), i); // the first of a caption wins
    return columns;
}

const char* MissingCaption(const Shape& shape,
                           const std::unordered_map<std::string, std::size_t>& columns) {
    for (const char* caption : shape.required)
        if (!columns.contains(caption)) return caption;
    return nullptr;
}

std::string LinePrefix(std::size_t line) {
    return "Line " + std::to_string(line) + ": ";
}

std::optional<std::string> CheckWidth(const CsvRecord& record, std::size_t width) {
    if (record.fields.size() == width) return std::nullopt;
    return LinePrefix(record.line) + std::to_string(record.fields.size()) + " fields, where the " +
           "first line has " + std::to_string(width) + ".";
}

bool IsBlank(const ForeignEntry& e) {
    return e.title.empty() && e.user.empty() && e.password.empty() && e.url.empty() &&
           e.notes.empty() && e.email.empty() && e.extras.empty();
}

// Reads the rows after the header with map, checking each row's width.
template <class Map>
std::optional<std::string> ReadRows(const std::vector<CsvRecord>& records, std::size_t first,
                                    std::size_t width, ForeignData& data, const Map& map) {
    for (std::size_t i = first; i < records.size(); ++i) {
        const CsvRecord& record = records[i];
        if (auto err = CheckWidth(record, width)) return err;
        ForeignEntry e;
        e.line = record.line;
        map(record, e);
        if (IsBlank(e))
            data.skipped.push_back({record.line, e.title, "nothing to import in this row"});
        else
            data.entries.push_back(std::move(e));
    }
    return std::nullopt;
}

std::optional<std::string> ReadKnownCsv(const Shape& shape, const std::vector<CsvRecord>& records,
                                        ForeignData& data) {
    const auto columns = ColumnsOf(records.front());
    if (const char* missing = MissingCaption(shape, columns))
        return LinePrefix(records.front().line) + "the column \"" + missing +
               "\" is missing: this is not a " + FormatName(shape.format) + " file.";
    data.format = shape.format;
    data.captions = records.front().fields;
    return ReadRows(
        records, 1, records.front().fields.size(), data,
        [&](const CsvRecord& record, ForeignEntry& e) { shape.map(Row(columns, record), e); });
}

// Captions people give each field, in lower case.
const std::array<std::vector<const char*>, 8>& FieldCaptions() {
    static const std::array<std::vector<const char*>, 8> captions = {{
        {"title", "name", "service", "account", "site"},
        {"user", "username", "user name", "login", "login_username", "userid"},
        {"password", "pass", "passwd", "login_password", "pwd"},
        {"url", "website", "web site", "address", "login_uri", "uri"},
        {"notes", "note", "comment", "comments", "description", "extra"},
        {"email", "e-mail", "mail"},
        {"group", "folder", "category", "grouping"},
        {"favourite", "favorite", "fav"},
    }};
    return captions;
}

std::optional<std::string> ParseMapText(std::string_view mapText,
                                        const std::vector<std::string>& captions, ColumnMap& map) {
    for (const std::string& item : SplitPath(mapText, ',')) {
        const std::size_t eq = item.find('=');
        const auto field = FieldByName(Lower(item.substr(0, eq)));
        if (eq == std::string::npos || !field)
            return "--map: \"" + item + "\" is not FIELD=COLUMN with FIELD one of title, user, " +
                   "password, url, notes, email, group, favourite.";
        const std::string column = Lower(item.substr(eq + 1));
        std::optional<std::size_t> index;
        for (std::size_t i = 0; i < captions.size() && !index; ++i)
            if (Lower(captions[i]) == column) index = i;
        if (!index && !column.empty() &&
            std::all_of(column.begin(), column.end(), [](char c) { return c >= '0' && c <= '9'; }))
            if (const std::size_t n = std::stoul(column); n >= 1 && n <= captions.size())
                index = n - 1;
        if (!index)
            return "--map: the file has no column \"" + item.substr(eq + 1) +
                   "\" (give its caption or its number, 1 to " + std::to_string(captions.size()) +
                   ").";
        map.columns.emplace_back(*field, *index);
    }
    return std::nullopt;
}

std::optional<std::string> ReadGenericCsv(std::string_view text, const ReadOptions& options,
                                          ForeignData& data) {
    data.format = ForeignFormat::Csv;
    data.delimiter = options.delimiter ? options.delimiter : GuessCsvDelimiter(text);
    std::vector<CsvRecord> records;
    if (auto problem = ReadCsv(text, data.delimiter, records))
        return LinePrefix(problem->line) + problem->message;
    if (records.empty()) return "The file is empty.";
    const std::size_t width = records.front().fields.size();
    if (options.firstRowCaptions) {
        data.captions = records.front().fields;
    } else {
        for (std::size_t i = 1; i <= width; ++i)
            data.captions.push_back("Column " + std::to_string(i));
    }
    ColumnMap map = options.map ? *options.map : ColumnMap{};
    if (!options.map) {
        if (options.mapText.empty())
            map = GuessColumnMap(data.captions);
        else if (auto err = ParseMapText(options.mapText, data.captions, map))
            return err;
    }
    for (const auto& [field, column] : map.columns)
        if (column >= width)
            return std::string("The column mapped to ") + FieldName(field) + " does not exist.";
    data.map = map;
    return ReadRows(records, options.firstRowCaptions ? 1 : 0, width, data,
                    [&](const CsvRecord& record, ForeignEntry& e) {
                        auto get = [&](ForeignField f) {
                            const auto c = map.Of(f);
                            return c ? record.fields[*c] : std::string();
                        };
                        e.title = get(ForeignField::Title);
                        e.user = get(ForeignField::User);
                        e.password = get(ForeignField::Password);
                        e.url = get(ForeignField::Url);
                        e.notes = get(ForeignField::Notes);
                        e.email = get(ForeignField::Email);
                        e.groups = SplitPath(get(ForeignField::Group), '/');
                        e.favourite = IsOne(get(ForeignField::Favourite));
                        // Columns given no field still reach the notes.
                        for (std::size_t c = 0; c < width; ++c)
                            if (!record.fields[c].empty() && !map.Has(c))
                                e.extras.emplace_back(data.captions[c], record.fields[c]);
                    });
}

bool LooksLikeJson(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && (text[first] == '{' || text[first] == '[');
}

std::optional<std::string> ReadCsvText(std::string_view text, const ReadOptions& options,
                                       ForeignData& data) {
    if (options.format == ForeignFormat::Csv) return ReadGenericCsv(text, options, data);
    std::vector<CsvRecord> records;
    if (auto problem = ReadCsv(text, ',', records))
        return LinePrefix(problem->line) + problem->message;
    if (records.empty()) return "The file is empty.";
    const auto columns = ColumnsOf(records.front());
    for (const Shape& shape : Shapes())
        if (shape.format == options.format ||
            (options.format == ForeignFormat::Auto && !MissingCaption(shape, columns)))
            return ReadKnownCsv(shape, records, data);
    // Not a program's export: a CSV whose captions name the fields is read
    // as such; anything else is refused.
    const ColumnMap guessed = GuessColumnMap(records.front().fields);
    if (guessed.Of(ForeignField::Password) || guessed.Of(ForeignField::Title))
        return ReadGenericCsv(text, options, data);
    return "Line 1 does not name the columns of any export this program knows; to read it "
           "anyway, choose a generic CSV file and say which column holds which field.";
}

} // namespace

const char* FormatName(ForeignFormat f) {
    return kFormatNames[static_cast<std::size_t>(f)];
}

std::optional<ForeignFormat> FormatByName(std::string_view name) {
    return ByName<ForeignFormat>(kFormatNames, name);
}

const char* FieldName(ForeignField f) {
    return kFieldNames[static_cast<std::size_t>(f)];
}

std::optional<ForeignField> FieldByName(std::string_view name) {
    return ByName<ForeignField>(kFieldNames, name);
}

bool ColumnMap::Has(std::size_t column) const {
    return std::any_of(columns.begin(), columns.end(),
                       [&](const auto& m) { return m.second == column; });
}

std::optional<std::size_t> ColumnMap::Of(ForeignField f) const {
    for (const auto& [field, column] : columns)
        if (field == f) return column;
    return std::nullopt;
}

ColumnMap GuessColumnMap(const std::vector<std::string>& captions) {
    ColumnMap map;
    for (std::size_t f = 0; f < FieldCaptions().size(); ++f)
        for (std::size_t i = 0; i < captions.size(); ++i) {
            const std::string caption = Lower(captions[i]);
            const auto& names = FieldCaptions()[f];
            if (!map.Has(i) && std::find(names.begin(), names.end(), caption) != names.end()) {
                map.columns.emplace_back(static_cast<ForeignField>(f), i);
                break;
            }
        }
    return map;
}

std::optional<std::string> ReadForeignData(std::string_view bytes, const ReadOptions& options,
                                           ForeignData& data) {
    data = ForeignData{};
    if (bytes.size() > kMaxForeignFileBytes)
        return "The file is larger than " + std::to_string(kMaxForeignFileBytes >> 20) +
               " MB, the most an import reads: it is not an export of passwords.";
    std::string text;
    if (auto problem = DecodeForeignText(bytes, options.encoding, text, data.encoding))
        return problem->line ? LinePrefix(problem->line) + problem->message : problem->message;
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) return "The file is empty.";
    const bool json = options.format == ForeignFormat::BitwardenJson ||
                      (options.format == ForeignFormat::Auto && LooksLikeJson(text));
    const std::optional<std::string> err =
        json ? ReadBitwardenJson(text, data) : ReadCsvText(text, options, data);
    if (err) {
        const TextEncoding encoding = data.encoding;
        data = ForeignData{};
        data.encoding = encoding;
    }
    return err;
}

} // namespace ardeko
