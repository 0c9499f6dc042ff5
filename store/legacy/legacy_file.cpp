#include "store/legacy/legacy_file.h"

#include "store/codepage.h"
#include "store/crypto/secret_key.h"
#include "store/legacy/encrypt.h"
#include "store/legacy/trailer.h"
#include "store/legacy/typed_text.h"
#include "store/vbdate.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <tuple>
#include <type_traits>
#include <utility>

namespace ardeko {

namespace {

// Little-endian reads that, like the format's home runtime, yield nothing
// once the data has run out; pastEnd tells whether that happened.
class ByteReader {
public:
    explicit ByteReader(std::string_view data) : data_(data) {}

    std::int16_t I16() { return static_cast<std::int16_t>(Unsigned<2>()); }
    std::int32_t I32() { return static_cast<std::int32_t>(Unsigned<4>()); }
    bool Bool() { return I16() != 0; }
    double F64() { return std::bit_cast<double>(Unsigned<8>()); }
    std::string Text() { return std::string(TextView()); }
    std::string_view TextView() {
        const auto n = static_cast<std::size_t>(Unsigned<2>());
        const std::size_t available = pastEnd_ ? 0 : data_.size() - pos_;
        const char* p = Take(n);
        if (!p && available > 0 && n > available)
            cutText_ = std::string(data_.substr(data_.size() - available));
        return p ? std::string_view(p, n) : std::string_view();
    }

    // With texts set, a record's texts are left empty and their bytes are
    // listed there instead, in file order (they stay in the data), for the
    // cipher to decipher straight into the record.
    void KeepTextsIn(std::vector<std::string_view>* texts) { texts_ = texts; }

    void operator()(const char* name, std::string& v) {
        const bool before = pastEnd_;
        if (texts_)
            texts_->push_back(TextView());
        else
            v = Text();
        if (!before && pastEnd_) cutField_ = name;
    }
    void operator()(const char*, std::int16_t& v) { v = I16(); }
    void operator()(const char*, bool& v) { v = Bool(); }
    void operator()(const char*, double& v) { v = F64(); }

    bool PastEnd() const { return pastEnd_; }
    // The field whose text the end of the data cut off, and the bytes of it
    // that were there; empty when the data did not end inside a text.
    const std::string& CutField() const { return cutField_; }
    const std::string& CutText() const { return cutText_; }
    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return data_.size() - pos_; }
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
    // A fixed width, so that the byte loop folds into one load.
    template <std::size_t N> std::uint64_t Unsigned() {
        const char* p = Take(N);
        std::uint64_t v = 0;
        if (p)
            for (std::size_t i = 0; i < N; ++i)
                v |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(p[i])) << (8 * i);
        return v;
    }

    std::string_view data_;
    std::vector<std::string_view>* texts_ = nullptr;
    std::size_t pos_ = 0;
    bool pastEnd_ = false;
    std::string cutField_, cutText_;
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
        char bytes[8];
        for (std::size_t i = 0; i < n; ++i)
            bytes[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        out_.append(bytes, n);
    }
    std::string out_;
};

// What the deciphered data says about the key: values no writer produces,
// fillers out of place, and how much of the text looks like text.
struct DecodeHealth {
    bool impossible = false;
    std::size_t fillerMismatches = 0;
    std::size_t verifiedTexts = 0; // non-empty, every filler where the writer put it
    ByteCounts textBytes{};
    bool judgeText = false; // only recovery compares decodes by their text

    void Text(const std::string& s) {
        if (judgeText) CountBytes(s, textBytes);
    }
};

