#include "store/format2/body.h"

#include "store/codepage.h"
#include "store/vbdate.h"

#include <array>
#include <bit>
#include <cstring>
#include <span>
#include <type_traits>
#include <unordered_set>

namespace ardeko {

namespace {

// Records (kind, length, fields) and fields (tag, length, value) alike.
constexpr std::size_t kItemHead = 1 + 4;

template <class F> std::size_t ValueSize(const F& v) {
    if constexpr (std::is_same_v<F, std::string>)
        return v.size();
    else if constexpr (std::is_same_v<F, bool>)
        return 1;
    else
        return sizeof(F);
}

// A field equal to its default is left out: a reader takes it as default.
template <class F> bool IsDefault(const F& v) {
    if constexpr (std::is_same_v<F, std::string>)
        return v.empty();
    else
        return v == F{};
}

// Fields added after the 1.0x order, tagged from 64 up.
constexpr unsigned char kTagTotp = 64;
constexpr unsigned char kTagHistory = 65; // repeated, one earlier password each
constexpr unsigned char kTagEntryId = 66;
constexpr unsigned char kTagCustomField = 67; // repeated, one named field each
constexpr unsigned char kTagPlaceId = 64;     // a category's or subcategory's identifier
constexpr unsigned char kTagSiteAllowed = 70; // repeated, one host each
constexpr unsigned char kTagSiteDenied = 71;  // repeated, one host each
// Fields of one history item.
constexpr unsigned char kTagHistoryPw = 1;
constexpr unsigned char kTagHistoryReplaced = 2;
// Fields of one custom field.
constexpr unsigned char kTagFieldName = 1;
constexpr unsigned char kTagFieldValue = 2;
constexpr unsigned char kTagFieldProtected = 3;

template <class F> std::size_t FieldSize(const F& v) {
    return IsDefault(v) ? 0 : kItemHead + ValueSize(v);
}

std::size_t HistoryItemSize(const T_PwHistory& h) {
    return FieldSize(h.pw) + FieldSize(h.replaced);
}

std::size_t CustomItemSize(const T_CustomField& c) {
    return FieldSize(c.name) + FieldSize(c.value) + FieldSize(c.protect);
}

// v(tag, field) for every single-valued field a record kind stores: the
// 1.0x fields at their positions, then the later ones.
template <class R, class V> void VisitTaggedFields(R& r, V&& v) {
    unsigned char tag = 0;
    VisitFields(r, [&](const char*, auto& f) { v(++tag, f); });
    using Plain = std::remove_const_t<R>;
    if constexpr (std::is_same_v<Plain, T_Password>) {
        v(kTagTotp, r.Totp);
        v(kTagEntryId, r.Id);
    } else if constexpr (std::is_same_v<Plain, T_Categ> || std::is_same_v<Plain, T_SCateg>) {
        v(kTagPlaceId, r.Id);
    }
}

// The repeated history and custom-field items, which VisitTaggedFields
// leaves out.
std::size_t ExtraPayload(const T_Password& r) {
    std::size_t n = 0;
    for (const T_PwHistory& h : r.History)
        n += kItemHead + HistoryItemSize(h);
    for (const T_CustomField& c : r.Fields)
        n += kItemHead + CustomItemSize(c);
    for (const T_SitePermission& site : r.Sites)
        n += kItemHead + site.host.size();
    return n;
}
template <class R> std::size_t ExtraPayload(const R&) {
    return 0;
}

template <class R> std::size_t RecordPayload(const R& r) {
    std::size_t n = ExtraPayload(r);
    VisitTaggedFields(r, [&n](unsigned char, const auto& f) { n += FieldSize(f); });
    return n;
}

class BodyWriter {
public:
    explicit BodyWriter(char* out) : p_(out) {}

    template <class R> void Record(BodyRecord kind, const R& r) {
        Byte(static_cast<unsigned char>(kind));
        U32(RecordPayload(r));
        VisitTaggedFields(r, [&](unsigned char tag, const auto& f) { Field(tag, f); });
        Extras(r);
    }

private:
    template <class F> void Field(unsigned char tag, const F& f) {
        if (IsDefault(f)) return;
        Byte(tag);
        U32(ValueSize(f));
        Value(f);
    }
    void Extras(const T_Password& r) {
        for (const T_PwHistory& h : r.History) {
            Byte(kTagHistory);
            U32(HistoryItemSize(h));
            Field(kTagHistoryPw, h.pw);
            Field(kTagHistoryReplaced, h.replaced);
        }
        for (const T_CustomField& c : r.Fields) {
            Byte(kTagCustomField);
            U32(CustomItemSize(c));
            Field(kTagFieldName, c.name);
            Field(kTagFieldValue, c.value);
            Field(kTagFieldProtected, c.protect);
        }
        for (const T_SitePermission& site : r.Sites) {
            Byte(site.allowed ? kTagSiteAllowed : kTagSiteDenied);
            U32(site.host.size());
            Value(site.host);
        }
    }
    template <class R> void Extras(const R&) {}

