#include "store/import/foreign_import.h"

#include "store/codepage.h"
#include "store/import/unique_names.h"
#include "store/pw.h"
#include "store/totp.h"
#include "store/vbdate.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace ardeko {

namespace {

std::string Trimmed(std::string s) {
    for (char& c : s)
        if (c == '\n' || c == '\r' || c == '\t') c = ' '; // names are one line
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The host of an address: "https://me@www.example.com:8443/x" -> www.example.com.
std::string HostOf(const std::string& url) {
    std::string rest = url;
    if (const std::size_t scheme = rest.find("://"); scheme != std::string::npos)
        rest.erase(0, scheme + 3);
    rest = rest.substr(0, rest.find_first_of("/?#"));
    if (const std::size_t at = rest.rfind('@'); at != std::string::npos) rest.erase(0, at + 1);
    return Trimmed(rest.substr(0, rest.find(':')));
}

std::string BaseName(const ForeignEntry& e) {
    for (const std::string& candidate : {e.title, HostOf(e.url), e.user})
        if (std::string name = Trimmed(candidate); !name.empty()) return name;
    return "Imported entry";
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return s.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), s.begin(),
                      [&](char a, char b) { return lower(a) == lower(b); });
}

// A one-time-code secret: a column or field so named, or any otpauth address.
bool LooksLikeCode(const std::string& caption, const std::string& value) {
    const std::string c = FoldKey(Trimmed(caption));
    return c == FoldKey("totp") || c == FoldKey("otp") || c == FoldKey("otpauth") ||
           StartsWithNoCase(Trimmed(value), "otpauth://totp/");
}

// The entry's one-time code for a file that holds codes: the first secret
// that parses (its place among the extras, and its stored form). Secrets
// that do not parse stay in the notes, as in a file that holds no codes.
struct FoundCode {
    std::size_t extra = 0;
    std::string address;
};
std::optional<FoundCode> FindCode(const clsPW& store, const ForeignEntry& e) {
    if (store.Format() != FileFormat::Two) return std::nullopt;
    for (std::size_t i = 0; i < e.extras.size(); ++i) {
        const auto& [caption, value] = e.extras[i];
        if (!LooksLikeCode(caption, value)) continue;
        if (const TotpParse parsed = ParseTotp(value); parsed.params)
            return FoundCode{i, TotpAddress(*parsed.params)};
    }
    return std::nullopt;
}

// The notes, with the extras (but the code taken) and, for a file that
// holds no fields of their own, the named fields below them.
std::string Notes(const ForeignEntry& e, const std::optional<FoundCode>& code, bool ownFields) {
    const std::size_t fields = ownFields ? 0 : e.fields.size();
    if (e.extras.size() + fields == (code ? 1u : 0u)) return e.notes;
    std::string notes = e.notes;
    if (!notes.empty()) notes += "\n\n";
    notes += kMovedFieldsHeading;
    for (std::size_t i = 0; i < e.extras.size(); ++i)
        if (!code || code->extra != i)
            notes += "\n" + e.extras[i].first + ": " + e.extras[i].second;
    for (std::size_t i = 0; i < fields; ++i)
        notes += "\n" + e.fields[i].name + ": " + e.fields[i].value;
    return notes;
}

double DateOr(const std::optional<double>& d, double fallback) {
    return d && VbDateInRange(*d) ? *d : fallback;
}

T_Password Record(const ForeignEntry& e, const std::string& service, const PlanOptions& options,
                  const std::optional<FoundCode>& code, bool ownFields) {
    T_Password p;
    p.service = service;
    p.User = e.user;
    p.pw = e.password;
    p.Descr = Notes(e, code, ownFields);
    if (code) p.Totp = code->address;
    if (ownFields) p.Fields = e.fields;
    if (e.expires) {
        p.blExpire = true;
        p.Dt_Expire = *e.expires;
    }
    p.URL_Access = e.url;
    p.Email = e.email;
    p.Dt_Insert = DateOr(e.created, options.now);
    p.Dt_Modif = DateOr(e.modified, p.Dt_Insert);
    p.Favourites = e.favourite;
    p.Keyaftbef = options.keyPair;
    return p;
}