// Applies the cipher to every field of a record, one counter step per field.
// Texts come from the list the reader kept (every record type holds its
// texts in the same order for the cipher as in the file).
struct Decipher {
    clsEncrypt& c;
    DecodeHealth& health;
    const std::vector<std::string_view>& texts;
    // Whether each text of the record (in file order) is kept; none: all.
    const std::vector<bool>* kept = nullptr;
    // The same for its numbers, dates and flags.
    const std::vector<bool>* keptValues = nullptr;
    std::size_t next = 0;
    std::size_t nextValue = 0;
    void operator()(const char*, std::string& v) {
        if (kept && !(*kept)[next] && c.FieldCounter() > 0) {
            ++next;
            c.SkipField();
            return;
        }
        bool fillersMatch = true;
        c.DecStringTo(texts[next++], v, true, &fillersMatch);
        health.fillerMismatches += !fillersMatch;
        health.verifiedTexts += fillersMatch && !v.empty();
        health.Text(v);
    }
    void operator()(const char*, std::int16_t& v) {
        if (!Skipped(v)) v = c.DecInt(v, true);
    }
    void operator()(const char*, bool& v) {
        if (!Skipped(v)) v = c.FlipBool(v, true);
    }
    void operator()(const char*, double& v) {
        if (Skipped(v)) return;
        v = c.DecDate(v, true);
        // Every date a writer enciphers is a calendar date.
        health.impossible = health.impossible || !VbDateInRange(v);
    }

private:
    // A value left out is not deciphered; the first step builds the
    // cipher's state and is never skipped.
    template <class T> bool Skipped(T& v) {
        const bool skip = keptValues && !(*keptValues)[nextValue] && c.FieldCounter() > 0;
        ++nextValue;
        if (skip) {
            v = T{};
            c.SkipField();
        }
        return skip;
    }
};

// Wipes the texts of an entry that a listing leaves out.
template <class R> void DropTexts(R& r, EntryTexts keep) {
    VisitFields(r, [keep](const char* name, auto& field) {
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, std::string>)
            if (!KeepsEntryText(keep, FieldOfName(name))) WipeString(field);
    });
}