    void Byte(unsigned char b) { *p_++ = static_cast<char>(b); }
    void U32(std::size_t v) { Little(v, 4); }
    void Little(std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i)
            Byte(static_cast<unsigned char>((v >> (8 * i)) & 0xFF));
    }
    void Value(const std::string& s) {
        std::memcpy(p_, s.data(), s.size());
        p_ += s.size();
    }
    void Value(bool b) { Byte(b ? 1 : 0); }
    void Value(std::int16_t v) { Little(static_cast<std::uint16_t>(v), 2); }
    void Value(double v) { Little(std::bit_cast<std::uint64_t>(v), 8); }

    char* p_;
};

template <class Records>
void ForEach(const Records& records, BodyRecord kind, std::size_t& size, BodyWriter* w) {
    for (const auto& r : records) {
        if (w)
            w->Record(kind, r);
        else
            size += kItemHead + RecordPayload(r);
    }
}

void WalkContents(const StoreContents& c, std::size_t& size, BodyWriter* w) {
    ForEach(c.categories, BodyRecord::Category, size, w);
    ForEach(c.subcategories, BodyRecord::SubCategory, size, w);
    ForEach(c.passwords, BodyRecord::Entry, size, w);
    ForEach(c.nodes, BodyRecord::Node, size, w);
    if (c.deleted) ForEach(*c.deleted, BodyRecord::Deleted, size, w);
    if (c.links) ForEach(*c.links, BodyRecord::BrowserLink, size, w);
    if (c.identity && !c.identity->Id.empty())
        ForEach(std::span(c.identity, 1), BodyRecord::FileIdentity, size, w);
}

std::uint64_t Little(std::string_view b) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < b.size(); ++i)
        v |= static_cast<std::uint64_t>(static_cast<unsigned char>(b[i])) << (8 * i);
    return v;
}

// Splits data into (tag, value) items; false when an item overruns.
template <class Fn> bool ForEachItem(std::string_view data, Fn&& fn) {
    std::size_t pos = 0;
    while (pos < data.size()) {
        if (data.size() - pos < kItemHead) return false;
        const auto tag = static_cast<unsigned char>(data[pos]);
        const auto length = static_cast<std::size_t>(Little(data.substr(pos + 1, 4)));
        pos += kItemHead;
        if (data.size() - pos < length) return false;
        fn(tag, data.substr(pos, length));
        pos += length;
    }
    return true;
}

// One value into its field; values of a size no writer gives are passed over.
// Texts are UTF-8 as every writer gives them: what is not is damage, repaired
// so that nothing downstream (a JSON dump, a window) gets malformed text.
// A text a read leaves out (keep false) is checked the same, never copied.
template <class F> void ReadValue(std::string_view value, F& f, bool& badValues, bool keep = true) {
    if constexpr (std::is_same_v<F, std::string>) {
        if (!keep) {
            badValues = badValues || !IsValidUtf8(value);
        } else if (IsValidUtf8(value)) {
            f.assign(value);
        } else {
            f = RepairedUtf8(value);
            badValues = true;
        }
    } else if (value.size() == ValueSize(f)) {
        if constexpr (std::is_same_v<F, bool>)
            f = value[0] != 0;
        else if constexpr (std::is_same_v<F, std::int16_t>)
            f = static_cast<std::int16_t>(Little(value));
        else {
            f = std::bit_cast<double>(Little(value));
            if (!VbDateInRange(f)) {
                f = 0;
                badValues = true;
            }
        }
    }
}

// Which of an entry's tags a read keeps: its texts by KeepsEntryText, and
// the earlier passwords and extra fields only in a full read.
class KeptTags {
public:
    explicit KeptTags(EntryTexts texts) {
        kept_.fill(true);
        if (texts == EntryTexts::All) return;
        T_Password names;
        unsigned char tag = 0;
        VisitFields(names, [&](const char* name, const auto& f) {
            ++tag;
            if constexpr (std::is_same_v<std::decay_t<decltype(f)>, std::string>)
                kept_[tag] = KeepsEntryText(texts, FieldOfName(name));
        });
        kept_[kTagTotp] = KeepsEntryText(texts, Field::Code);
        kept_[kTagEntryId] = KeepsEntryText(texts, Field::Id);
        kept_[kTagHistory] = kept_[kTagCustomField] = false;
        kept_[kTagSiteAllowed] = kept_[kTagSiteDenied] = false;
    }
    bool operator[](unsigned char tag) const { return kept_[tag]; }

private:
    std::array<bool, 256> kept_{};
};

