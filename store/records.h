// The store's record types. Field order is the order of the data file and of
// the cipher; VisitFields is the one place that spells it out, and the file
// reader, writer, cipher and tools all walk records through it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ardeko {

using VbDate = double; // days since 30 December 1899, fraction = time of day

// One earlier password of an entry and when it was replaced.
struct T_PwHistory {
    std::string pw;
    VbDate replaced = 0;
    bool operator==(const T_PwHistory&) const = default;
};

// A named extra field of an entry. A protected one is a secret: masked
// like the password, never searched, shown only on request.
struct T_CustomField {
    std::string name;
    std::string value;
    bool protect = false;
    bool operator==(const T_CustomField&) const = default;
    bool operator<(const T_CustomField& o) const { // an order for merges to agree on
        if (name != o.name) return name < o.name;
        if (value != o.value) return value < o.value;
        return protect < o.protect;
    }
};

// What the user answered when a web site asked the browser for an entry:
// always allow it, or always deny it. Sites not listed are asked about.
struct T_SitePermission {
    std::string host; // the page's host: lower-case ASCII, international names as xn--
    bool allowed = false;
    bool operator==(const T_SitePermission&) const = default;
};

// Categories and subcategories carry an identifier in format 2 only (not in
// VisitFields), as entries do: it pairs a renamed one with its other
// versions in a merge. Given on add, kept on rename; "" until the first
// format-2 save.
struct T_Categ {
    std::int16_t Codcat = 0;
    std::string DescrCat;
    bool TVExp = false;
    std::string Id = {};
};

struct T_SCateg {
    std::int16_t CodSCat = 0;
    std::int16_t Codcat = 0;
    std::string DescrSCat;
    std::string Id = {};
};

struct T_Node {
    std::string DescrCat;
    bool TVExp = false;
};

struct T_Password {
    std::string service;
    std::int16_t Codcat = 0;
    std::int16_t CodSCat = 0;
    std::string User;
    std::string pw;
    std::string Descr;
    std::string URL_Access;
    std::string URL_Change;
    std::string URL_Delete;
    VbDate Dt_Insert = 0;
    VbDate Dt_Modif = 0;
    VbDate Dt_Expire = 0;
    VbDate Dt_Change = 0;
    bool blChange = false;
    bool blExpire = false;
    bool blNotExpire = false;
    bool blNotChange = false;
    std::int16_t ggNotExpire = 0;
    std::int16_t ggNotChange = 0;
    std::string Remember;
    std::string Email;
    std::string stringa3;
    std::string stringa4;
    std::string stringa5;
    std::int16_t Keyaftbef = 0;
    std::int16_t int2 = 0;
    std::int16_t int3 = 0;
    std::int16_t int4 = 0;
    std::int16_t int5 = 0;
    VbDate Data1 = 0;
    VbDate Data2 = 0;
    VbDate Data3 = 0;
    VbDate Data4 = 0;
    VbDate data5 = 0;
    bool Favourites = false;
    bool bool2 = false;
    bool bool3 = false;
    bool bool4 = false;
    bool bool5 = false;
    // Only format 2 holds these (body tags 64 and up); VisitFields leaves
    // them out, as it walks the 1.0x field order.
    std::string Totp;                 // one-time-code secret as an otpauth://totp/ address; "" none
    std::vector<T_PwHistory> History; // earlier passwords, newest first
    std::vector<T_CustomField> Fields; // named extra fields, in the user's order
    // Format 2 only (not in VisitFields): pairs the entry's versions in a
    // merge whatever its name. Given on add, kept on edit, rename and move;
    // "" until the entry is first saved in format 2.
    std::string Id;
    // Format 2 only: the web sites the user allowed or denied this entry to,
    // one per host, in host order.
    std::vector<T_SitePermission> Sites;

    bool operator==(const T_Password&) const = default;
};

// What names a format-2 file as a whole, whatever its path or password:
// random, made once, kept from save to save (FORMAT2.md, record kind 8).
struct T_FileIdentity {
    std::string Id;
    bool operator==(const T_FileIdentity&) const = default;
};

// An entry deleted from a format-2 file: merges take its other versions as
// deleted rather than new. Kept for a while (kDeletionMarkDays), then dropped.
struct T_Deleted {
    std::string Id;
    VbDate when = 0;
    bool operator==(const T_Deleted&) const = default;
};
inline constexpr double kDeletionMarkDays = 180;