// Category and subcategory of an entry's folder path: two levels, deeper
// ones joined into the subcategory's name.
class Tree {
public:
    Tree(const clsPW& store, ImportPlan& plan) : store_(store), plan_(plan) {}

    void File(const std::vector<std::string>& groups, PlannedEntry& entry) {
        if (groups.empty()) return;
        entry.category = Category(Trimmed(groups.front()));
        std::string sub;
        for (std::size_t i = 1; i < groups.size(); ++i)
            sub += (i > 1 ? " / " : "") + Trimmed(groups[i]);
        if (!sub.empty()) entry.subcategory = Subcategory(entry.category, sub);
    }

private:
    std::string Category(const std::string& name) {
        if (const T_Categ* here = store_.Category().Find(name)) return here->DescrCat;
        const auto [it, added] = newCategories_.try_emplace(FoldKey(name), name);
        if (added) plan_.newCategories.push_back(name);
        return it->second;
    }

    std::string Subcategory(const std::string& category, const std::string& name) {
        if (const T_Categ* cat = store_.Category().Find(category))
            if (const T_SCateg* here = store_.SubCategory().Find(SubCategoryKey(cat->Codcat, name)))
                return here->DescrSCat;
        const auto [it, added] =
            newSubcategories_.try_emplace(FoldKey(category) + "!" + FoldKey(name), name);
        if (added) plan_.newSubcategories.emplace_back(category, name);
        return it->second;
    }

    const clsPW& store_;
    ImportPlan& plan_;
    std::unordered_map<std::string, std::string> newCategories_, newSubcategories_;
};

std::string At(std::size_t line) {
    return line ? "Line " + std::to_string(line) + ": " : std::string();
}

// Notes the first thing the open file could not hold, with the line it came
// from, in the plan.
template <class R> bool Refuse(const clsPW& store, const R& r, std::size_t line, ImportPlan& plan) {
    auto why = store.Unstorable(r);
    if (!why) return false;
    plan.problem = At(line) + *why;
    plan.problemLine = line;
    plan.problemRefusal = CheckRecord(r);
    return true;
}

// A file of the older format holds a limited number of entries: an import
// that would go past it is refused here, as the save would refuse it.
bool RefuseCount(const clsPW& store, ImportPlan& plan) {
    const std::size_t total = store.Password().Count() + plan.entries.size();
    if (store.Format() != FileFormat::Legacy || total <= kMaxRecords) return false;
    plan.problemLimit = ImportProblem{
        ImportMsg::TooManyEntries, 0, {std::to_string(total), std::to_string(kMaxRecords)}};
    plan.problem = ImportProblemText(*plan.problemLimit);
    return true;
}

void CheckStorable(const clsPW& store, ImportPlan& plan) {
    if (RefuseCount(store, plan)) return;
    for (const std::string& name : plan.newCategories)
        if (Refuse(store, T_Categ{0, name, false}, 0, plan)) return;
    for (const auto& [category, name] : plan.newSubcategories)
        if (Refuse(store, T_SCateg{0, 0, name}, 0, plan)) return;
    for (const PlannedEntry& e : plan.entries)
        if (Refuse(store, e.record, e.line, plan)) return;
}

void Count(const ForeignEntry& e, const std::optional<FoundCode>& code, bool ownFields,
           ImportPlan& plan) {
    plan.movedToNotes += e.extras.size() - (code ? 1 : 0) + (ownFields ? 0 : e.fields.size());
    plan.codes += code ? 1 : 0;
    if (ownFields) {
        plan.fields += e.fields.size();
        plan.protectedFields += static_cast<std::size_t>(std::count_if(
            e.fields.begin(), e.fields.end(), [](const T_CustomField& f) { return f.protect; }));
    }
    plan.expiries += e.expires ? 1 : 0;
    for (const DroppedValue& v : e.notImported)
        plan.notImported.push_back({e.line, e.title, v});
}

} // namespace

