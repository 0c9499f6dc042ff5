// clsPW: one open data file held in memory (records, file name, file
// password, unsaved-changes flag) and every operation on it. Failures are
// results plus ErrNum/ErrDescr; nothing is shown and nothing is thrown.
#pragma once

#include "store/codec.h"
#include "store/crypto/kdf.h"
#include "store/errors.h"
#include "store/keyed_collection.h"
#include "store/list_control.h"
#include "store/merge/merge.h"
#include "store/records.h"
#include "store/vbdate.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ardeko {

struct DecodedFile;
class InputFile;

inline constexpr const char* kNewFileName = "<New QVS File>";
inline constexpr int kDefaultHistoryLimit = 10;
inline constexpr int kMaxHistoryLimit = 50;

// Legacy: the 1.0x format other programs read (our writer adds a trailer
// they ignore). Two: the authenticated format, the default for new files.
enum class FileFormat { Legacy, Two };

using CategoryCollection = KeyedCollection<T_Categ>;
using SubCategoryCollection = KeyedCollection<T_SCateg>;
using PasswordCollection = KeyedCollection<T_Password>;
using NodeCollection = KeyedCollection<T_Node>;

CategoryCollection MakeCategoryCollection();
SubCategoryCollection MakeSubCategoryCollection();
PasswordCollection MakePasswordCollection();
NodeCollection MakeNodeCollection();

// The subcategory key: category code, "!", name (3!Banks).
std::string SubCategoryKey(std::int16_t codcat, const std::string& name);

class clsPW {
public:
    clsPW();
    // Wipes the file password and the entries' texts.
    ~clsPW();
    clsPW(const clsPW&) = default;
    clsPW(clsPW&&) = default;
    clsPW& operator=(const clsPW&) = default;
    clsPW& operator=(clsPW&&) = default;

    bool EncryptFile() const { return encryptFile_; }
    void SetEncryptFile(bool v) { encryptFile_ = v; }
    const std::string& ErrDescr() const { return errDescr_; }
    std::int32_t ErrNum() const { return errNum_; }
    // After a failure for a text the file's format cannot hold: which text,
    // for a program that words ErrDescr in its user's language.
    const std::optional<TextRefusal>& Refusal() const { return refusal_; }
    const std::string& Filename() const { return filename_; }
    void SetFilename(std::string name) { filename_ = std::move(name); }
    bool NotSaved() const { return notSaved_; }

    const CategoryCollection& Category() const { return category_; }
    const SubCategoryCollection& SubCategory() const { return subCategory_; }
    const PasswordCollection& Password() const { return password_; }
    const NodeCollection& NodeStates() const { return nodeStates_; }
    void SetCategory(CategoryCollection c) { category_ = std::move(c); }
    void SetSubCategory(SubCategoryCollection c) { subCategory_ = std::move(c); }
    void SetPassword(PasswordCollection c) { password_ = std::move(c); }

    // --- Data file ---
    bool FileExist(const std::string& strName) const;
    void NewFile();
    bool LoadFile(const std::string& strName, std::string_view strPw = {},
                  std::int16_t defkval = 0);
    // LoadFile keeping only some texts of the entries (EntryTexts), the
    // others never deciphered: quicker for a listing, and no secret is held.
    // The file's checks (trailer, authentication) run as in LoadFile. Such a
    // store refuses to be saved or to take part in a merge (50080) until a
    // file is loaded in full or a new one begun.
    bool LoadFileForListing(const std::string& strName, std::string_view strPw, EntryTexts texts);
    bool ListingOnly() const { return loadedTexts_ != EntryTexts::All; }
    // Loads another version of holder's file (a copy a sync tool left, the
    // file as another program saved it) with what holder holds: its key,
    // when the file was saved under it, else its password if it keeps that.
    // Nobody's program keeps a password of its own for this.
    bool LoadFileAs(const std::string& strName, const clsPW& holder, std::int16_t defkval = 0);
    // Whether strName opens without a password (true too when it cannot be
    // read: loading it then says why). The key a format-2 file gave for ""
    // serves the LoadFile that follows, so opening derives one key.
    bool TestForPW(const std::string& strName);
    bool SaveFile(const std::string& strName = "", bool backup = true, bool backhist = false);
    void SetFilePW(std::string_view x);
    // Whether x is the file password. For a format-2 file, whose password is
    // not held once its key is, this costs a key derivation (except for "").
    bool CheckFilePW(std::string_view x) const;
    // Whether the password itself is held: a legacy file's cipher needs it,
    // so saving a file in the legacy format without it fails (give it again
    // with SetFilePW).
    bool HoldsFilePassword() const { return passwordHeld_; }
    // Whether the open file was loaded with a password it cannot check: a
    // legacy file another program wrote (no trailer), which a mistyped
    // password may open with garbled texts. Saving it (which gives it a
    // trailer, or converts it) is refused (50020) until ConfirmFilePW.
    bool PasswordUnchecked() const { return passwordUnchecked_; }
    // The password given a second time: true when it is the one the file
    // was opened with (the file may then be saved); else 50021 is recorded.
    bool ConfirmFilePW(std::string_view again);
    // The file name without folder and extension; none when the name has no
    // extension (invalid call).
    std::optional<std::string> RootName() const;
    const std::string& FileVersion() const { return fileVersion_; }