template <class R> void TextsToUtf8(R& r) {
    VisitFields(r, [](const char*, auto& field) {
        // Most text is plain ASCII, the same in both encodings: keep it as it is.
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, std::string>) {
            if (std::any_of(field.begin(), field.end(), [](char ch) { return ch & 0x80; }))
                field = Cp1252ToUtf8(field);
        }
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

// The fewest bytes a record takes in the file: every text empty.
template <class R> std::size_t MinRecordBytes() {
    R r;
    std::size_t n = 0;
    VisitFields(r, [&n](const char*, const auto& field) {
        n += std::is_same_v<std::decay_t<decltype(field)>, double> ? 8 : 2;
    });
    return n;
}

// Where an entry is filed: its category and subcategory codes.
bool IsPlace(const T_Password& r, const void* field) {
    return field == &r.Codcat || field == &r.CodSCat;
}

// Reads the record sections after the header, deciphering when a cipher is
// given. Stops at the end of the data or at the first impossible value.
class SectionReader {
public:
    SectionReader(ByteReader& in, clsEncrypt* cipher, DecodeHealth& health,
                  EntryTexts texts = EntryTexts::All)
        : in_(in), cipher_(cipher), health_(health), texts_kept_(texts) {
        if (cipher_) in_.KeepTextsIn(&texts_);
        // Looked up once, not by name for every text of every entry.
        T_Password names;
        VisitFields(names, [&](const char* name, const auto& field) {
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, std::string>)
                entryTextsKept_.push_back(KeepsEntryText(texts, FieldOfName(name)));
            else
                entryValuesKept_.push_back(texts != EntryTexts::NamesAndPlaces ||
                                           IsPlace(names, &field));
        });
    }

    void ReadAll(bool categoriesOnly, DecodedFile& f) {
        const bool complete = Section(f.categories) && Section(f.subcategories) &&
                              (categoriesOnly || (Section(f.passwords) && Section(f.nodes)));
        f.truncated = !complete && !health_.impossible;
        f.badValues = badValues_;
    }

private:
    template <class Records> bool Section(Records& out) {
        using R = typename Records::value_type;
        std::int16_t count = in_.I16();
        if (in_.PastEnd()) return false;
        if (cipher_) count = cipher_->DecInt(count, false);
        if (count < 0) {
            // Deciphered, a wrong key; plain, damage.
            if (cipher_) health_.impossible = true;
            return false;
        }
        // Room at once for as many records as the count says and the bytes
        // left can hold: a count no data follows allocates nothing.
        if constexpr (requires { out.reserve(0); })
            out.reserve(out.size() + std::min(static_cast<std::size_t>(count),
                                              in_.Remaining() / MinRecordBytes<R>()));
        for (int i = 0; i < count; ++i) {
            // Read in place: a record moved into the list afterwards costs
            // as much again as its reading, for tens of thousands of entries.
            R& r = out.emplace_back();
            texts_.clear();
            VisitFields(r, in_);
            if (in_.PastEnd()) {
                CheckCutText(r);
                out.pop_back();
                return false;
            }
            constexpr bool entry = std::is_same_v<R, T_Password>;
            const EntryTexts keep = entry ? texts_kept_ : EntryTexts::All;
            const std::vector<bool>* kept = keep == EntryTexts::All ? nullptr : &entryTextsKept_;
            const std::vector<bool>* keptValues =
                keep == EntryTexts::NamesAndPlaces ? &entryValuesKept_ : nullptr;
            if (cipher_)
                VisitCipherFields(r, Decipher{*cipher_, health_, texts_, kept, keptValues});
            else
                DropImpossibleDates(r);
            if (!cipher_ && keep != EntryTexts::All) DropTexts(r, keep);
            if (health_.impossible) {
                out.pop_back();
                return false;
            }
            TextsToUtf8(r);
        }
        return true;
    }

    // A plain file holds its dates as they are; one that no date can be is
    // damage, read as no date so that the rest of the store can use it.
    template <class R> void DropImpossibleDates(R& r) {
        VisitFields(r, [this](const char*, auto& field) {
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, double>) {
                if (!VbDateInRange(field)) {
                    field = 0;
                    badValues_ = true;
                }
            }
        });
    }

    // Data that ends inside a text: what is there of it must still begin the
    // way the writer's fillers say, or the reading had lost its place (a
    // wrong count, that is a wrong key) before the data ended.
    template <class R> void CheckCutText(R& r) {
        if (!cipher_ || in_.CutText().empty()) return;
        DecodeHealth scratch;
        Decipher decipher{*cipher_, scratch, texts_};
        bool reached = false;
        VisitCipherFields(r, [&](const char* name, auto& field) {
            if (reached) return;
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, std::string>) {
                if (in_.CutField() == name) {
                    reached = true;
                    bool fillersMatch = true;
                    cipher_->DecString(in_.CutText(), true, &fillersMatch, true);
                    health_.impossible = health_.impossible || !fillersMatch;
                    return;
                }
            }
            decipher(name, field);
        });
    }

    ByteReader& in_;
    clsEncrypt* cipher_;
    DecodeHealth& health_;
    std::vector<std::string_view> texts_; // of the record being read
    EntryTexts texts_kept_;
    std::vector<bool> entryTextsKept_;
    std::vector<bool> entryValuesKept_; // numbers, dates and flags

    bool badValues_ = false;
};

struct Attempt {
    DecodedFile file;
    DecodeHealth health;
    std::size_t end = 0;
};

// One attempt at an enciphered file with a given writer's generator history
// (none: the key follows from the seed alone).
Attempt TryEnciphered(std::string_view image, const FileHeader& header, std::size_t bodyStart,
                      const std::string& password, bool categoriesOnly,
                      std::optional<std::uint8_t> history, EntryTexts texts = EntryTexts::All) {
    Attempt a;
    a.file.header = header;
    a.health.judgeText = history.has_value();
    clsEncrypt cipher;
    cipher.Init(password, header.seed, history);
    bool fillersMatch = true;
    std::string stored = cipher.DecString(header.storedPassword, false, &fillersMatch);
    const WipeOnExit wipeStored(stored);
    if (stored != password) {
        a.file.status = DecodeStatus::WrongPassword;
        return a;
    }
    a.health.fillerMismatches += !fillersMatch;
    ByteReader in(image);
    in.Seek(bodyStart);
    SectionReader(in, &cipher, a.health, texts).ReadAll(categoriesOnly, a.file);
    a.end = a.file.dataEnd = in.Position();
    // The stored password cannot confirm the key on its own, so the data must:
    // nothing impossible, fillers in place (other fillers are tolerated only
    // in data that reads exactly to its end), and data that runs out early
    // must at least have shown some text deciphered in place before.
    const bool exact = !a.file.truncated && (categoriesOnly || a.end == image.size());
    // A file that ends right after its header (or its first count) has
    // nothing to contradict the key with, and is plainly cut.
    const bool recordsBegun = a.end > bodyStart + 2;
    if (a.health.impossible || (a.health.fillerMismatches > 0 && !exact) ||
        (a.file.truncated && a.health.verifiedTexts == 0 && recordsBegun))
        a.file.status = DecodeStatus::Inconsistent;
    return a;
}

