// What both formats of the data file share: the version text every reader
// looks for first, the decoded records, what a read keeps and what a write
// refuses; and the choice of format by the version text.
#pragma once

#include "store/crypto/kdf.h"
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

// The version text with its length: all a reader needs to tell a data file
// from anything else, and which format it is.
inline constexpr std::size_t kVersionBytes = 2 + 20;

// The version text at the start of image; empty when it is cut short.
std::string VersionText(std::string_view image);
// Whether the version text is one of a format this library reads.
bool IsKnownVersion(std::string_view version);

struct FileHeader {
    std::string version; // as read (code-page bytes; the known versions are ASCII)
    std::int32_t seed = 0;
    std::string storedPassword; // code-page bytes, enciphered when the file is
    bool encrypted = false;
};

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
    std::vector<T_Deleted> deleted;   // format 2 only
    std::vector<T_BrowserLink> links; // format 2 only
    std::string fileId;               // format 2 only; "" when the file has none yet
    bool truncated = false;           // a record was cut off by the end of the data
    bool badValues = false;           // a plain file held values no writer writes (dropped)
    std::size_t dataEnd = 0;          // legacy: where the records read ended
    std::size_t duplicates = 0;       // format 2: entries dropped as they were read
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
// never for saving. NamesAndPlaces keeps what NamesOnly keeps, and of the
// numbers, dates and flags only where an entry is filed: a reader whose
// key a trailer or format 2 proved may leave the rest unread (zero).
enum class EntryTexts { All, NoSecrets, NamesOnly, NamesAndPlaces };

// Whether an entry's text field is kept.
bool KeepsEntryText(EntryTexts texts, Field field);

// What a reader does before deriving a key with a header's settings: go on
// (none), or stop with Damaged (settings no writer ever used) or SlowKey. A
// key derived ahead for these settings and salt (known) lets it go on.
std::optional<DecodeStatus> KdfRefusal(const KdfParams& p, const Salt& salt, const FileKey* known);

// Decodes a file image of either format with the password the user gave (UTF-8). With
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
    std::string name; // the record's name (none for the file password)
    Field field = Field::Other;
    std::string fieldName; // as VisitFields names it: shown where no caption fits
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

struct StoreContents {
    const KeyedCollection<T_Categ>& categories;
    const KeyedCollection<T_SCateg>& subcategories;
    const KeyedCollection<T_Password>& passwords;
    const KeyedCollection<T_Node>& nodes;
    const std::vector<T_Deleted>* deleted = nullptr;   // written by format 2 only
    const std::vector<T_BrowserLink>* links = nullptr; // written by format 2 only
    const T_FileIdentity* identity = nullptr;          // written by format 2 only, when set
};

} // namespace ardeko