    // --- Format and key ---
    // The format the next save writes: a new file's is Two, a loaded file's
    // its own, until changed here (Save as, conversion).
    FileFormat Format() const { return format_; }
    void SetFormat(FileFormat f) { format_ = f; }
    // The key derivation's parameters of the file's key (those the next key
    // will get when none is held yet).
    KdfParams KdfSettings() const;
    // Derives a new key with stronger parameters (at least kKdfFloor) under
    // a new salt from password, which must be the file password (50001
    // otherwise); the next save writes it. Records its failure.
    bool RaiseKdf(const KdfParams& p, const std::string& password);
    // Lets LoadFile use other's key instead of deriving one, for a file
    // saved under it (same salt and parameters): following another
    // program's saves costs no derivation.
    bool AdoptKey(const clsPW& other);
    // The same with a key derived ahead (DeriveKeyOfFile), which also lets
    // the load open a file whose key settings need the user's consent.
    void AdoptKey(FileKey&& key) { adoptedKey_ = std::move(key); }
    // After a load refused with StoreError::SlowKdf: the file's key settings.
    const std::optional<KdfParams>& SlowKdfSettings() const { return slowKdf_; }

    // What names the file whatever its path or password (32 hex digits): a
    // new file gets one, a format-2 file without one (converted, or saved by
    // an older writer) at its next save; kept from save to save and through
    // merges. "" for a file in the legacy format, which cannot hold one.
    const std::string& FileId() const;
    // The identifier a save will write, made now when a format-2 store has
    // none yet (it is then kept by the next save); "" for the legacy format.
    const std::string& EnsureFileId();

    // Seed and version text of the file last loaded or saved.
    std::int32_t FileSeed() const { return fileSeed_; }
    const std::string& LoadedVersion() const { return loadedVersion_; }

    // --- Insert helpers: one record in name order, keyed as the collection
    // requires. Also used by tools that build a store record by record.
    bool InsertCategory(const T_Categ& r);
    bool InsertSubCategory(const T_SCateg& r);
    bool InsertPassword(const T_Password& r);
    bool AppendNode(const T_Node& r);
    std::optional<std::int16_t> NextCatCode() const;
    std::optional<std::int16_t> NextSubCatCode() const;

    // ===== Store operations: categories, entries, counters, import =====
    // Unless noted: true on success, false (nothing recorded) on failure;
    // every successful change sets NotSaved. Failures midway keep the steps
    // already made. Some operations append at the end instead of inserting in
    // name order; the next load restores the order.

    // --- Categories and subcategories ---
    bool CatAdd(const std::string& x); // records its failure
    // move: entries go to no category, else they are deleted.
    bool CatDel(const std::string& Cat, bool move);
    bool CatRen(const std::string& vecchia, const std::string& nuova);
    bool SubCatAdd(std::int16_t ct, const std::string& x); // records its failure
    // move: entries stay in category ct without subcategory, else deleted.
    bool SubCatDel(std::int16_t ct, const std::string& scat, bool move);
    // move: entries go to category nct without subcategory, else deleted.
    bool SubCatMove(std::int16_t ct, std::int16_t nct, const std::string& scat, bool move);
    bool SubCatRen(std::int16_t ct, const std::string& vecchia, const std::string& nuova);
    // Moves subcategory sc with its entries from category vecchia to nuova.
    bool CatChange(const std::string& sc, std::int16_t vecchia, std::int16_t nuova);
    // Turns category catsrc into a subcategory of NewCat. Its own subcategories
    // stay behind under a code no category has any more.
    bool CambiaCatInSub(const std::string& catsrc, std::int16_t NewCat);
    std::string CatValue(std::int16_t Cat) const;     // "" when no such code
    std::string SubCatValue(std::int16_t scat) const; // "" when no such code
    bool CatExist(const std::string& S) const;
    bool SubCatExist(std::int16_t Cat, const std::string& S) const;
    // Entries of a category ("" = no category); none for an unknown name.
    std::optional<std::int32_t> PwInCat(const std::string& Cat) const;
    // Entries of category Cat in subcategory scat ("" = without subcategory);
    // none for an unknown subcategory.
    std::optional<std::int32_t> PwInSubCat(std::int16_t Cat, const std::string& scat) const;
    std::int32_t SubCatNumber(std::int16_t x) const;
    std::int32_t CatNumber(const std::string& x = "") const; // x is not used
    // Category code of a subcategory key (code "!" name); 0 when none.
    std::int16_t FindSubCatInCat(const std::string& x) const;
    // Fill a list with names (item data = code), def first with data 0 when
    // given; the first item ends up selected.
    void ControlCat(IListControl& cntrl, const std::string& def = "") const;
    void ControlSCat(IListControl& cntrl, std::int16_t Codcat, const std::string& def = "") const;
    // Remembered open state of a tree node; open when none is remembered.
    bool NodeStat(const std::string& Cat) const;
    void ChangeNodeStatus(const std::string& Cat, bool stat); // leaves NotSaved alone