// A browser extension the user let ask for logins (format 2 only): the name
// the user gave it, which the extension sends back as its id, and the
// public identification key it shows with that name. One the user removed
// stays as a mark (removed set, never offered again), so that merging an
// older copy of the file does not bring it back.
struct T_BrowserLink {
    std::string name;
    std::string key; // base64, as the extension sends it
    VbDate created = 0;
    VbDate lastUsed = 0;
    VbDate removed = 0; // 0 while it is in use
    bool operator==(const T_BrowserLink&) const = default;
};

inline bool operator==(const T_Categ& a, const T_Categ& b) {
    return a.Codcat == b.Codcat && a.DescrCat == b.DescrCat && a.TVExp == b.TVExp && a.Id == b.Id;
}
inline bool operator==(const T_SCateg& a, const T_SCateg& b) {
    return a.CodSCat == b.CodSCat && a.Codcat == b.Codcat && a.DescrSCat == b.DescrSCat &&
           a.Id == b.Id;
}
inline bool operator==(const T_Node& a, const T_Node& b) {
    return a.DescrCat == b.DescrCat && a.TVExp == b.TVExp;
}

// The name a collection orders each kind of record by.
inline const std::string& RecordName(const T_Categ& r) {
    return r.DescrCat;
}
inline const std::string& RecordName(const T_SCateg& r) {
    return r.DescrSCat;
}
inline const std::string& RecordName(const T_Node& r) {
    return r.DescrCat;
}
inline const std::string& RecordName(const T_Password& r) {
    return r.service;
}

enum class E_GetPw : int {
    User = 1,
    pword = 2,
    Descr = 3,
    URL_Access = 4,
    URL_Change = 5,
    URL_Delete = 6,
    KeyVal = 7
};

// Declaration (= file) order. The visitor is called as v(name, field) with a
// std::string, std::int16_t, bool or VbDate field; R may be const.
template <class R, class V> void VisitCategFields(R& r, V&& v) {
    v("Codcat", r.Codcat);
    v("DescrCat", r.DescrCat);
    v("TVExp", r.TVExp);
}

template <class R, class V> void VisitSCategFields(R& r, V&& v) {
    v("CodSCat", r.CodSCat);
    v("Codcat", r.Codcat);
    v("DescrSCat", r.DescrSCat);
}

template <class R, class V> void VisitNodeFields(R& r, V&& v) {
    v("DescrCat", r.DescrCat);
    v("TVExp", r.TVExp);
}

template <class R, class V> void VisitPasswordFields(R& r, V&& v) {
    v("service", r.service);
    v("Codcat", r.Codcat);
    v("CodSCat", r.CodSCat);
    v("User", r.User);
    v("pw", r.pw);
    v("Descr", r.Descr);
    v("URL_Access", r.URL_Access);
    v("URL_Change", r.URL_Change);
    v("URL_Delete", r.URL_Delete);
    v("Dt_Insert", r.Dt_Insert);
    v("Dt_Modif", r.Dt_Modif);
    v("Dt_Expire", r.Dt_Expire);
    v("Dt_Change", r.Dt_Change);
    v("blChange", r.blChange);
    v("blExpire", r.blExpire);
    v("blNotExpire", r.blNotExpire);
    v("blNotChange", r.blNotChange);
    v("ggNotExpire", r.ggNotExpire);
    v("ggNotChange", r.ggNotChange);
    v("Remember", r.Remember);
    v("Email", r.Email);
    v("stringa3", r.stringa3);
    v("stringa4", r.stringa4);
    v("stringa5", r.stringa5);
    v("Keyaftbef", r.Keyaftbef);
    v("int2", r.int2);
    v("int3", r.int3);
    v("int4", r.int4);
    v("int5", r.int5);
    v("Data1", r.Data1);
    v("Data2", r.Data2);
    v("Data3", r.Data3);
    v("Data4", r.Data4);
    v("data5", r.data5);
    v("Favourites", r.Favourites);
    v("bool2", r.bool2);
    v("bool3", r.bool3);
    v("bool4", r.bool4);
    v("bool5", r.bool5);
}

template <class R, class V> void VisitDeletedFields(R& r, V&& v) {
    v("Id", r.Id);
    v("when", r.when);
}

