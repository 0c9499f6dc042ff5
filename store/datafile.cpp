#include "datafile.h"

#include "codepage.h"
#include "encrypt.h"
#include "vbdate.h"

#include <bit>
#include <cstring>
#include <type_traits>
#include <utility>

namespace ardeko {

namespace {

// Little-endian reads that, like the format's home runtime, yield nothing
// once the data has run out; pastEnd tells whether that happened.
class ByteReader {
public:
    explicit ByteReader(std::string_view data) : data_(data) {}

    std::int16_t I16() { return static_cast<std::int16_t>(Unsigned(2)); }
    std::int32_t I32() { return static_cast<std::int32_t>(Unsigned(4)); }
    bool Bool() { return I16() != 0; }
    double F64() { return std::bit_cast<double>(Unsigned(8)); }
    std::string Text() {
        const auto n = static_cast<std::size_t>(Unsigned(2));
        const char* p = Take(n);
        return p ? std::string(p, n) : std::string();
    }

    void operator()(const char*, std::string& v) { v = Text(); }
    void operator()(const char*, std::int16_t& v) { v = I16(); }
    void operator()(const char*, bool& v) { v = Bool(); }
    void operator()(const char*, double& v) { v = F64(); }

    bool PastEnd() const { return pastEnd_; }
    std::size_t Position() const { return pos_; }
    void Seek(std::size_t pos) { pos_ = pos; }

private:
    const char* Take(std::size_t n) {
        if (pastEnd_ || data_.size() - pos_ < n) {
            pastEnd_ = true;
            pos_ = data_.size();
            return nullptr;
        }
        const char* p = data_.data() + pos_;
        pos_ += n;
        return p;
    }
    std::uint64_t Unsigned(std::size_t n) {
        const char* p = Take(n);
        std::uint64_t v = 0;
        for (std::size_t i = 0; p && i < n; ++i)
            v |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(p[i])) << (8 * i);
        return v;
    }

    std::string_view data_;
    std::size_t pos_ = 0;
    bool pastEnd_ = false;
};

class ByteWriter {
public:
    void I16(std::int16_t v) { Unsigned(static_cast<std::uint16_t>(v), 2); }
    void I32(std::int32_t v) { Unsigned(static_cast<std::uint32_t>(v), 4); }
    void Bool(bool v) { I16(v ? -1 : 0); }
    void F64(double v) { Unsigned(std::bit_cast<std::uint64_t>(v), 8); }
    void Text(std::string_view s) {
        Unsigned(s.size(), 2);
        out_.append(s);
    }

    void operator()(const char*, const std::string& v) { Text(v); }
    void operator()(const char*, std::int16_t v) { I16(v); }
    void operator()(const char*, bool v) { Bool(v); }
    void operator()(const char*, double v) { F64(v); }

    std::string& Data() { return out_; }

private:
    void Unsigned(std::uint64_t v, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i)
            out_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
    std::string out_;
};

// Applies the cipher to every field of a record, one counter step per field.
struct Decipher {
    clsEncrypt& c;
    void operator()(const char*, std::string& v) { v = c.DecString(v, true); }
    void operator()(const char*, std::int16_t& v) { v = c.DecInt(v, true); }
    void operator()(const char*, bool& v) { v = c.FlipBool(v, true); }
    void operator()(const char*, double& v) { v = c.DecDate(v, true); }
};

struct Encipher {
    clsEncrypt& c;
    void operator()(const char*, std::string& v) { v = c.EncString(v, true); }
    void operator()(const char*, std::int16_t& v) { v = c.EncInt(v, true); }
    void operator()(const char*, bool& v) { v = c.FlipBool(v, true); }
    void operator()(const char*, double& v) { v = c.EncDate(v, true); }
};

template <class R> void TextsToUtf8(R& r) {
    VisitFields(r, [](const char*, auto& field) {
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, std::string>)
            field = Cp1252ToUtf8(field);
    });
}

FileHeader ReadHeader(ByteReader& in) {
    FileHeader h;
    h.version = in.Text();
    h.seed = in.I32();
    h.storedPassword = in.Text();
    h.encrypted = in.Bool();
    return h;
}