    // --- Entries ---
    bool PWAdd(const T_Password& pw); // records its failure
    // Adds many entries in name order, all or none (a duplicate name refuses
    // them all, recorded as PWAdd records it); one pass over the list however
    // many there are.
    bool PWAddAll(std::vector<T_Password> entries);
    // Replaces entry oldserv by p; on failure the store is as before. Cat and
    // scat are not used.
    // When p changes a non-empty password of a format-2 file, the old one goes
    // to the front of p's History with Now(), cut to HistoryLimit (the legacy
    // format holds no history).
    bool PWEdit(const T_Password& p, const std::string& oldserv, std::int16_t Cat = 0,
                std::int16_t scat = 0);
    // Earlier passwords kept per entry (0..50, default 10; clamped).
    void SetHistoryLimit(int n);
    int HistoryLimit() const { return historyLimit_; }
    bool PWDel(const std::string& PWserv);
    bool PWRen(const std::string& oldPW, const std::string& newPW);
    // -1 keeps a code. The entry moves to the end of the collection.
    bool PWChangeCat(const std::string& PWserv, std::int16_t NewCat = -1,
                     std::int16_t NewSCat = -1);
    // PWChangeCat for each of services, in one pass over the entries (a drop
    // of many rows); names not found are skipped. The number re-filed.
    std::size_t PWChangeCatAll(const std::vector<std::string>& services, std::int16_t NewCat,
                               std::int16_t NewSCat);
    // One field as text; "" with ErrDescr "Service not Found!" for a missing entry.
    std::string GetText(E_GetPw tipo, const std::string& strServ);
    bool AddFavourite(const std::string& S);
    bool DelFavourite(const std::string& S);

    // --- Counters (dates against Today()) ---
    std::int32_t FavouriteNumber() const;
    std::int32_t InExpirationNumber() const;
    std::int32_t ExpiredNumber() const;
    std::int32_t InChangeNumber() const;
    std::int32_t ChangedNumber() const;
    // Where one entry stands against its expiry and change dates today: the
    // date has come (Past), or is ahead within the warning days and the
    // entry asks to be warned ahead (Near). The one rule of every counter,
    // list and colour that tells which entries are due.
    enum class Due { No, Near, Past };
    struct DueStatus {
        Due expiry = Due::No;
        Due change = Due::No;
    };
    DueStatus DueOf(const T_Password& p) const;
    // The same on a given day.
    static DueStatus DueOn(const T_Password& p, double today);
    // The dates' part of that rule, for callers that hold a date of their
    // own: a date of today or earlier has come (Past); one within warnDays
    // after today is Near.
    static Due DueState(bool inForce, double date, std::int16_t warnDays, double today);

    // --- What the open file can hold ---
    // Why the file could not store the record (a character outside its code
    // page, a text too long, a date out of range), in words naming the record
    // and field; none when it can. Whoever brings in text from elsewhere asks
    // here, so the rule follows the file's format.
    std::optional<std::string> Unstorable(const T_Password& r) const;
    std::optional<std::string> Unstorable(const T_Categ& r) const;
    std::optional<std::string> Unstorable(const T_SCateg& r) const;