bool SameRecords(const DecodedFile& a, const DecodedFile& b) {
    return a.categories == b.categories && a.subcategories == b.subcategories &&
           a.passwords == b.passwords && a.nodes == b.nodes;
}

// Decodes alike from several histories, and how many histories give it.
struct DecodeGroup {
    Attempt attempt;
    int weight = 0;
    std::size_t untypeable = 0;
    double likeness = 0;
};

// Judges each decode's text: characters nobody types, and how likely the
// bytes in which it differs from the others are (with its weight).
void JudgeTexts(std::vector<DecodeGroup>& groups) {
    std::size_t fewestUntypeable = SIZE_MAX;
    for (DecodeGroup& g : groups) {
        g.untypeable = UntypeableCount(g.attempt.health.textBytes);
        fewestUntypeable = std::min(fewestUntypeable, g.untypeable);
    }
    std::optional<ByteCounts> agreed;
    for (const DecodeGroup& g : groups)
        if (g.untypeable == fewestUntypeable)
            agreed =
                agreed ? Agreed(*agreed, g.attempt.health.textBytes) : g.attempt.health.textBytes;
    for (DecodeGroup& g : groups)
        g.likeness = std::log(static_cast<double>(g.weight)) +
                     TypedLogLikelihood(g.attempt.health.textBytes, *agreed);
}

// For a seed whose key depends on another writer's generator history: try
// each of the 256 histories that matter and keep the decode that reads most
// like what a writer wrote (complete, fillers in place, to the end of the
// data, no characters that nobody types). The keys of different histories
// agree on their start, so decodes differ only in a few bytes of their
// longer texts, or not at all; then the likeliest decode is the one whose
// differing bytes are most like the text all of them agree on, weighed
// with how many histories give it.
DecodedFile RecoverEnciphered(std::string_view image, const FileHeader& header,
                              std::size_t bodyStart, const std::string& password,
                              bool categoriesOnly) {
    // Histories that give the same key and generator state decode alike.
    // The keys all begin with the password: their drawn parts tell them apart.
    std::map<std::pair<std::string, std::uint32_t>, std::pair<std::uint8_t, int>> keys;
    for (int h = 0; h < 256; ++h) {
        clsEncrypt c;
        c.Init(password, header.seed, static_cast<std::uint8_t>(h));
        auto [it, added] = keys.try_emplace({std::string(c.KeySuffix()), c.GeneratorState()},
                                            static_cast<std::uint8_t>(h), 0);
        ++it->second.second;
    }
    std::vector<DecodeGroup> groups;
    bool anyPassed = false;
    for (const auto& [key, candidate] : keys) {
        Attempt a =
            TryEnciphered(image, header, bodyStart, password, categoriesOnly, candidate.first);
        anyPassed = anyPassed || a.file.status != DecodeStatus::WrongPassword;
        if (a.file.status != DecodeStatus::Ok) continue;
        auto same = std::find_if(groups.begin(), groups.end(), [&](const DecodeGroup& g) {
            return SameRecords(g.attempt.file, a.file);
        });
        if (same == groups.end()) same = groups.insert(groups.end(), DecodeGroup{std::move(a), 0});
        same->weight += candidate.second;
    }
    JudgeTexts(groups);
    auto rank = [&](const DecodeGroup& g) {
        const Attempt& a = g.attempt;
        return std::make_tuple(a.file.truncated, a.health.fillerMismatches,
                               !categoriesOnly && a.end != image.size(), g.untypeable, -g.likeness,
                               -g.weight);
    };
    const auto best = std::min_element(
        groups.begin(), groups.end(),
        [&](const DecodeGroup& x, const DecodeGroup& y) { return rank(x) < rank(y); });
    if (best != groups.end()) return std::move(best->attempt.file);
    DecodedFile f;
    f.header = header;
    f.status = anyPassed ? DecodeStatus::Inconsistent : DecodeStatus::WrongPassword;
    return f;
}

} // namespace

