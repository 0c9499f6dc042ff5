// The data file's byte layout: header, enciphered flag and the four record
// sections. Decoding and encoding work on whole in-memory images; the store
// does the file-system side.
#pragma once

#include "store/kdf.h"
#include "store/keyed_collection.h"
#include "store/records.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ardeko {

inline constexpr const char* kVersion101 = "<Password File 1.01>";
inline constexpr const char* kVersion102 = "<Password File 1.02>";
inline constexpr const char* kVersion103 = "<Password File 1.03>";

inline constexpr int kErrBadFile = 50001;     // bad version or wrong password
inline constexpr int kErrDamagedFile = 50002; // data ends early (a warning)
inline constexpr int kErrNotFound = 50003;
inline constexpr int kErrUnstorableText = 50004;
inline constexpr int kErrTooLarge = 50005;
// The password is right, but the contents are not what was saved under it.
inline constexpr int kErrChangedFile = 50006;
// Saving in the legacy format needs the file password itself, which a
// format-2 file does not keep once its key is made.
inline constexpr int kErrPasswordNeeded = 50007;
// A file opened with a password it cannot check (a legacy file without our
// trailer) is saved only once the password was given again and matched.
inline constexpr int kErrPasswordUnchecked = 50020;
// That second password differed: the first may have been a typo that
// opened the file with garbled texts.
inline constexpr int kErrPasswordsDiffer = 50021;
// Warnings of a file that loaded: bytes after the trailer were ignored; the
// key's settings are below what a new key gets.
inline constexpr int kErrAppendedBytes = 50022;
inline constexpr int kErrWeakKdf = 50023;
// A store read for a listing (without its secrets) was to be saved or merged.
inline constexpr int kErrListingOnly = 50080;
// The file's key settings are beyond what is opened without asking, though
// within what earlier versions let a user choose: it opens after a long
// wait, once the user agrees (SlowKdfSettings, DeriveKeyOfFile).
inline constexpr int kErrSlowKdf = 50070;

// Longest text (in code-page characters) whose enciphered form is sure to fit
// the 2-byte length whatever group length the cipher picks.
inline constexpr std::size_t kMaxTextLength = 43689;
inline constexpr std::size_t kMaxRecords = 32767;

// The version text with its length: all a reader needs to tell a data file
// from anything else.
inline constexpr std::size_t kVersionBytes = 2 + 20;
// The largest file the format can describe: every text at the 2-byte length
// limit, every section full. Anything larger is not a data file.
inline constexpr std::uint64_t kMaxTextBytes = 2 + 65535;
inline constexpr std::uint64_t kMaxFileSize =
    2 * kMaxTextBytes + 4 + 2 + 4 * 2 +
    kMaxRecords * ((2 + kMaxTextBytes + 2) + (2 + 2 + kMaxTextBytes) + (kMaxTextBytes + 2) +
                   (12 * kMaxTextBytes + 9 * 2 + 9 * 8 + 9 * 2));

struct FileHeader {
    std::string version; // as read (code-page bytes; the known versions are ASCII)
    std::int32_t seed = 0;
    std::string storedPassword; // code-page bytes, enciphered when the file is
    bool encrypted = false;
};

bool IsKnownVersion(std::string_view version);

// Reads the header and the enciphered flag. A short file gives what was there
// (empty version text), as a reader past the end sees nothing.
FileHeader DecodeHeader(std::string_view image);

// Inconsistent: the stored password matched, but the data does not decipher
// into anything a writer could have written. The stored check cannot tell
// every wrong password from the right one, so this usually means a wrong
// password (or a badly damaged file). Damaged: the key was proved right (or
// could not be tried), but the file was changed or is damaged.
// SlowKey: the key settings are beyond what is derived without asking.
enum class DecodeStatus { Ok, BadVersion, WrongPassword, Inconsistent, Damaged, SlowKey };