    // --- Import ---
    // Adds the categories and subcategories of another data file by name.
    // True when all were added. Afterwards ErrNum is 0 and ErrDescr the report
    // of names not added ("" when none), or ErrNum/ErrDescr tell why the file
    // could not be read.
    bool ImportFile(const std::string& strName, std::string_view strPw = {});
    // --- Merge ---
    // Replaces the records by the merge of base (the version this store and
    // theirs both started from; nullptr merges two-way, which deletes
    // nothing), this store and theirs, and marks the store unsaved. File
    // name, password and settings stay. Fails (nothing changes) only when
    // the codes run out, or a version was read for a listing (50080).
    // Without identity, entries pair by identifier when every entry of the
    // versions given has one, else by name.
    bool Merge(const clsPW* base, const clsPW& theirs, MergeSummary& summary,
               const MergeIdentity* identity = nullptr);

    // --- Entry identifiers and deletion marks (kept by format 2) ---
    // Entries deleted here, by identifier, for merges to tell a deletion
    // from an entry this version never had.
    const std::vector<T_Deleted>& DeletionMarks() const { return deleted_; }
    // When this store recorded deleting the entry with identifier id.
    std::optional<VbDate> DeletedAt(const std::string& id) const;
    // Whether every entry has an identifier.
    bool AllEntriesIdentified() const;
    // Whether every category and subcategory has one.
    bool AllCategoriesIdentified() const;
    // --- Browser connections and site permissions (format 2 only) ---
    // The connections in use, in the order they were made.
    std::vector<T_BrowserLink> BrowserLinks() const;
    // The connection in use with this name and identification key; none
    // for a removed one or a key that differs.
    const T_BrowserLink* FindBrowserLink(std::string_view name, std::string_view key) const;
    // A new connection, dated now. Records its failure: a legacy-format
    // file (UnstorableText, it cannot hold one), an empty name or key
    // (InvalidCall), a name in use or a key ever used before (DuplicateKey).
    bool AddBrowserLink(const std::string& name, const std::string& key);
    // Removes the connection in use with this key, which is never accepted
    // again; false when there is none. (By key: after a merge two
    // connections made on two machines may share a name.)
    bool RemoveBrowserLink(std::string_view key);
    // Dates the connection's last use now. Leaves NotSaved alone: a use is
    // no change the user has to save; the next save keeps it.
    void TouchBrowserLink(std::string_view name, std::string_view key);
    // What the user decided for the entry on a site (the page's host, as
    // SiteAddress gives it): true allowed, false denied, none not asked yet
    // (or no such entry).
    std::optional<bool> SitePermission(const std::string& service, std::string_view host) const;
    // Remembers (or with none, forgets) that decision; does not date the
    // entry as edited. Records its failure: no such entry (InvalidCall), a
    // legacy-format file (UnstorableText), an empty host (InvalidCall).
    bool SetSitePermission(const std::string& service, std::string_view host,
                           std::optional<bool> allowed);
    // ===== End of store operations =====

    // --- Sealed while the program is locked ---
    // Seals the records (unsaved changes included) and extras (a program's
    // texts, such as an open editor's input) under a key only the file
    // password gives again: the file's key, or one derived now from the
    // password (a legacy file, a password not yet saved). Then the records,
    // the key and the password are wiped. False (nothing sealed) when no key
    // could be had. A sealed store refuses to save. beside: other stores the
    // program keeps of this file (the version merges start from), sealed
    // under the same key.
    bool Seal(std::vector<std::string>& extras, const std::vector<clsPW*>& beside = {});
    bool Sealed() const { return sealed_.has_value(); }
    // Opens the seal (and those of beside) when password is the file
    // password, giving back the records, key, password and extras as they
    // were; else 50001 is recorded and everything stays sealed.
    bool Unseal(std::string_view password, std::vector<std::string>& extras,
                const std::vector<clsPW*>& beside = {});