// An entry's history item or custom field; false when it is malformed. One
// a read leaves out (keep false) is checked the same, and dropped.
bool ReadExtra(T_Password& r, unsigned char tag, std::string_view value, bool& badValues,
               bool keep) {
    if (tag == kTagCustomField) {
        T_CustomField c;
        const bool ok = ForEachItem(value, [&](unsigned char itemTag, std::string_view v) {
            if (itemTag == kTagFieldName) ReadValue(v, c.name, badValues, keep);
            if (itemTag == kTagFieldValue) ReadValue(v, c.value, badValues, keep);
            if (itemTag == kTagFieldProtected) ReadValue(v, c.protect, badValues);
        });
        if (!ok) return false;
        if (keep) r.Fields.push_back(std::move(c));
    } else if (tag == kTagHistory) {
        T_PwHistory h;
        const bool ok = ForEachItem(value, [&](unsigned char itemTag, std::string_view v) {
            if (itemTag == kTagHistoryPw) ReadValue(v, h.pw, badValues, keep);
            if (itemTag == kTagHistoryReplaced) ReadValue(v, h.replaced, badValues);
        });
        if (!ok) return false;
        if (keep) r.History.push_back(std::move(h));
    } else if (tag == kTagSiteAllowed || tag == kTagSiteDenied) {
        T_SitePermission site{{}, tag == kTagSiteAllowed};
        ReadValue(value, site.host, badValues, keep);
        if (keep && !site.host.empty()) r.Sites.push_back(std::move(site));
    }
    return true;
}
template <class R> bool ReadExtra(R&, unsigned char, std::string_view, bool&, bool) {
    return true;
}

// Fills the fields a record names; unknown tags are passed over (a later
// writer's fields). kept: an entry's tags to keep (all when none).
template <class R>
R ReadRecord(std::string_view payload, bool& ok, bool& badValues, const KeptTags* kept = nullptr) {
    R r;
    bool extrasOk = true;
    ok = ForEachItem(payload, [&](unsigned char tag, std::string_view value) {
        const bool keep = !kept || (*kept)[tag];
        VisitTaggedFields(r, [&](unsigned char index, auto& f) {
            if (index == tag) ReadValue(value, f, badValues, keep);
        });
        extrasOk = ReadExtra(r, tag, value, badValues, keep) && extrasOk;
    });
    ok = ok && extrasOk;
    return r;
}

} // namespace

std::size_t BodySize(const StoreContents& contents) {
    std::size_t size = 0;
    WalkContents(contents, size, nullptr);
    return size;
}

void WriteBody(const StoreContents& contents, char* out) {
    std::size_t unused = 0;
    BodyWriter w(out);
    WalkContents(contents, unused, &w);
}

bool ReadBody(std::string_view body, bool categoriesOnly, DecodedFile& f, EntryTexts texts) {
    bool fieldsOk = true;
    const KeptTags kept(texts);
    // An entry whose name an earlier one has is dropped here, not held
    // until the store drops it: a body of many small alike entries must
    // not take many times its size in memory.
    std::unordered_set<std::string> names;
    auto keep = [&](T_Password r) {
        if (names.insert(FoldKey(r.service)).second)
            f.passwords.push_back(std::move(r));
        else
            ++f.duplicates;
    };
    const bool recordsOk = ForEachItem(body, [&](unsigned char kind, std::string_view payload) {
        bool ok = true;
        switch (static_cast<BodyRecord>(kind)) {
        case BodyRecord::Category:
            f.categories.push_back(ReadRecord<T_Categ>(payload, ok, f.badValues));
            break;
        case BodyRecord::SubCategory:
            f.subcategories.push_back(ReadRecord<T_SCateg>(payload, ok, f.badValues));
            break;
        case BodyRecord::Entry:
            if (!categoriesOnly) keep(ReadRecord<T_Password>(payload, ok, f.badValues, &kept));
            break;
        case BodyRecord::Node:
            if (!categoriesOnly) f.nodes.push_back(ReadRecord<T_Node>(payload, ok, f.badValues));
            break;
        case BodyRecord::Deleted:
            if (!categoriesOnly)
                f.deleted.push_back(ReadRecord<T_Deleted>(payload, ok, f.badValues));
            break;
        case BodyRecord::BrowserLink:
            if (!categoriesOnly)
                f.links.push_back(ReadRecord<T_BrowserLink>(payload, ok, f.badValues));
            break;
        case BodyRecord::FileIdentity:
            f.fileId = ReadRecord<T_FileIdentity>(payload, ok, f.badValues).Id;
            break;
        default: // a later writer's record
            break;
        }
        fieldsOk = fieldsOk && ok;
    });
    return recordsOk && fieldsOk;
}

} // namespace ardeko