const char* FormatTitle(ForeignFormat f) {
    constexpr std::array<const char*, 8> kTitles = {"detected",      "Chromium-family browser CSV",
                                                    "Firefox CSV",   "KeePass-format CSV",
                                                    "Bitwarden CSV", "Bitwarden JSON",
                                                    "LastPass CSV",  "other CSV"};
    return kTitles[static_cast<std::size_t>(f)];
}

ImportPlan PlanImport(const clsPW& store, const ForeignData& data, const PlanOptions& options) {
    ImportPlan plan;
    plan.format = data.format;
    plan.encoding = data.encoding;
    plan.skipped = data.skipped;
    plan.entries.reserve(data.entries.size());
    UniqueNames names(
        [&store](const std::string& name) { return store.Password().Contains(name); });
    Tree tree(store, plan);
    const bool ownFields = store.Format() == FileFormat::Two;
    for (const ForeignEntry& e : data.entries) {
        PlannedEntry entry;
        entry.line = e.line;
        const std::string base = BaseName(e);
        const std::string service = names.Unique(base, Trimmed(e.user));
        if (service != base) {
            entry.givenName = base;
            ++plan.renamed;
        }
        tree.File(e.groups, entry);
        const std::optional<FoundCode> code = FindCode(store, e);
        entry.record = Record(e, service, options, code, ownFields);
        Count(e, code, ownFields, plan);
        plan.entries.push_back(std::move(entry));
    }
    CheckStorable(store, plan);
    return plan;
}

std::optional<std::string> ApplyImport(clsPW& store, const ImportPlan& plan) {
    if (plan.problem) return plan.problem;
    // Work on a copy, so that a failure midway leaves the store untouched.
    clsPW work(store);
    for (const std::string& name : plan.newCategories)
        if (!work.CatAdd(name)) return work.ErrDescr();
    auto codeOf = [&](const std::string& category) {
        const T_Categ* c = work.Category().Find(category);
        return c ? c->Codcat : std::int16_t(0);
    };
    for (const auto& [category, name] : plan.newSubcategories)
        if (!work.SubCatAdd(codeOf(category), name)) return work.ErrDescr();
    std::vector<T_Password> records;
    records.reserve(plan.entries.size());
    for (const PlannedEntry& e : plan.entries) {
        T_Password p = e.record;
        if (!e.category.empty()) p.Codcat = codeOf(e.category);
        if (!e.subcategory.empty())
            if (const T_SCateg* s =
                    work.SubCategory().Find(SubCategoryKey(p.Codcat, e.subcategory)))
                p.CodSCat = s->CodSCat;
        records.push_back(std::move(p));
    }
    if (!work.PWAddAll(std::move(records))) return work.ErrDescr();
    store = std::move(work);
    return std::nullopt;
}

std::string ImportSummaryText(const ImportPlan& plan) {
    std::string text = std::string("Format: ") + FormatTitle(plan.format) + " (" +
                       FormatName(plan.format) + ")\n" +
                       "Encoding: " + EncodingTitle(plan.encoding) + " (" +
                       EncodingName(plan.encoding) + ")\n";
    auto line = [&](const char* what, std::size_t n) {
        text += std::string(what) + ": " + std::to_string(n) + "\n";
    };
    line("Entries", plan.entries.size());
    line("New categories", plan.newCategories.size());
    line("New subcategories", plan.newSubcategories.size());
    line("Renamed entries (name already taken)", plan.renamed);
    for (const PlannedEntry& e : plan.entries)
        if (!e.givenName.empty())
            text += "  " + At(e.line) + "\"" + e.givenName + "\" becomes \"" + e.record.service +
                    "\"\n";
    line("One-time codes", plan.codes);
    line("Extra fields", plan.fields);
    line("  of them protected", plan.protectedFields);
    line("Expiry dates", plan.expiries);
    line("Fields kept in the notes", plan.movedToNotes);
    line("Rows skipped", plan.skipped.size());
    for (const ForeignSkip& s : plan.skipped)
        text += "  " + At(s.line) + s.reason + "\n";
    line("Values not imported", plan.notImported.size());
    for (const ImportPlan::Dropped& d : plan.notImported)
        text += "  " + At(d.line) + "\"" + d.title + "\": " + DroppedText(d.value) + "\n";
    return text;
}

} // namespace ardeko