// Allocates at least one collection item's bytes at a time. The decoded
// entries sit one to a node; each node freed as its record moves into the
// store is then exactly the block the next item needs, so a large file's
// entries are not held twice over while the store fills (the texts between
// the nodes would otherwise keep every freed node too small for reuse).
template <class T, std::size_t MinBytes> struct ItemSizedAllocator {
    using value_type = T;
    template <class U> struct rebind { using other = ItemSizedAllocator<U, MinBytes>; };
    ItemSizedAllocator() = default;
    template <class U> ItemSizedAllocator(const ItemSizedAllocator<U, MinBytes>&) noexcept {}
    T* allocate(std::size_t n) {
        return static_cast<T*>(::operator new(std::max(n * sizeof(T), MinBytes)));
    }
    void deallocate(T* p, std::size_t) noexcept { ::operator delete(p); }
    template <class U> bool operator==(const ItemSizedAllocator<U, MinBytes>&) const noexcept {
        return true;
    }
};

using DecodedPasswords =
    std::deque<T_Password, ItemSizedAllocator<T_Password, KeyedCollection<T_Password>::kItemBytes>>;

struct DecodedFile {
    DecodeStatus status = DecodeStatus::Ok;
    FileHeader header;
    std::vector<T_Categ> categories;
    std::vector<T_SCateg> subcategories;
    // A deque, so that whoever moves the entries on can free each one as it
    // goes: a large file is never held twice over.
    DecodedPasswords passwords;
    std::vector<T_Node> nodes;
    std::vector<T_Deleted> deleted; // format 2 only
    bool truncated = false;         // a record was cut off by the end of the data
    bool badValues = false;         // a plain file held values no writer writes (dropped)
    std::size_t dataEnd = 0;        // legacy: where the records read ended
    std::size_t duplicates = 0;     // format 2: entries dropped as they were read
    // Legacy with a trailer: bytes after the trailer that others appended
    // (a line end a transfer tool adds); the trailer covers all before them.
    std::size_t appendedBytes = 0;
    // The file's key, when it holds one (format 2, or a legacy file with a
    // trailer); what it was derived with tells the file's parameters.
    FileKey key;
};

// Which texts of the entries a read keeps: all; all but the passwords and
// the other texts no search reads (hint, spare texts, one-time code, earlier
// passwords, extra fields); or the service name only. Texts left out are not
// deciphered or converted at all (quicker, and no secret is in memory),
// though the file's checks run in full: a store read so is for listing,
// never for saving.
enum class EntryTexts { All, NoSecrets, NamesOnly };

// Whether an entry's text field (by its name in VisitFields, or "Totp",
// "Id") is kept.
bool KeepsEntryText(EntryTexts texts, std::string_view field);

// Decodes a file image with the password the user gave (UTF-8). With
// categoriesOnly the entry and node sections are not read. known: a key
// already held for this file, used in place of a derivation when the file
// names the same salt and parameters.
DecodedFile DecodeFile(std::string_view image, std::string_view password,
                       bool categoriesOnly = false, const FileKey* known = nullptr,
                       EntryTexts texts = EntryTexts::All);

// A text the legacy format cannot hold, told part by part, so that a program
// can say it in its user's language.
struct TextRefusal {
    enum class Record { Category, Subcategory, TreeNode, Entry, FilePassword };
    Record record = Record::Entry;
    std::string name;  // the record's name (none for the file password)
    std::string field; // as the records name it ("service", "pw", ...)
    // The first character it cannot hold; none when the text is too long, or
    // in a secret field, whose characters are never named.
    std::optional<std::uint32_t> character;
    std::size_t length = 0; // the length of a text too long, else 0
};

struct EncodeError {
    int num = 0;
    std::string descr;
    std::optional<TextRefusal> refusal;
};

// What a data file could not hold in one record, the message naming the
// record and field; none when it fits.
std::optional<EncodeError> CheckRecord(const T_Categ& r);
std::optional<EncodeError> CheckRecord(const T_SCateg& r);
std::optional<EncodeError> CheckRecord(const T_Password& r);

struct StoreContents {
    const KeyedCollection<T_Categ>& categories;
    const KeyedCollection<T_SCateg>& subcategories;
    const KeyedCollection<T_Password>& passwords;
    const KeyedCollection<T_Node>& nodes;
    const std::vector<T_Deleted>* deleted = nullptr; // written by format 2 only
};

// Checks every text, date and count, then writes version 1.03 enciphered
// under a fresh seed. Nothing is produced when a check fails.
struct EncodedFile {
    std::string image;
    std::int32_t seed = 0;
};
std::optional<EncodeError> EncodeFile(const StoreContents& contents, std::string_view password,
                                      EncodedFile& out);

} // namespace ardeko