template <class R>
bool ReadSection(ByteReader& in, clsEncrypt* cipher, std::vector<R>& out) {
    std::int16_t count = in.I16();
    if (in.PastEnd())
        return false;
    if (cipher)
        count = cipher->DecInt(count, false);
    for (int i = 0; i < count; ++i) {
        R r;
        VisitFields(r, in);
        if (in.PastEnd())
            return false;
        if (cipher)
            VisitCipherFields(r, Decipher{*cipher});
        TextsToUtf8(r);
        out.push_back(std::move(r));
    }
    return true;
}

void ReadSections(ByteReader& in, clsEncrypt* cipher, bool categoriesOnly, DecodedFile& f) {
    f.truncated = !ReadSection(in, cipher, f.categories) || !ReadSection(in, cipher, f.subcategories) ||
                  (!categoriesOnly &&
                   (!ReadSection(in, cipher, f.passwords) || !ReadSection(in, cipher, f.nodes)));
}

// One attempt at an enciphered file with a given key suffix length (none:
// derived from the seed as usual).
DecodedFile TryEnciphered(std::string_view image, const FileHeader& header, std::size_t bodyStart,
                          const std::string& password, bool categoriesOnly, std::optional<int> suffix,
                          std::size_t* endPos) {
    DecodedFile f;
    f.header = header;
    clsEncrypt cipher;
    cipher.Init(password, header.seed, suffix);
    if (cipher.DecString(header.storedPassword, false) != password) {
        f.status = DecodeStatus::WrongPassword;
        return f;
    }
    ByteReader in(image);
    in.Seek(bodyStart);
    ReadSections(in, &cipher, categoriesOnly, f);
    if (endPos)
        *endPos = in.Position();
    return f;
}

// For a seed whose key suffix length depends on another writer's generator
// history: try every possible length, preferring one whose sections read
// cleanly to the very end of the data.
DecodedFile RecoverEnciphered(std::string_view image, const FileHeader& header, std::size_t bodyStart,
                              const std::string& password, bool categoriesOnly) {
    std::optional<DecodedFile> clean, passing;
    for (int n = clsEncrypt::kMinSuffix; n <= clsEncrypt::kMaxSuffix; ++n) {
        std::size_t end = 0;
        DecodedFile f = TryEnciphered(image, header, bodyStart, password, categoriesOnly, n, &end);
        if (f.status != DecodeStatus::Ok)
            continue;
        if (!f.truncated && (end == image.size() || categoriesOnly))
            return f;
        if (!f.truncated && !clean)
            clean = std::move(f);
        else if (!passing)
            passing = std::move(f);
    }
    if (clean)
        return std::move(*clean);
    if (passing)
        return std::move(*passing);
    DecodedFile f;
    f.header = header;
    f.status = DecodeStatus::WrongPassword;
    return f;
}

} // namespace

bool IsKnownVersion(std::string_view version) {
    return version == kVersion101 || version == kVersion102 || version == kVersion103;
}

FileHeader DecodeHeader(std::string_view image) {
    ByteReader in(image);
    return ReadHeader(in);
}

DecodedFile DecodeFile(std::string_view image, std::string_view password, bool categoriesOnly) {
    ByteReader in(image);
    const FileHeader header = ReadHeader(in);
    DecodedFile f;
    f.header = header;
    if (!IsKnownVersion(header.version)) {
        f.status = DecodeStatus::BadVersion;
        return f;
    }
    Cp1252Result pw = Utf8ToCp1252(password);
    if (pw.badCodePoint) {
        f.status = DecodeStatus::WrongPassword; // no stored password can hold it
        return f;
    }
    if (!header.encrypted) {
        if (header.storedPassword != pw.bytes) {
            f.status = DecodeStatus::WrongPassword;
            return f;
        }
        ReadSections(in, nullptr, categoriesOnly, f);
        return f;
    }
    if (clsEncrypt::SeedNeedsRecovery(header.seed))
        return RecoverEnciphered(image, header, in.Position(), pw.bytes, categoriesOnly);
    return TryEnciphered(image, header, in.Position(), pw.bytes, categoriesOnly, std::nullopt, nullptr);
}