bool IsLegacyVersion(std::string_view version) {
    return version == kVersion101 || version == kVersion102 || version == kVersion103;
}

FileHeader DecodeHeader(std::string_view image) {
    ByteReader in(image);
    return ReadHeader(in);
}

namespace {

// A file refused before or after its records were read: nothing of them is kept.
DecodedFile Refused(FileHeader header, DecodeStatus status) {
    DecodedFile f;
    f.header = std::move(header);
    f.status = status;
    return f;
}

DecodedFile DecodeLegacy(std::string_view image, std::string_view password, bool categoriesOnly,
                         EntryTexts texts) {
    ByteReader in(image);
    const FileHeader header = ReadHeader(in);
    DecodedFile f;
    f.header = header;
    if (!IsLegacyVersion(header.version)) {
        f.status = DecodeStatus::BadVersion;
        return f;
    }
    Cp1252Result pw = Utf8ToCp1252(password);
    const WipeOnExit wipePassword(pw.bytes);
    if (pw.badCodePoint) {
        f.status = DecodeStatus::WrongPassword; // no stored password can hold it
        return f;
    }
    if (!header.encrypted) {
        if (header.storedPassword != pw.bytes) {
            f.status = DecodeStatus::WrongPassword;
            return f;
        }
        DecodeHealth unused;
        SectionReader(in, nullptr, unused, texts).ReadAll(categoriesOnly, f);
        f.dataEnd = in.Position();
        return f;
    }
    if (clsEncrypt::SeedNeedsRecovery(header.seed)) {
        // Recovery compares whole decodes, so it reads every text; those a
        // listing leaves out are wiped once it has chosen.
        f = RecoverEnciphered(image, header, in.Position(), pw.bytes, categoriesOnly);
        if (texts != EntryTexts::All)
            for (T_Password& p : f.passwords)
                DropTexts(p, texts);
        return f;
    }
    return TryEnciphered(image, header, in.Position(), pw.bytes, categoriesOnly, std::nullopt,
                         texts)
        .file;
}

} // namespace

DecodedFile DecodeLegacyFile(std::string_view image, std::string_view password, bool categoriesOnly,
                             const FileKey* known, EntryTexts texts) {
    // A trailer proves the password and the contents before the legacy data
    // is read at all; without one the file reads as it always has.
    const auto trailer = FindTrailer(image);
    if (!trailer) {
        // Without a trailer the values are what tells a wrong key: all are read.
        if (texts == EntryTexts::NamesAndPlaces) texts = EntryTexts::NamesOnly;
        DecodedFile f = DecodeLegacy(image, password, categoriesOnly, texts);
        // Our writer's file whose marker was hit: never read as another
        // program's file, which cannot tell a wrong password or a change.
        if (f.status == DecodeStatus::Ok && !categoriesOnly && f.header.encrypted &&
            LooksLikeDamagedTrailer(image.substr(std::min(f.dataEnd, image.size()))))
            return Refused(std::move(f.header), DecodeStatus::Damaged);
        return f;
    }
    if (!trailer->whole) return Refused(DecodeHeader(image), DecodeStatus::Damaged);
    FileKey key;
    const DecodeStatus checked = CheckTrailer(image, *trailer, password, known, key);
    if (checked != DecodeStatus::Ok) return Refused(DecodeHeader(image), checked);
    DecodedFile f = DecodeLegacy(image.substr(0, trailer->start), password, categoriesOnly, texts);
    // The trailer follows the last record; found anywhere else, the file
    // is not what the writer wrote.
    if (f.status == DecodeStatus::Ok && !categoriesOnly &&
        (f.truncated || f.dataEnd != trailer->start))
        return Refused(std::move(f.header), DecodeStatus::Damaged);
    f.key = std::move(key);
    f.appendedBytes = image.size() - trailer->end;
    return f;
}

