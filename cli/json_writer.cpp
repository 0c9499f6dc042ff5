#include "cli/json_writer.h"

#include "store/pw.h"
#include "store/records.h"

#include <QByteArray>
#include <QLocale>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <numeric>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qvs {

namespace {

// Text in the layout of Qt's indented JSON (four spaces a level, "key": value,
// empty arrays as "[" and "]" on two lines), which scripts already read.
class JsonOut {
public:
    explicit JsonOut(std::FILE* out) : out_(out) { text_.reserve(kChunk + 4096); }

    void Raw(std::string_view s) { text_.append(s); }
    void Indent(int level) { text_.append(static_cast<std::size_t>(4 * level), ' '); }
    void Key(int level, std::string_view key) {
        Indent(level);
        String(key);
        text_.append(": ");
    }
    void String(std::string_view s);
    void Integer(long long v) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
        text_.append(digits, end);
    }
    void Number(double d);
    void Bool(bool b) { text_.append(b ? "true" : "false"); }

    // Hands full chunks to the stream; false once it refused one.
    bool Pass() {
        if (text_.size() >= kChunk) return Flush();
        return ok_;
    }
    bool Flush() {
        if (ok_ && !text_.empty())
            ok_ = std::fwrite(text_.data(), 1, text_.size(), out_) == text_.size();
        text_.clear();
        return ok_;
    }

private:
    static constexpr std::size_t kChunk = 64 * 1024;
    std::FILE* out_;
    std::string text_;
    bool ok_ = true;
};

void JsonOut::String(std::string_view s) {
    text_.push_back('"');
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            text_.append("\\\"");
            break;
        case '\\':
            text_.append("\\\\");
            break;
        case '\b':
            text_.append("\\b");
            break;
        case '\f':
            text_.append("\\f");
            break;
        case '\n':
            text_.append("\\n");
            break;
        case '\r':
            text_.append("\\r");
            break;
        case '\t':
            text_.append("\\t");
            break;
        default:
            if (c < 0x20) {
                static constexpr char kHex[] = "0123456789abcdef";
                const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
                text_.append(escape, sizeof escape);
            } else {
                text_.push_back(ch); // UTF-8 passes through as it is
            }
        }
    }
    text_.push_back('"');
}

void JsonOut::Number(double d) {
    // Whole numbers within double precision print as integers (-0 as 0),
    // everything else in the shortest form that reads back exactly.
    if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9007199254740992.0)
        return Integer(static_cast<long long>(d));
    if (!std::isfinite(d)) return Raw("null");
    const QByteArray shortest = QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
    text_.append(shortest.constData(), static_cast<std::size_t>(shortest.size()));
}

using History = std::vector<ardeko::T_PwHistory>;
using CustomFields = std::vector<ardeko::T_CustomField>;
using FieldValue = std::variant<const std::string*, std::int16_t, bool, double, const History*,
                                const CustomFields*>;

struct Field {
    const char* name = nullptr;
    FieldValue value;
};

// A record's fields in declaration order, without copying any text.
template <class R> void CollectFields(const R& r, std::vector<Field>& fields) {
    fields.clear();
    VisitFields(r, [&](const char* name, const auto& v) {
        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>)
            fields.push_back({name, &v});
        else
            fields.push_back({name, v});
    });
}

// The positions of a record type's fields in key order (ordinal, as JSON
// objects are printed).
template <class R> const std::vector<std::size_t>& KeyOrder() {
    static const std::vector<std::size_t> order = [] {
        std::vector<Field> fields;
        CollectFields(R{}, fields);
        std::vector<std::size_t> at(fields.size());
        std::iota(at.begin(), at.end(), std::size_t{0});
        std::sort(at.begin(), at.end(), [&](std::size_t a, std::size_t b) {
            return std::strcmp(fields[a].name, fields[b].name) < 0;
        });
        return at;
    }();
    return order;
}

// An entry's later fields and its identifier, appended in key order: only
// when they hold something (the history only when asked for), so that the
// dump of a file without them keeps its shape.
void AddLaterFields(const ardeko::T_Password& r, std::vector<Field>& fields, bool withHistory) {
    if (!r.Fields.empty()) fields.push_back({"Fields", &r.Fields});
    if (withHistory && !r.History.empty()) fields.push_back({"History", &r.History});
    if (!r.Id.empty()) fields.push_back({"Id", &r.Id});
    if (!r.Totp.empty()) fields.push_back({"Totp", &r.Totp});
}
// A category's or subcategory's identifier, as an entry's.
template <class R> void AddLaterFields(const R& r, std::vector<Field>& fields, bool) {
    if constexpr (std::is_same_v<R, ardeko::T_Categ> || std::is_same_v<R, ardeko::T_SCateg>)
        if (!r.Id.empty()) fields.push_back({"Id", &r.Id});
}