namespace {

std::string Label(const T_Categ& r) { return "Category \"" + r.DescrCat + "\""; }
std::string Label(const T_SCateg& r) { return "Subcategory \"" + r.DescrSCat + "\""; }
std::string Label(const T_Node& r) { return "Tree node \"" + r.DescrCat + "\""; }
std::string Label(const T_Password& r) { return "Entry \"" + r.service + "\""; }

// Converts a record's texts to the code page, checking everything the file
// cannot hold; the first problem found is returned.
template <class R> std::optional<EncodeError> ToFileForm(R& r) {
    const std::string label = Label(r);
    std::optional<EncodeError> err;
    VisitFields(r, [&](const char* name, auto& field) {
        using F = std::decay_t<decltype(field)>;
        if (err)
            return;
        const std::string where = label + ", field " + name;
        if constexpr (std::is_same_v<F, std::string>) {
            Cp1252Result c = Utf8ToCp1252(field);
            if (c.badCodePoint) {
                err = EncodeError{kErrUnstorableText,
                                  where + ": the character " + DescribeCodePoint(*c.badCodePoint) +
                                      " cannot be stored in a data file (only Western European "
                                      "characters can)."};
            } else if (c.bytes.size() > kMaxTextLength) {
                err = EncodeError{kErrTooLarge, where + ": the text is " + std::to_string(c.bytes.size()) +
                                                    " characters long; a data file holds at most " +
                                                    std::to_string(kMaxTextLength) + "."};
            } else {
                field = std::move(c.bytes);
            }
        } else if constexpr (std::is_same_v<F, double>) {
            if (!VbDateInRange(field))
                err = EncodeError{kErrTooLarge, where + ": the date is out of range (years 100 to 9999)."};
        }
    });
    return err;
}

template <class R>
std::optional<EncodeError> PrepareSection(const KeyedCollection<R>& from, const char* what,
                                          std::vector<R>& to) {
    if (from.Count() > kMaxRecords)
        return EncodeError{kErrTooLarge, std::string("Too many ") + what + ": " +
                                             std::to_string(from.Count()) + "; a data file holds at most " +
                                             std::to_string(kMaxRecords) + "."};
    to.reserve(from.Count());
    for (const R& r : from) {
        to.push_back(r);
        if (auto err = ToFileForm(to.back()))
            return err;
    }
    return std::nullopt;
}

template <class R> void WriteSection(ByteWriter& out, clsEncrypt& cipher, std::vector<R>& records) {
    out.I16(cipher.EncInt(static_cast<std::int16_t>(records.size()), false));
    for (R& r : records) {
        VisitCipherFields(r, Encipher{cipher});
        VisitFields(std::as_const(r), out);
    }
}

} // namespace

std::optional<EncodeError> EncodeFile(const StoreContents& contents, std::string_view password,
                                      EncodedFile& out) {
    std::vector<T_Categ> categories;
    std::vector<T_SCateg> subcategories;
    std::vector<T_Password> passwords;
    std::vector<T_Node> nodes;
    if (auto err = PrepareSection(contents.categories, "categories", categories))
        return err;
    if (auto err = PrepareSection(contents.subcategories, "subcategories", subcategories))
        return err;
    if (auto err = PrepareSection(contents.passwords, "entries", passwords))
        return err;
    if (auto err = PrepareSection(contents.nodes, "tree nodes", nodes))
        return err;
    Cp1252Result pw = Utf8ToCp1252(password);
    if (pw.badCodePoint)
        return EncodeError{kErrUnstorableText, "The file password contains the character " +
                                                   DescribeCodePoint(*pw.badCodePoint) +
                                                   ", which cannot be stored in a data file."};
    if (pw.bytes.size() > kMaxTextLength)
        return EncodeError{kErrTooLarge, "The file password is too long."};

    clsEncrypt cipher;
    ByteWriter w;
    out.seed = cipher.Init(pw.bytes);
    w.Text(kVersion103);
    w.I32(out.seed);
    w.Text(cipher.EncString(pw.bytes, false));
    w.Bool(true);
    WriteSection(w, cipher, categories);
    WriteSection(w, cipher, subcategories);
    WriteSection(w, cipher, passwords);
    WriteSection(w, cipher, nodes);
    out.image = std::move(w.Data());
    return std::nullopt;
}

} // namespace ardeko