template <class R, class V> void VisitBrowserLinkFields(R& r, V&& v) {
    v("name", r.name);
    v("key", r.key);
    v("created", r.created);
    v("lastUsed", r.lastUsed);
    v("removed", r.removed);
}

template <class R, class V> void VisitFileIdentityFields(R& r, V&& v) {
    v("Id", r.Id);
}

// One overload set so generic code can walk any record.
template <class V> void VisitFields(T_Categ& r, V&& v) {
    VisitCategFields(r, v);
}
template <class V> void VisitFields(const T_Categ& r, V&& v) {
    VisitCategFields(r, v);
}
template <class V> void VisitFields(T_SCateg& r, V&& v) {
    VisitSCategFields(r, v);
}
template <class V> void VisitFields(const T_SCateg& r, V&& v) {
    VisitSCategFields(r, v);
}
template <class V> void VisitFields(T_Node& r, V&& v) {
    VisitNodeFields(r, v);
}
template <class V> void VisitFields(const T_Node& r, V&& v) {
    VisitNodeFields(r, v);
}
template <class V> void VisitFields(T_Deleted& r, V&& v) {
    VisitDeletedFields(r, v);
}
template <class V> void VisitFields(const T_Deleted& r, V&& v) {
    VisitDeletedFields(r, v);
}
template <class V> void VisitFields(T_BrowserLink& r, V&& v) {
    VisitBrowserLinkFields(r, v);
}
template <class V> void VisitFields(const T_BrowserLink& r, V&& v) {
    VisitBrowserLinkFields(r, v);
}
template <class V> void VisitFields(T_FileIdentity& r, V&& v) {
    VisitFileIdentityFields(r, v);
}
template <class V> void VisitFields(const T_FileIdentity& r, V&& v) {
    VisitFileIdentityFields(r, v);
}
template <class V> void VisitFields(T_Password& r, V&& v) {
    VisitPasswordFields(r, v);
}
template <class V> void VisitFields(const T_Password& r, V&& v) {
    VisitPasswordFields(r, v);
}

// The cipher walks a subcategory's category code before its own code; every
// other record in declaration order.
template <class R, class V> void VisitCipherFields(R& r, V&& v) {
    VisitFields(r, v);
}
template <class V> void VisitCipherFields(T_SCateg& r, V&& v) {
    v("Codcat", r.Codcat);
    v("CodSCat", r.CodSCat);
    v("DescrSCat", r.DescrSCat);
}

// The texts the store tells its callers about by field (which one a write
// refused, which ones a listing keeps), so that no caller matches the names
// VisitFields gives. Other: any field not listed.
enum class Field {
    Other,
    Service,
    User,
    Password,
    Description,
    AccessUrl,
    ChangeUrl,
    DeleteUrl,
    Hint,
    Email,
    SpareText, // stringa3 to stringa5
    CategoryName,
    SubcategoryName,
    Code,        // the one-time code's secret (format 2 only)
    History,     // earlier passwords (format 2 only)
    ExtraFields, // (format 2 only)
    Id,          // the entry's identifier (format 2 only)
    Sites,       // the web sites allowed or denied the entry (format 2 only)
};

// The field a VisitFields name (or a format-2-only member's name) stands for.
inline Field FieldOfName(std::string_view name) {
    static constexpr std::pair<std::string_view, Field> kNames[] = {
        {"service", Field::Service},
        {"User", Field::User},
        {"pw", Field::Password},
        {"Descr", Field::Description},
        {"URL_Access", Field::AccessUrl},
        {"URL_Change", Field::ChangeUrl},
        {"URL_Delete", Field::DeleteUrl},
        {"Remember", Field::Hint},
        {"Email", Field::Email},
        {"stringa3", Field::SpareText},
        {"stringa4", Field::SpareText},
        {"stringa5", Field::SpareText},
        {"DescrCat", Field::CategoryName},
        {"DescrSCat", Field::SubcategoryName},
        {"Totp", Field::Code},
        {"History", Field::History},
        {"Fields", Field::ExtraFields},
        {"Id", Field::Id},
        {"Sites", Field::Sites}};
    for (const auto& [n, f] : kNames)
        if (n == name) return f;
    return Field::Other;
}

} // namespace ardeko
