#include "store/format2_body.h"

#include "store/vbdate.h"

#include <bit>
#include <cstring>
#include <type_traits>

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

// Entry fields beyond the 1.0x ones, with tags of their own.
constexpr unsigned char kTagEntryId = 66;

// v(tag, field) for every field a record kind stores: the 1.0x fields at
// their positions, then the later ones.
template <class R, class V> void VisitTaggedFields(R& r, V&& v) {
    unsigned char tag = 0;
    VisitFields(r, [&](const char*, auto& f) { v(++tag, f); });
    if constexpr (std::is_same_v<std::remove_const_t<R>, T_Password>) {
        v(kTagEntryId, r.Id);
    }
}

template <class R> std::size_t RecordPayload(const R& r) {
    std::size_t n = 0;
    VisitTaggedFields(r, [&n](unsigned char, const auto& f) {
        if (!IsDefault(f)) n += kItemHead + ValueSize(f);
    });
    return n;
}

class BodyWriter {
public:
    explicit BodyWriter(char* out) : p_(out) {}

    template <class R> void Record(BodyRecord kind, const R& r) {
        Byte(static_cast<unsigned char>(kind));
        U32(RecordPayload(r));
        VisitTaggedFields(r, [&](unsigned char tag, const auto& f) {
            if (IsDefault(f)) return;
            Byte(tag);
            U32(ValueSize(f));
            Value(f);
        });
    }

private:
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

// Fills the fields a record names; unknown tags and values of a size no
// writer gives are passed over (a later writer's fields).
template <class R> R ReadRecord(std::string_view payload, bool& ok, bool& badValues) {
    R r;
    ok = ForEachItem(payload, [&](unsigned char tag, std::string_view value) {
        VisitTaggedFields(r, [&](unsigned char index, auto& f) {
            if (index != tag) return;
            using F = std::decay_t<decltype(f)>;
            if constexpr (std::is_same_v<F, std::string>) {
                f.assign(value);
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
        });
    });
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

bool ReadBody(std::string_view body, bool categoriesOnly, DecodedFile& f) {
    bool fieldsOk = true;
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
            if (!categoriesOnly)
                f.passwords.push_back(ReadRecord<T_Password>(payload, ok, f.badValues));
            break;
        case BodyRecord::Node:
            if (!categoriesOnly) f.nodes.push_back(ReadRecord<T_Node>(payload, ok, f.badValues));
            break;
        case BodyRecord::Deleted:
            if (!categoriesOnly)
                f.deleted.push_back(ReadRecord<T_Deleted>(payload, ok, f.badValues));
            break;
        default: // a later writer's record
            break;
        }
        fieldsOk = fieldsOk && ok;
    });
    return recordsOk && fieldsOk;
}

} // namespace ardeko