    // --- Environment ---
    // "Now" for the whole store (backup names, expiry counters); tests fix it.
    void SetClock(Clock clock) { clock_ = std::move(clock); }
    double Now() const { return clock_(); }
    double Today() const { return VbDatePart(Now()); }
    // Folder of the time-stamped backup copies.
    void SetBackupFolder(std::string folder) { backupFolder_ = std::move(folder); }
    const std::string& BackupFolder() const { return backupFolder_; }
    std::string BackupPathFor(const std::string& name, bool backhist) const;

private:
    bool Fail(std::int32_t num, std::string descr);
    bool Fail(StoreError e, std::string descr) { return Fail(Code(e), std::move(descr)); }
    bool FailListingOnly();
    bool HoldsNamesOnly() const;
    bool Load(const std::string& strName, std::string_view strPw, std::int16_t defkval,
              EntryTexts texts);
    void Succeed();
    void ResetCollections();
    void FillFrom(DecodedFile& f, std::int16_t defkval, std::size_t& skipped);
    // Before a format-2 save: identifiers for entries, categories and
    // subcategories without one, and deletion marks past their time dropped.
    void PrepareIdentities();
    // Identifiers for the categories and subcategories without one, derived
    // from their names (see DerivedCategoryId).
    void IdentifyCategories();
    void MarkDeleted(const T_Password& entry);
    // The marks of both versions of a merge, without those of entries the
    // merged result still has.
    void MergeDeletionMarks(const clsPW& theirs);
    // Both versions' connections, paired by key: a removal on either side
    // stands, the name of the one used last is kept.
    void MergeBrowserLinks(const clsPW& theirs);
    // Keeps this file's identifier; takes theirs when it has none.
    void MergeFileId(const clsPW& theirs);
    bool HasBrowserLinks() const;
    bool FailLinksNeedFormat2();
    bool SealUnder(const FileKey& key, std::vector<std::string>& extras);
    bool OpenSeal(const FileKey& key, std::string_view password, std::vector<std::string>& extras);
    template <class R>
    bool InsertRecord(KeyedCollection<R>& into, const R& r, std::string key,
                      const char* duplicateText);

    // --- Helpers of the store operations ---
    // Reads and decodes a data file, recording the error when it cannot be
    // used. A 50001 error means the header was read (out.header is valid).
    bool ReadDataFile(const std::string& name, std::string_view pw, bool categoriesOnly,
                      DecodedFile& out, const FileKey* known = nullptr,
                      EntryTexts texts = EntryTexts::All);
    // Records StoreError::SlowKdf for the file in image, and its settings.
    bool FailSlowKdf(const std::string& name, std::string_view image);
    // The key the next save needs, derived from the file password when none
    // is held (a new password, or a legacy file without a trailer).
    bool EnsureKey();
    bool EncodeImage(std::string& image, std::int32_t& seed);
    // Opens a data file for reading; 50003 only when it does not exist.
    bool OpenDataFile(const std::string& name, InputFile& file);
    bool SetFavourite(const std::string& S, bool on);
    // Deletes subcategory ct!scat after re-filing its entries to category
    // moveTo without subcategory (move) or deleting them. sameCategoryOnly:
    // only entries of category ct count as its entries.
    bool DropSubCategory(std::int16_t ct, const std::string& scat, bool move, std::int16_t moveTo,
                         bool sameCategoryOnly);
    // Re-files every matching entry to cat/scat (-1 keeps a code) at the end
    // of the collection (move), or deletes them.
    void MoveOrDeleteEntries(const std::function<bool(const T_Password&)>& match, bool move,
                             std::int16_t cat, std::int16_t scat);
    // Marks a successful change unsaved; passes the result on.
    bool Changed(bool ok) {
        notSaved_ = notSaved_ || ok;
        return ok;
    }

    CategoryCollection category_;
    SubCategoryCollection subCategory_;
    PasswordCollection password_;
    NodeCollection nodeStates_;
    std::vector<T_Deleted> deleted_;
    std::vector<T_BrowserLink> links_; // those removed too, as marks
    T_FileIdentity identity_;
    std::string filename_;
    bool notSaved_ = false;
    std::int32_t errNum_ = 0;
    std::string errDescr_;
    std::optional<TextRefusal> refusal_;
    bool encryptFile_ = true;
    std::string filePassword_;
    bool passwordHeld_ = true;  // filePassword_ is the password, not wiped
    bool emptyPassword_ = true; // the file password is ""
    bool passwordUnchecked_ = false;
    FileFormat format_ = FileFormat::Two;
    FileKey key_;        // the file's key while it is open
    FileKey adoptedKey_; // see AdoptKey
    // The settings of a file refused for them (see SlowKdfSettings).
    std::optional<KdfParams> slowKdf_;
    KdfParams kdfParams_ = kKdfFloor;
    bool kdfChosen_ = false; // kdfParams_ set by RaiseKdf, not defaulted
    std::string fileVersion_;
    std::int32_t fileSeed_ = 0;
    std::string loadedVersion_;
    Clock clock_;
    std::string backupFolder_;
    int historyLimit_ = kDefaultHistoryLimit;
    struct SealedState {
        KdfParams params;
        Salt salt{};
        std::string records, extras; // nonce, then the sealed bytes
        bool keyIsFileKey = false;   // the key is the file's, given back on unsealing
        bool passwordHeld = false;   // the password is given back on unsealing
    };
    std::optional<SealedState> sealed_;
    EntryTexts loadedTexts_ = EntryTexts::All; // less than All: a listing, never saved
};

} // namespace ardeko
