#include "cli/json_records.h"

#include "store/crypto/secret_key.h"
#include "store/pw.h"
#include "store/records.h"
#include "store/totp.h"
#include "store/vbdate.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonValue>
#include <QLocale>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace qvs {

namespace {

using Error = std::optional<std::string>;

const char* JsonTypeName(const QJsonValue& v) {
    switch (v.type()) {
    case QJsonValue::Null:
        return "null";
    case QJsonValue::Bool:
        return "a boolean";
    case QJsonValue::Double:
        return "a number";
    case QJsonValue::String:
        return "a text";
    case QJsonValue::Array:
        return "an array";
    case QJsonValue::Object:
        return "an object";
    default:
        return "nothing";
    }
}

Error Expected(const char* what, const QJsonValue& got) {
    return std::string("expected ") + what + ", got " + JsonTypeName(got);
}

std::string NumberText(double d) {
    return QByteArray::number(d, 'g', QLocale::FloatingPointShortest).toStdString();
}

// A \uD800-style escape without its pair is no character; converted, it
// would silently become "?".
std::optional<std::size_t> LoneSurrogateAt(const QString& s) {
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (s[i].isSurrogate()) return static_cast<std::size_t>(i);
    }
    return std::nullopt;
}

Error FieldFromJson(const QJsonValue& v, std::string& out) {
    if (!v.isString()) return Expected("a text", v);
    const QString text = v.toString();
    if (const auto at = LoneSurrogateAt(text))
        return "the text holds a lone surrogate (\\u" +
               QString::number(text[static_cast<qsizetype>(*at)].unicode(), 16)
                   .toUpper()
                   .toStdString() +
               ") at character " + std::to_string(*at + 1) + ", which is no character";
    out = text.toStdString();
    return std::nullopt;
}

Error FieldFromJson(const QJsonValue& v, std::int16_t& out) {
    using Limits = std::numeric_limits<std::int16_t>;
    if (!v.isDouble()) return Expected("an integer", v);
    const double d = v.toDouble();
    if (d != std::trunc(d)) return "expected an integer, got " + NumberText(d);
    if (d < Limits::min() || d > Limits::max())
        return NumberText(d) + " is out of range (-32768 to 32767)";
    out = static_cast<std::int16_t>(d);
    return std::nullopt;
}

Error FieldFromJson(const QJsonValue& v, bool& out) {
    if (!v.isBool()) return Expected("true or false", v);
    out = v.toBool();
    return std::nullopt;
}

Error FieldFromJson(const QJsonValue& v, double& out) {
    if (!v.isDouble()) return Expected("a date number", v);
    // A format-2 file would take it, and the next load call the file damaged.
    if (!ardeko::VbDateInRange(v.toDouble()))
        return NumberText(v.toDouble()) + " is out of range (years 100 to 9999)";
    out = v.toDouble();
    return std::nullopt;
}

template <class R> Error FirstUnknownField(const QJsonObject& o) {
    QSet<QString> names;
    VisitFields(R{}, [&](const char* name, const auto&) { names.insert(QLatin1String(name)); });
    if constexpr (std::is_same_v<R, ardeko::T_Password>)
        names << "Totp"
              << "History"
              << "Fields";
    if constexpr (!std::is_same_v<R, ardeko::T_Node>) names << "Id";
    for (auto it = o.begin(); it != o.end(); ++it)
        if (!names.contains(it.key())) return "unknown field \"" + it.key().toStdString() + "\"";
    return std::nullopt;
}

// A code kept in its stored form, whatever form it was given in.
Error TotpFromJson(const QJsonValue& v, std::string& out) {
    std::string text;
    if (Error err = FieldFromJson(v, text)) return err;
    if (text.empty()) return std::nullopt;
    ardeko::TotpParse parsed = ardeko::ParseTotp(text);
    ardeko::WipeString(text);
    if (!parsed.params) return std::string(ardeko::TotpErrorText(parsed.error));
    out = ardeko::TotpAddress(*parsed.params);
    ardeko::WipeString(parsed.params->secret);
    return std::nullopt;
}

// An identifier as the store gives them: 32 lowercase hex digits.
Error IdFromJson(const QJsonValue& v, std::string& out) {
    std::string text;
    if (Error err = FieldFromJson(v, text)) return err;
    const bool hex = std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    });
    if (text.size() != 32 || !hex)
        return "expected 32 lowercase hexadecimal digits, got \"" + text + "\"";
    out = std::move(text);
    return std::nullopt;
}

