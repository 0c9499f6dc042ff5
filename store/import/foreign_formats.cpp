// Telling which program wrote a CSV file and reading its rows into
// ForeignEntry records. Columns are found by their captions, so a program
// that adds or reorders columns is still read.
#include "store/import/foreign_formats.h"

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

// One row, its fields found by caption; remembers the columns read, so that
// the others can be kept too.
class Row {
public:
    Row(const std::unordered_map<std::string, std::size_t>& columns, const CsvRecord& record)
        : columns_(columns), record_(record), read_(record.fields.size()) {}
    std::string operator[](const char* caption) const {
        const auto it = columns_.find(caption);
        if (it == columns_.end()) return {};
        read_[it->second] = true;
        return record_.fields[it->second];
    }
    bool Read(std::size_t column) const { return read_[column]; }

private:
    const std::unordered_map<std::string, std::size_t>& columns_;
    const CsvRecord& record_;
    mutable std::vector<bool> read_;
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

// Custom fields as the CSV writes them: "name: value", one per line. The
// CSV does not say which were hidden: a secret's name tells.
void AddCustomFields(ForeignEntry& e, const std::string& fields) {
    for (const std::string& line : SplitPath(fields, '\n')) {
        const std::size_t colon = line.find(": ");
        if (colon == std::string::npos)
            e.fields.push_back({"Field", line, false});
        else
            e.fields.push_back({line.substr(0, colon), line.substr(colon + 2),
                                LooksSecret(line.substr(0, colon))});
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
    // Columns the program writes that mean nothing here (its own ids, icons).
    std::vector<const char*> ignored = {};
    // Columns whose values cannot be imported: reported, entry by entry.
    std::vector<const char*> notImported = {};
};

// Most specific first: a LastPass file also has Chrome's captions. Columns
// a shape does not read become the entry's fields (AddColumn).
const std::array<Shape, 5>& Shapes() {
    static const std::array<Shape, 5> shapes = {{
        {ForeignFormat::BitwardenCsv,
         {"folder", "favorite", "type", "name", "login_uri", "login_username", "login_password"},
         MapBitwardenCsv,
         {"type", "reprompt"},
         {"collections", "login_fido2credentials"}},
        {ForeignFormat::LastPass,
         {"url", "username", "password", "extra", "name", "grouping"},
         MapLastPass,
         {"id"}},
        {ForeignFormat::KeePassCsv,
         {"group", "title", "username", "password", "url", "notes"},
         MapKeePass,
         {"icon", "uuid"}},
        {ForeignFormat::Firefox,
         {"url", "username", "password", "httprealm", "formactionorigin"},
         MapFirefox,
         {"guid", "timelastused"}},
        {ForeignFormat::Chrome, {"name", "url", "username", "password"}, MapChrome},
    }};
    return shapes;
}

bool Listed(const std::vector<const char*>& captions, const std::string& caption) {
    return std::any_of(captions.begin(), captions.end(),
                       [&](const char* c) { return caption == c; });
}

// The columns of a known export that its reader did not take.
void KeepOtherColumns(const Shape& shape, const Row& row, const CsvRecord& record,
                      const std::vector<std::string>& captions, ForeignEntry& e) {
    for (std::size_t c = 0; c < record.fields.size(); ++c) {
        const std::string caption = Lower(captions[c]);
        if (row.Read(c) || record.fields[c].empty() || Listed(shape.ignored, caption)) continue;
        if (caption == "collections")
            for (std::string& name : SplitPath(record.fields[c], ','))
                e.notImported.push_back({DroppedValue::Kind::Collection, std::move(name)});
        else if (Listed(shape.notImported, caption))
            e.notImported.push_back({DroppedValue::Kind::Passkey, {}});
        else
            AddColumn(e, captions[c], record.fields[c]);
    }
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

std::optional<ImportProblem> CheckWidth(const CsvRecord& record, std::size_t width) {
    if (record.fields.size() == width) return std::nullopt;
    return ImportProblem{ImportMsg::RowWidth,
                         record.line,
                         {std::to_string(record.fields.size()), std::to_string(width)}};
}

bool IsBlank(const ForeignEntry& e) {
    return e.title.empty() && e.user.empty() && e.password.empty() && e.url.empty() &&
           e.notes.empty() && e.email.empty() && e.extras.empty() && e.fields.empty();
}

// Reads the rows after the header with map, checking each row's width.
template <class Map>
std::optional<ImportProblem> ReadRows(const std::vector<CsvRecord>& records, std::size_t first,
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

std::optional<ImportProblem> ReadKnownCsv(const Shape& shape, const std::vector<CsvRecord>& records,
                                          ForeignData& data) {
    const auto columns = ColumnsOf(records.front());
    if (const char* missing = MissingCaption(shape, columns))
        return ImportProblem{
            ImportMsg::ColumnMissing, records.front().line, {missing, FormatName(shape.format)}};
    data.format = shape.format;
    data.captions = records.front().fields;
    return ReadRows(records, 1, records.front().fields.size(), data,
                    [&](const CsvRecord& record, ForeignEntry& e) {
                        const Row row(columns, record);
                        shape.map(row, e);
                        KeepOtherColumns(shape, row, record, data.captions, e);
                    });
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

std::optional<ImportProblem>
ParseMapText(std::string_view mapText, const std::vector<std::string>& captions, ColumnMap& map) {
    for (const std::string& item : SplitPath(mapText, ',')) {
        const std::size_t eq = item.find('=');
        const auto field = FieldByName(Lower(item.substr(0, eq)));
        if (eq == std::string::npos || !field)
            return ImportProblem{ImportMsg::MapNotField, 0, {item}};
        const std::string column = Lower(item.substr(eq + 1));
        std::optional<std::size_t> index;
        for (std::size_t i = 0; i < captions.size() && !index; ++i)
            if (Lower(captions[i]) == column) index = i;
        if (!index && !column.empty() &&
            std::all_of(column.begin(), column.end(), [](char c) { return c >= '0' && c <= '9'; }))
            if (const std::size_t n = std::stoul(column); n >= 1 && n <= captions.size())
                index = n - 1;
        if (!index)
            return ImportProblem{
                ImportMsg::MapNoColumn, 0, {item.substr(eq + 1), std::to_string(captions.size())}};
        map.columns.emplace_back(*field, *index);
    }
    return std::nullopt;
}

std::optional<ImportProblem> ReadGenericCsv(std::string_view text, const ReadOptions& options,
                                            ForeignData& data) {
    data.format = ForeignFormat::Csv;
    data.delimiter = options.delimiter ? options.delimiter : GuessCsvDelimiter(text);
    std::vector<CsvRecord> records;
    if (auto problem = ReadCsv(text, data.delimiter, records)) return problem;
    if (records.empty()) return ImportProblem{ImportMsg::FileEmpty, 0, {}};
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
            return ImportProblem{ImportMsg::MappedColumnGone, 0, {FieldName(field)}};
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
                        // Columns given no field are kept all the same.
                        for (std::size_t c = 0; c < width; ++c)
                            if (!map.Has(c)) AddColumn(e, data.captions[c], record.fields[c]);
                    });
}

bool LooksLikeJson(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && (text[first] == '{' || text[first] == '[');
}

std::optional<ImportProblem> ReadCsvText(std::string_view text, const ReadOptions& options,
                                         ForeignData& data) {
    if (options.format == ForeignFormat::Csv) return ReadGenericCsv(text, options, data);
    std::vector<CsvRecord> records;
    if (auto problem = ReadCsv(text, ',', records)) return problem;
    if (records.empty()) return ImportProblem{ImportMsg::FileEmpty, 0, {}};
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
    return ImportProblem{ImportMsg::UnknownCaptions, records.front().line, {}};
}

std::optional<ImportProblem> ReadText(std::string_view bytes, const ReadOptions& options,
                                      ForeignData& data) {
    if (bytes.size() > kMaxForeignFileBytes)
        return ImportProblem{
            ImportMsg::FileTooLarge, 0, {std::to_string(kMaxForeignFileBytes >> 20)}};
    std::string text;
    if (auto problem = DecodeForeignText(bytes, options.encoding, text, data.encoding))
        return problem;
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        return ImportProblem{ImportMsg::FileEmpty, 0, {}};
    const bool json = options.format == ForeignFormat::BitwardenJson ||
                      (options.format == ForeignFormat::Auto && LooksLikeJson(text));
    return json ? ReadBitwardenJson(text, data) : ReadCsvText(text, options, data);
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

std::optional<std::string> ReadForeignData(std::string_view bytes, const ReadOptions& options,
                                           ForeignData& data) {
    data = ForeignData{};
    std::optional<ImportProblem> problem = ReadText(bytes, options, data);
    if (!problem) return std::nullopt;
    const TextEncoding encoding = data.encoding;
    data = ForeignData{};
    data.encoding = encoding;
    data.problem = std::move(problem);
    return ImportProblemText(*data.problem);
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

} // namespace ardeko
