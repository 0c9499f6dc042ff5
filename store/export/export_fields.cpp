#include "store/export/export_fields.h"

#include "store/pw.h"
#include "store/vbdate.h"

#include <algorithm>
#include <cstdio>

namespace ardeko {

namespace {

enum Field {
    Category,
    SubCategory,
    User,
    Password,
    Email,
    Url,
    ExpireFlag,
    ExpireDate,
    ExpireUrl,
    ChangeFlag,
    ChangeDate,
    ChangeUrl,
    Totp,
    CustomFields
};

std::string Flag(bool on) {
    return on ? "TRUE" : "FALSE";
}

std::string OrNone(std::string name, std::string_view none) {
    return name.empty() ? std::string(none) : name;
}

std::string HistoryText(const T_Password& p) {
    std::string lines;
    for (const T_PwHistory& old : p.History) {
        if (!lines.empty()) lines += '\n';
        lines += ExportDateText(old.replaced) + ' ' + old.pw;
    }
    return lines;
}

// "name: value", one line per field, protected ones too: they are written
// only when the field is chosen, as the password is.
std::string CustomFieldsText(const T_Password& p) {
    std::string lines;
    for (const T_CustomField& f : p.Fields) {
        if (!lines.empty()) lines += '\n';
        lines += f.name + ": " + f.value;
    }
    return lines;
}

int FieldIndex(std::string_view caption) {
    const auto& all = FieldCaptions();
    const auto it = std::find(all.begin(), all.end(), caption);
    return it == all.end() ? -1 : int(it - all.begin());
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Calls line for each line of value, without its line end (\r\n, \r or \n).
template <class F> void ForEachLine(std::string_view value, F&& line) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\n' && value[i] != '\r') continue;
        line(value.substr(start, i - start));
        if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
        start = i + 1;
    }
    line(value.substr(start));
}

} // namespace

const std::vector<std::string>& FieldCaptions() {
    static const std::vector<std::string> captions = {
        "Category",    "Sub Category", "User Name", "Password",      "Email",
        "URL",         "Expire Flag",  "Exp. Date", "Exp. URL",      "Change Flag",
        "Change Date", "Change URL",   "TOTP",      "Custom Fields",
    };
    return captions;
}

std::string FieldValue(const clsPW& store, const T_Password& p, std::string_view caption) {
    if (caption == kServiceCaption) return p.service;
    if (caption == kNotesCaption) return p.Descr;
    if (caption == kHistoryCaption) return HistoryText(p);
    switch (FieldIndex(caption)) {
    case Category:
        return OrNone(store.CatValue(p.Codcat), kNoCategory);
    case SubCategory:
        return OrNone(store.SubCatValue(p.CodSCat), kNoSubCategory);
    case User:
        return p.User;
    case Password:
        return p.pw;
    case Email:
        return p.Email;
    case Url:
        return p.URL_Access;
    case ExpireFlag:
        return Flag(p.blExpire);
    case ExpireDate:
        return p.blExpire ? ExportDateText(p.Dt_Expire) : std::string();
    case ExpireUrl:
        return p.URL_Delete;
    case ChangeFlag:
        return Flag(p.blChange);
    case ChangeDate:
        return p.blChange ? ExportDateText(p.Dt_Change) : std::string();
    case ChangeUrl:
        return p.URL_Change;
    case Totp:
        return p.Totp;
    case CustomFields:
        return CustomFieldsText(p);
    default:
        return {};
    }
}

std::string ExportDateText(double date) {
    // 0 is what the store holds for a date never set.
    if (date == 0 || !VbDateInRange(date)) return {};
    const VbDateTime t = VbDateToParts(date);
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", t.day, t.month, t.year);
    return text;
}

std::size_t CharacterCount(std::string_view text) {
    return std::size_t(
        std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuation(c); }));
}

std::string Fit(std::string_view text, std::size_t width) {
    std::size_t chars = 0, cut = 0;
    for (; cut < text.size(); ++cut) {
        if (IsContinuation(text[cut])) continue;
        if (chars == width) break;
        ++chars;
    }
    std::string out(text.substr(0, cut));
    out.append(width - chars, ' ');
    return out;
}

std::string OneLine(std::string_view value) {
    // A tab or another control character would move what follows off its
    // column in a viewer, so each one takes one blank's place.
    std::string out;
    out.reserve(value.size());
    bool first = true;
    ForEachLine(value, [&](std::string_view line) {
        if (!first) out += ' ';
        first = false;
        for (char c : line)
            out += (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) ? ' ' : c;
    });
    return out;
}

std::string ContinuedLines(std::string_view value, std::size_t indent, std::string_view lineBreak) {
    std::string out;
    bool first = true;
    ForEachLine(value, [&](std::string_view line) {
        if (!first) {
            out += lineBreak;
            out.append(indent, ' ');
        }
        first = false;
        out += line;
    });
    return out;
}

} // namespace ardeko