namespace {

std::string Label(const T_Categ& r) {
    return "Category \"" + r.DescrCat + "\"";
}
std::string Label(const T_SCateg& r) {
    return "Subcategory \"" + r.DescrSCat + "\"";
}
std::string Label(const T_Node& r) {
    return "Tree node \"" + r.DescrCat + "\"";
}
std::string Label(const T_Password& r) {
    return "Entry \"" + r.service + "\"";
}

TextRefusal RefusalOf(const T_Categ& r) {
    return {TextRefusal::Record::Category, r.DescrCat, {}, {}, 0};
}
TextRefusal RefusalOf(const T_SCateg& r) {
    return {TextRefusal::Record::Subcategory, r.DescrSCat, {}, {}, 0};
}
TextRefusal RefusalOf(const T_Node& r) {
    return {TextRefusal::Record::TreeNode, r.DescrCat, {}, {}, 0};
}
TextRefusal RefusalOf(const T_Password& r) {
    return {TextRefusal::Record::Entry, r.service, {}, {}, 0};
}

bool IsAscii(std::string_view s) {
    return std::none_of(s.begin(), s.end(), [](char ch) { return ch & 0x80; });
}

// What the file cannot hold in one field, if anything: the message names
// the record and the field.
template <class R, class F>
std::optional<EncodeError> CheckField(const R& r, const char* name, const F& field) {
    auto where = [&] { return Label(r) + ", field " + name; };
    if constexpr (std::is_same_v<F, std::string>) {
        TextRefusal refusal = RefusalOf(r);
        refusal.field = FieldOfName(name);
        refusal.fieldName = name;
        std::size_t length = field.size();
        if (!IsAscii(field)) {
            const Cp1252Result c = Utf8ToCp1252(field);
            if (c.badCodePoint) {
                // Never quote a character of a password, even in a message.
                const bool secret = refusal.field == Field::Password;
                const std::string what =
                    secret ? std::string("a character")
                           : "the character " + DescribeCodePoint(*c.badCodePoint);
                if (!secret) refusal.character = *c.badCodePoint;
                return EncodeError{Code(StoreError::UnstorableText),
                                   where() + ": " + what +
                                       " cannot be stored in a data file (only "
                                       "Western European characters can).",
                                   std::move(refusal)};
            }
            length = c.bytes.size();
        }
        refusal.length = length;
        if (length > kMaxTextLength)
            return EncodeError{Code(StoreError::TooLarge),
                               where() + ": the text is " + std::to_string(length) +
                                   " characters long; a data file holds at most " +
                                   std::to_string(kMaxTextLength) + ".",
                               std::move(refusal)};
    } else if constexpr (std::is_same_v<F, double>) {
        if (!VbDateInRange(field))
            return EncodeError{Code(StoreError::TooLarge),
                               where() + ": the date is out of range (years 100 to 9999).",
                               {}};
    }
    return std::nullopt;
}

// The older format has no place for one-time codes, earlier passwords,
// custom fields or site permissions: refused, never dropped.
std::optional<EncodeError> CheckLaterFields(const T_Password& r) {
    const Field field = !r.Totp.empty()      ? Field::Code
                        : !r.History.empty() ? Field::History
                        : !r.Fields.empty()  ? Field::ExtraFields
                        : !r.Sites.empty()   ? Field::Sites
                                             : Field::Other;
    if (field == Field::Other) return std::nullopt;
    const std::string what = field == Field::Code      ? ": its one-time code"
                             : field == Field::History ? ": its earlier passwords"
                             : field == Field::Sites ? ": the web sites it was allowed or denied to"
                                                     : ": its extra fields";
    TextRefusal refusal = RefusalOf(r);
    refusal.field = field;
    return EncodeError{Code(StoreError::UnstorableText),
                       Label(r) + what + " cannot be stored in a file of the older format.",
                       std::move(refusal)};
}

template <class R> std::optional<EncodeError> CheckOne(const R& r) {
    std::optional<EncodeError> err;
    VisitFields(r, [&](const char* name, const auto& field) {
        if (!err) err = CheckField(r, name, field);
    });
    if constexpr (std::is_same_v<R, T_Password>)
        if (!err) err = CheckLaterFields(r);
    return err;
}

// Checks everything the file cannot hold; the first problem found is returned.
template <class R>
std::optional<EncodeError> CheckSection(const KeyedCollection<R>& records, const char* what) {
    if (records.Count() > kMaxRecords)
        return EncodeError{Code(StoreError::TooLarge),
                           std::string("Too many ") + what + ": " +
                               std::to_string(records.Count()) + "; a data file holds at most " +
                               std::to_string(kMaxRecords) + ".",
                           {}};
    for (const R& r : records)
        if (auto err = CheckOne(r)) return err;
    return std::nullopt;
}

// Enciphers one field where it is; text goes through one reused buffer.
struct Encipher {
    clsEncrypt& c;
    std::string& buffer;
    void operator()(const char*, std::string& v) {
        if (!IsAscii(v)) v = Utf8ToCp1252(v).bytes; // checked before
        c.EncStringTo(v, true, buffer);
        v.swap(buffer);
    }
    void operator()(const char*, std::int16_t& v) { v = c.EncInt(v, true); }
    void operator()(const char*, bool& v) { v = c.FlipBool(v, true); }
    void operator()(const char*, double& v) { v = c.EncDate(v, true); }
};

// Each record is copied into one scratch record, whose texts keep their
// buffers from record to record, enciphered there in cipher order and
// written in file order.
template <class R>
void WriteSection(ByteWriter& out, clsEncrypt& cipher, const KeyedCollection<R>& records) {
    out.I16(cipher.EncInt(static_cast<std::int16_t>(records.Count()), false));
    R scratch;
    std::string buffer;
    for (const R& r : records) {
        scratch = r;
        VisitCipherFields(scratch, Encipher{cipher, buffer});
        VisitFields(std::as_const(scratch), out);
    }
    // The scratch texts and the buffer last held plain text (entry passwords).
    VisitFields(scratch, [](const char*, auto& f) {
        if constexpr (std::is_same_v<std::decay_t<decltype(f)>, std::string>) WipeString(f);
    });
    WipeString(buffer);
}

} // namespace