// The members of a history item or extra field, in key order.
template <class V> void VisitItem(const ardeko::T_PwHistory& h, V&& v) {
    v("pw", h.pw);
    v("replaced", h.replaced);
}
template <class V> void VisitItem(const ardeko::T_CustomField& f, V&& v) {
    v("name", f.name);
    v("protected", f.protect);
    v("value", f.value);
}

template <class T> void ItemArray(JsonOut& out, const std::vector<T>& items) {
    out.Raw("[\n");
    for (std::size_t i = 0; i < items.size(); ++i) {
        out.Indent(4);
        out.Raw("{\n");
        bool first = true;
        VisitItem(items[i], [&](const char* key, const auto& value) {
            out.Raw(first ? "" : ",\n");
            first = false;
            out.Key(5, key);
            using V = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<V, std::string>)
                out.String(value);
            else if constexpr (std::is_same_v<V, bool>)
                out.Bool(value);
            else
                out.Number(value);
        });
        out.Raw("\n");
        out.Indent(4);
        out.Raw(i + 1 < items.size() ? "},\n" : "}\n");
    }
    out.Indent(3);
    out.Raw("]");
}

void Value(JsonOut& out, const FieldValue& value) {
    std::visit(
        [&](const auto& v) {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, const std::string*>)
                out.String(*v);
            else if constexpr (std::is_same_v<V, std::int16_t>)
                out.Integer(v);
            else if constexpr (std::is_same_v<V, bool>)
                out.Bool(v);
            else if constexpr (std::is_same_v<V, const History*> ||
                               std::is_same_v<V, const CustomFields*>)
                ItemArray(out, *v);
            else
                out.Number(v);
        },
        value);
}

struct Scratch {
    std::vector<Field> fields;
    std::vector<std::size_t> order;
    bool withHistory = false;
};

template <class R> void Record(JsonOut& out, const R& r, Scratch& s) {
    CollectFields(r, s.fields);
    const std::vector<std::size_t>& declared = KeyOrder<R>();
    const std::size_t later = s.fields.size();
    AddLaterFields(r, s.fields, s.withHistory);
    std::vector<std::size_t> extra(s.fields.size() - later);
    std::iota(extra.begin(), extra.end(), later);
    s.order.clear();
    std::merge(declared.begin(), declared.end(), extra.begin(), extra.end(),
               std::back_inserter(s.order), [&](std::size_t a, std::size_t b) {
                   return std::strcmp(s.fields[a].name, s.fields[b].name) < 0;
               });
    out.Indent(2);
    out.Raw("{\n");
    for (std::size_t i = 0; i < s.order.size(); ++i) {
        const Field& f = s.fields[s.order[i]];
        out.Key(3, f.name);
        Value(out, f.value);
        out.Raw(i + 1 < s.order.size() ? ",\n" : "\n");
    }
    out.Indent(2);
    out.Raw("}");
}

template <class R>
bool Section(JsonOut& out, const char* name, const ardeko::KeyedCollection<R>& records,
             bool withHistory) {
    out.Key(1, name);
    out.Raw("[\n");
    Scratch scratch;
    scratch.withHistory = withHistory;
    std::size_t left = records.Count();
    for (const R& r : records) {
        Record(out, r, scratch);
        out.Raw(--left > 0 ? ",\n" : "\n");
        if (!out.Pass()) return false;
    }
    out.Indent(1);
    out.Raw("],\n");
    return true;
}

} // namespace

bool WriteStoreJson(const ardeko::clsPW& store, std::FILE* out, bool withHistory) {
    JsonOut json(out);
    json.Raw("{\n");
    // Keys in order: upper case sorts before lower case.
    if (!Section(json, "Category", store.Category(), false) ||
        !Section(json, "NodeStates", store.NodeStates(), false) ||
        !Section(json, "Password", store.Password(), withHistory) ||
        !Section(json, "SubCategory", store.SubCategory(), false))
        return false;
    json.Key(1, "encrypted");
    json.Bool(store.EncryptFile());
    json.Raw(",\n");
    json.Key(1, "seed");
    json.Integer(store.FileSeed());
    json.Raw(",\n");
    json.Key(1, "version");
    json.String(store.LoadedVersion());
    json.Raw("\n}\n");
    return json.Flush() && std::fflush(out) == 0;
}

} // namespace qvs