// The members of a history item or extra field.
template <class V> void VisitItem(ardeko::T_PwHistory& h, V&& v) {
    v("pw", h.pw);
    v("replaced", h.replaced);
}
template <class V> void VisitItem(ardeko::T_CustomField& f, V&& v) {
    v("name", f.name);
    v("protected", f.protect);
    v("value", f.value);
}

template <class T> Error ItemFromJson(const QJsonValue& v, T& item) {
    if (!v.isObject()) return Expected("an object", v);
    const QJsonObject o = v.toObject();
    QSet<QString> names;
    VisitItem(item, [&](const char* key, auto&) { names.insert(QLatin1String(key)); });
    for (auto it = o.begin(); it != o.end(); ++it)
        if (!names.contains(it.key())) return "unknown field \"" + it.key().toStdString() + "\"";
    Error err;
    VisitItem(item, [&](const char* key, auto& field) {
        if (!err && o.contains(QLatin1String(key)))
            if (Error e = FieldFromJson(o[QLatin1String(key)], field))
                err = "\"" + std::string(key) + "\": " + *e;
    });
    return err;
}

// The store keeps earlier passwords newest first, each with the date it was
// replaced, and at most its limit of them: a list that breaks this would be
// cut or shown out of order by the next change.
Error HistoryOrderError(const QJsonValue& item, const ardeko::T_PwHistory& h,
                        const std::vector<ardeko::T_PwHistory>& before) {
    if (!item.toObject().contains("replaced") || h.replaced == 0)
        return std::string("\"replaced\" (the date) is missing");
    if (!before.empty() && h.replaced > before.back().replaced)
        return std::string("earlier passwords must come newest first");
    return std::nullopt;
}

template <class T> Error ItemsFromJson(const QJsonValue& v, std::vector<T>& out) {
    if (!v.isArray()) return Expected("an array", v);
    const QJsonArray items = v.toArray();
    if constexpr (std::is_same_v<T, ardeko::T_PwHistory>)
        if (items.size() > ardeko::kMaxHistoryLimit)
            return "holds " + std::to_string(items.size()) +
                   " earlier passwords; a file keeps at most " +
                   std::to_string(ardeko::kMaxHistoryLimit);
    for (qsizetype i = 0; i < items.size(); ++i) {
        T item;
        Error err = ItemFromJson(items[i], item);
        if constexpr (std::is_same_v<T, ardeko::T_CustomField>)
            if (!err && item.name.empty()) err = std::string("a field needs a name");
        if constexpr (std::is_same_v<T, ardeko::T_PwHistory>)
            if (!err) err = HistoryOrderError(items[i], item, out);
        if (err) return "item " + std::to_string(i) + ": " + *err;
        out.push_back(std::move(item));
    }
    return std::nullopt;
}

Error LaterFieldsFromJson(const QJsonObject& o, ardeko::T_Password& r) {
    if (o.contains("Fields"))
        if (Error err = ItemsFromJson(o["Fields"], r.Fields)) return "field \"Fields\": " + *err;
    if (o.contains("Totp"))
        if (Error err = TotpFromJson(o["Totp"], r.Totp)) return "field \"Totp\": " + *err;
    if (o.contains("History"))
        if (Error err = ItemsFromJson(o["History"], r.History)) return "field \"History\": " + *err;
    if (o.contains("Id"))
        if (Error err = IdFromJson(o["Id"], r.Id)) return "field \"Id\": " + *err;
    return std::nullopt;
}
template <class R> Error LaterFieldsFromJson(const QJsonObject& o, R& r) {
    if constexpr (!std::is_same_v<R, ardeko::T_Node>)
        if (o.contains("Id"))
            if (Error err = IdFromJson(o["Id"], r.Id)) return "field \"Id\": " + *err;
    return std::nullopt;
}

} // namespace

template <class R> std::optional<std::string> RecordFromJson(const QJsonObject& o, R& r) {
    if (Error err = FirstUnknownField<R>(o)) return err;
    r = R{};
    Error err;
    VisitFields(r, [&](const char* name, auto& field) {
        const auto it = o.constFind(QLatin1String(name));
        if (err || it == o.constEnd()) return;
        if (Error fieldErr = FieldFromJson(*it, field))
            err = std::string("field \"") + name + "\": " + *fieldErr;
    });
    if (!err) err = LaterFieldsFromJson(o, r);
    return err;
}

template std::optional<std::string> RecordFromJson(const QJsonObject&, ardeko::T_Categ&);
template std::optional<std::string> RecordFromJson(const QJsonObject&, ardeko::T_SCateg&);
template std::optional<std::string> RecordFromJson(const QJsonObject&, ardeko::T_Password&);
template std::optional<std::string> RecordFromJson(const QJsonObject&, ardeko::T_Node&);

} // namespace qvs