std::optional<EncodeError> CheckRecord(const T_Categ& r) {
    return CheckOne(r);
}
std::optional<EncodeError> CheckRecord(const T_SCateg& r) {
    return CheckOne(r);
}
std::optional<EncodeError> CheckRecord(const T_Password& r) {
    return CheckOne(r);
}

std::optional<EncodeError> EncodeFile(const StoreContents& contents, std::string_view password,
                                      EncodedFile& out) {
    if (auto err = CheckSection(contents.categories, "categories")) return err;
    if (auto err = CheckSection(contents.subcategories, "subcategories")) return err;
    if (auto err = CheckSection(contents.passwords, "entries")) return err;
    if (auto err = CheckSection(contents.nodes, "tree nodes")) return err;
    Cp1252Result pw = Utf8ToCp1252(password);
    const WipeOnExit wipePassword(pw.bytes);
    const TextRefusal refusal{TextRefusal::Record::FilePassword, {}, {}, {}, pw.bytes.size()};
    if (pw.badCodePoint)
        return EncodeError{Code(StoreError::UnstorableText),
                           "The file password contains a character that cannot be "
                           "stored in a data file (only Western European "
                           "characters can).",
                           refusal};
    if (pw.bytes.size() > kMaxTextLength)
        return EncodeError{Code(StoreError::TooLarge), "The file password is too long.", refusal};

    clsEncrypt cipher;
    ByteWriter w;
    out.seed = cipher.Init(pw.bytes);
    w.Text(kVersion103);
    w.I32(out.seed);
    w.Text(cipher.EncString(pw.bytes, false));
    w.Bool(true);
    WriteSection(w, cipher, contents.categories);
    WriteSection(w, cipher, contents.subcategories);
    WriteSection(w, cipher, contents.passwords);
    WriteSection(w, cipher, contents.nodes);
    out.image = std::move(w.Data());
    return std::nullopt;
}

} // namespace ardeko
