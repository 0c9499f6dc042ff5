#include "store/pw.h"

#include "store/entry_id.h"
#include "store/entry_pack.h"
#include "store/format2/format2.h"
#include "store/io/file_io.h"
#include "store/legacy/legacy_file.h"
#include "store/legacy/trailer.h"

#include <algorithm>
#include <cstdio>
#include <type_traits>

namespace ardeko {

namespace {

// A format-2 file needs only its key once that is made: the password goes.
void ForgetPasswordOnceKeyed(FileFormat format, const FileKey& key, std::string& password,
                             bool& held) {
    if (format != FileFormat::Two || !key.Valid()) return;
    WipeString(password);
    held = false;
}

template <class R> void WipeTexts(const KeyedCollection<R>& records) {
    // The records are the store's own (never const objects): only the
    // collection hands them out read-only.
    for (const R& r : records) {
        R& own = const_cast<R&>(r);
        if constexpr (std::is_same_v<R, T_Password>)
            WipeEntry(own);
        else
            VisitFields(own, [](const char*, auto& f) {
                if constexpr (std::is_same_v<std::decay_t<decltype(f)>, std::string>) WipeString(f);
            });
    }
}

std::string TwoDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v % 100);
    return buf;
}
} // namespace

CategoryCollection MakeCategoryCollection() {
    return {};
}
SubCategoryCollection MakeSubCategoryCollection() {
    return {};
}
PasswordCollection MakePasswordCollection() {
    return {};
}
NodeCollection MakeNodeCollection() {
    return {};
}

std::string SubCategoryKey(std::int16_t codcat, const std::string& name) {
    return std::to_string(codcat) + "!" + name;
}

clsPW::clsPW()
    : fileVersion_(kVersion103), clock_(&LocalNow),
      backupFolder_(UserDataFolder() + "/Tarnwick/QVS/Backup") {}

bool clsPW::Fail(std::int32_t num, std::string descr) {
    errNum_ = num;
    errDescr_ = std::move(descr);
    refusal_.reset();
    return false;
}

void clsPW::Succeed() {
    errNum_ = 0;
    errDescr_.clear();
    refusal_.reset();
}

clsPW::~clsPW() {
    WipeString(filePassword_);
    // A listing of names holds nothing secret: wiping its every empty field
    // would cost a names-only listing more than reading them did.
    if (!HoldsNamesOnly()) WipeTexts(password_);
}

bool clsPW::HoldsNamesOnly() const {
    return loadedTexts_ == EntryTexts::NamesOnly || loadedTexts_ == EntryTexts::NamesAndPlaces;
}

void clsPW::ResetCollections() {
    WipeTexts(password_);
    category_.Clear();
    subCategory_.Clear();
    password_.Clear();
    nodeStates_.Clear();
    deleted_.clear();
    links_.clear();
}

template <class R>
bool clsPW::InsertRecord(KeyedCollection<R>& into, const R& r, std::string key,
                         const char* duplicateText) {
    const int err = into.InsertByName(std::move(key), r);
    if (err == 0) return true;
    return Fail(err, err == StoreError::DuplicateKey ? duplicateText
                                                     : "Invalid procedure call or argument");
}

bool clsPW::InsertCategory(const T_Categ& r) {
    return InsertRecord(category_, r, r.DescrCat, "You cannot duplicate Category!");
}

bool clsPW::InsertSubCategory(const T_SCateg& r) {
    return InsertRecord(subCategory_, r, SubCategoryKey(r.Codcat, r.DescrSCat),
                        "You cannot duplicate SubCategory!");
}

bool clsPW::InsertPassword(const T_Password& r) {
    return InsertRecord(password_, r, r.service, "You cannot duplicate Service!");
}

bool clsPW::AppendNode(const T_Node& r) {
    return nodeStates_.Append(r.DescrCat, r) == 0;
}

namespace {
// The largest code plus one (1 when empty); none when 32767 is taken.
template <class R>
std::optional<std::int16_t> NextCode(const KeyedCollection<R>& records, std::int16_t R::*code) {
    std::int16_t top = 0;
    for (const R& r : records)
        top = std::max(top, r.*code);
    if (top == 32767) return std::nullopt;
    return static_cast<std::int16_t>(top + 1);
}
} // namespace

std::optional<std::int16_t> clsPW::NextCatCode() const {
    // Subcategories and entries may still name a category that is gone (left
    // behind by CambiaCatInSub); a new category must not adopt them.
    std::int16_t top = 0;
    for (const auto& r : category_)
        top = std::max(top, r.Codcat);
    for (const auto& r : subCategory_)
        top = std::max(top, r.Codcat);
    for (const auto& r : password_)
        top = std::max(top, r.Codcat);
    if (top == 32767) return std::nullopt;
    return static_cast<std::int16_t>(top + 1);
}

std::optional<std::int16_t> clsPW::NextSubCatCode() const {
    return NextCode(subCategory_, &T_SCateg::CodSCat);
}

bool clsPW::FileExist(const std::string& strName) const {
    return CanOpenForReading(strName);
}

void clsPW::NewFile() {
    ResetCollections();
    encryptFile_ = true;
    loadedTexts_ = EntryTexts::All;
    notSaved_ = false;
    filename_ = kNewFileName;
    WipeString(filePassword_);
    passwordHeld_ = emptyPassword_ = true;
    passwordUnchecked_ = false;
    sealed_.reset();
    format_ = FileFormat::Two;
    identity_.Id = NewEntryId();
    key_.master.Clear();
    kdfChosen_ = false;
}

void clsPW::FillFrom(DecodedFile& f, std::int16_t defkval, std::size_t& skipped) {
    ResetCollections();
    const bool noEmail = f.header.version == kVersion101 || f.header.version == kVersion102;
    const bool noKeys = f.header.version == kVersion101;
    category_.Reserve(f.categories.size());
    subCategory_.Reserve(f.subcategories.size());
    password_.Reserve(f.passwords.size());
    nodeStates_.Reserve(f.nodes.size());
    for (const T_Categ& r : f.categories)
        skipped += category_.InsertByName(r.DescrCat, r) != 0;
    for (const T_SCateg& r : f.subcategories)
        skipped += subCategory_.InsertByName(SubCategoryKey(r.Codcat, r.DescrSCat), r) != 0;
    for (; !f.passwords.empty(); f.passwords.pop_front()) {
        T_Password& r = f.passwords.front();
        r.Dt_Expire = VbDatePart(r.Dt_Expire);
        r.Dt_Change = VbDatePart(r.Dt_Change);
        if (noEmail) r.Email.clear();
        if (noKeys) r.Keyaftbef = defkval;
        std::string key = r.service;
        skipped += password_.InsertByName(std::move(key), std::move(r)) != 0;
    }
    for (const T_Node& r : f.nodes)
        skipped += nodeStates_.Append(r.DescrCat, r) != 0;
    deleted_ = std::move(f.deleted);
    links_ = std::move(f.links);
}

bool clsPW::FailListingOnly() {
    return Fail(StoreError::ListingOnly,
                "File " + filename_ +
                    " was read for a listing, without its passwords and "
                    "notes: it cannot be saved or merged. Open it in full.");
}

bool clsPW::LoadFileForListing(const std::string& strName, std::string_view strPw,
                               EntryTexts texts) {
    return Load(strName, strPw, 0, texts);
}

bool clsPW::LoadFile(const std::string& strName, std::string_view strPw, std::int16_t defkval) {
    return Load(strName, strPw, defkval, EntryTexts::All);
}

bool clsPW::Load(const std::string& strName, std::string_view strPw, std::int16_t defkval,
                 EntryTexts texts) {
    // A file that cannot be read, has an unknown version or another password
    // leaves the store exactly as it was, so nothing open is lost or re-keyed.
    DecodedFile f;
    const FileKey* known = adoptedKey_.Valid() ? &adoptedKey_ : nullptr;
    const bool read = ReadDataFile(strName, strPw, false, f, known, texts);
    adoptedKey_.master.Clear();
    if (!read) {
        if (errNum_ == StoreError::NotFound) {
            ResetCollections();
            filename_ = strName;
        }
        return false;
    }
    encryptFile_ = f.header.encrypted;
    sealed_.reset();
    loadedTexts_ = texts;
    // Assigned over a longer one, the old password's tail would stay behind.
    WipeString(filePassword_);
    filePassword_ = strPw;
    passwordHeld_ = true;
    emptyPassword_ = strPw.empty();
    filename_ = strName;
    fileSeed_ = f.header.seed;
    loadedVersion_ = f.header.version;
    format_ = f.header.version == kVersion200 ? FileFormat::Two : FileFormat::Legacy;
    key_ = std::move(f.key);
    // Only a keyed file, or a plain one (whose password is stored as it
    // is), tells a wrong password for certain.
    passwordUnchecked_ = !key_.Valid() && f.header.encrypted && !strPw.empty();
    kdfChosen_ = key_.Valid();
    if (kdfChosen_) kdfParams_ = key_.params;
    ForgetPasswordOnceKeyed(format_, key_, filePassword_, passwordHeld_);
    std::size_t skipped = f.duplicates;
    FillFrom(f, defkval, skipped);
    identity_.Id = std::move(f.fileId);
    // A format-2 file from a writer that knew only entries' identifiers:
    // its categories get theirs now, from the names they were saved under,
    // so that a rename before the next save keeps them.
    if (format_ == FileFormat::Two) IdentifyCategories();
    Succeed();
    // Loaded, with a warning for the programs to show: records were lost on the way.
    if (f.badValues)
        Fail(StoreError::DamagedFile,
             "File " + strName + " is damaged: values that cannot be right were dropped!");
    else if (f.truncated)
        Fail(StoreError::DamagedFile, "File " + strName + " is damaged: its data ends early!");
    else if (skipped > 0)
        Fail(StoreError::DamagedFile, "File " + strName +
                                          " is damaged: " + std::to_string(skipped) +
                                          " records with duplicate names were skipped!");
    else if (f.appendedBytes > 0)
        Fail(StoreError::AppendedBytes,
             "File " + strName + " has " + std::to_string(f.appendedBytes) +
                 " bytes after its end, added since it was saved (by a copy "
                 "or transfer tool, perhaps); they were ignored, and the "
                 "next save leaves them out.");
    else if (key_.Valid() && BelowWriterFloor(key_.params))
        Fail(StoreError::WeakKdf,
             "File " + strName + ": its key is made with weaker settings (" +
                 std::to_string(key_.params.passes) + " passes, " +
                 std::to_string(key_.params.memoryKiB) +
                 " KiB) than a new file gets, so a stolen copy is cracked faster; "
                 "changing the password with stronger settings raises them.");
    return true;
}

bool clsPW::LoadFileAs(const std::string& strName, const clsPW& holder, std::int16_t defkval) {
    AdoptKey(holder);
    const std::string_view password =
        holder.passwordHeld_ ? std::string_view(holder.filePassword_) : std::string_view();
    const bool unchecked = holder.passwordUnchecked_;
    if (!LoadFile(strName, password, defkval)) return false;
    // The holder's password was confirmed, or not: the same one opened this.
    passwordUnchecked_ = passwordUnchecked_ && unchecked;
    // Opened with the holder's key, not a password: whether the file has one
    // is the holder's to say.
    if (!holder.passwordHeld_ && key_.master.Equals(holder.key_.master))
        emptyPassword_ = holder.emptyPassword_;
    return true;
}

bool clsPW::TestForPW(const std::string& strName) {
    InputFile file;
    if (!OpenDataFile(strName, file)) return true;
    // The header is at most two texts of 64 KiB and a few numbers.
    std::string head;
    if (auto err = file.Read(2 * kMaxTextBytes + 16, head)) return !Fail(err->num, err->descr);
    // The key found is kept for the load that follows: one derivation per open.
    if (IsFormat2(head)) return Format2OpensWithoutPassword(head, adoptedKey_);
    const FileHeader h = DecodeHeader(head);
    return !IsKnownVersion(h.version) || h.storedPassword.empty();
}

std::string clsPW::BackupPathFor(const std::string& name, bool backhist) const {
    const auto slash = name.find_last_of('/');
    const auto dot = name.find_last_of('.');
    std::string base = (dot != std::string::npos && (slash == std::string::npos || dot > slash))
                           ? name.substr(0, dot)
                           : name;
    if (backhist) {
        const VbDateTime t = VbDateToParts(Now());
        base = backupFolder_ + "/" + FileNameOf(base) + "_" + TwoDigits(t.day) +
               TwoDigits(t.month) + std::to_string(t.year) + "_" + TwoDigits(t.hour) +
               TwoDigits(t.minute) + TwoDigits(t.second);
    }
    return base + ".BCK";
}

bool clsPW::SaveFile(const std::string& strName, bool backup, bool backhist) {
    const std::string name = strName.empty() ? filename_ : strName;
    // Its passwords and notes were never read: saved, they would be lost.
    if (ListingOnly()) return FailListingOnly();
    // A new store has a caption, not a file name, until it is saved under one.
    if (name.empty() || name == kNewFileName)
        return Fail(StoreError::BadFileName, "The file has no name yet: choose where to save it.");
    // Sealed, the store holds no records: a save would write an empty file.
    if (sealed_)
        return Fail(StoreError::PermissionDenied,
                    "The file is locked: unlock it before it is saved.");
    // A typo may have opened it: saving would seal the garbled texts under
    // the typo for good.
    if (passwordUnchecked_)
        return Fail(StoreError::PasswordUnchecked,
                    "File " + filename_ +
                        " cannot tell a wrong password: give its password again before it is "
                        "saved.");
    std::string image;
    std::int32_t seed = 0;
    if (!EncodeImage(image, seed)) return false;
    auto makeBackup = [&](bool inPlace) {
        if (!backup) return;
        const std::string target = BackupPathFor(name, backhist);
        // A backup that cannot be made does not stop the save.
        if (backhist && MakeFolders(backupFolder_)) return;
        KeepBackupCopy(name, target, !inPlace);
    };
    const auto err = WriteFileAtomically(name, image, makeBackup);
    WipeString(image);
    if (err) return Fail(err->num, err->descr);
    encryptFile_ = true;
    filename_ = name;
    notSaved_ = false;
    fileSeed_ = seed;
    loadedVersion_ = format_ == FileFormat::Two ? kVersion200 : kVersion103;
    Succeed();
    return true;
}

bool clsPW::EnsureKey() {
    if (key_.Valid()) return true;
    const KdfParams params = kdfChosen_ ? kdfParams_ : DefaultKdfParams();
    if (NewFileKey(filePassword_, params, key_)) return true;
    return Fail(StoreError::OutOfMemory,
                "The key of the file could not be made: there is not enough memory.");
}

bool clsPW::EncodeImage(std::string& image, std::int32_t& seed) {
    if (format_ == FileFormat::Two) {
        const StoreContents contents{category_, subCategory_, password_, nodeStates_,
                                     &deleted_, &links_,      &identity_};
        if (!EnsureKey()) return false;
        EnsureFileId();
        PrepareIdentities();
        ForgetPasswordOnceKeyed(format_, key_, filePassword_, passwordHeld_);
        seed = 0;
        if (auto err = EncodeFormat2(contents, key_, image)) return Fail(err->num, err->descr);
        return true;
    }
    if (HasBrowserLinks()) return FailLinksNeedFormat2();
    if (!passwordHeld_)
        return Fail(StoreError::PasswordNeeded,
                    "To save the file in the older format, give its password again.");
    // The legacy checks first: a text it cannot hold costs no derivation.
    const StoreContents contents{category_, subCategory_, password_, nodeStates_};
    EncodedFile encoded;
    if (auto err = EncodeFile(contents, filePassword_, encoded)) {
        Fail(err->num, err->descr);
        refusal_ = std::move(err->refusal);
        return false;
    }
    if (!EnsureKey()) return false;
    if (!AppendTrailer(encoded.image, key_))
        return Fail(StoreError::OutOfMemory,
                    "The file could not be sealed: there is not enough memory.");
    image = std::move(encoded.image);
    seed = encoded.seed;
    return true;
}

void clsPW::SetFilePW(std::string_view x) {
    WipeString(filePassword_);
    filePassword_ = x;
    passwordHeld_ = true;
    emptyPassword_ = x.empty();
    // Whoever sets a password chose it; the texts were read with the old one,
    // which changing it asks for again.
    passwordUnchecked_ = false;
    // A new password gets a new key under a new salt at the next save.
    key_.master.Clear();
    notSaved_ = true;
}

bool clsPW::ConfirmFilePW(std::string_view again) {
    if (!passwordUnchecked_) return true;
    if (!passwordHeld_ || again != filePassword_)
        return Fail(StoreError::PasswordsDiffer,
                    "The two passwords differ: file " + filename_ +
                        " may have been opened with a mistyped password. Nothing was written.");
    passwordUnchecked_ = false;
    Succeed();
    return true;
}

KdfParams clsPW::KdfSettings() const {
    if (key_.Valid()) return key_.params;
    return kdfChosen_ ? kdfParams_ : DefaultKdfParams();
}

bool clsPW::CheckFilePW(std::string_view x) const {
    // Sealed, neither password nor key is held: Unseal tells.
    if (sealed_) return x.empty() && emptyPassword_;
    if (passwordHeld_) return x == filePassword_;
    if (x.empty()) return emptyPassword_;
    FileKey probe;
    return DeriveFileKey(x, key_.params, key_.salt, probe) && probe.master.Equals(key_.master);
}

bool clsPW::RaiseKdf(const KdfParams& p, const std::string& password) {
    if (p.passes < kKdfFloor.passes || p.memoryKiB < kKdfFloor.memoryKiB || !KdfParamsAcceptable(p))
        return Fail(StoreError::InvalidCall, "Invalid procedure call or argument");
    if (!CheckFilePW(password)) return Fail(StoreError::BadFile, "The file password is wrong!");
    FileKey fresh;
    if (!NewFileKey(password, p, fresh))
        return Fail(StoreError::OutOfMemory,
                    "The key of the file could not be made: there is not enough memory.");
    key_ = std::move(fresh);
    kdfParams_ = p;
    kdfChosen_ = true;
    notSaved_ = true;
    Succeed();
    return true;
}

bool clsPW::AdoptKey(const clsPW& other) {
    return adoptedKey_.CopyFrom(other.key_);
}

std::optional<std::string> clsPW::RootName() const {
    const bool blank =
        std::all_of(filename_.begin(), filename_.end(), [](char c) { return c == ' '; });
    if (blank || filename_ == kNewFileName) return filename_;
    const auto slash = filename_.find_last_of('/');
    const auto start = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = filename_.find_last_of('.');
    if (dot == std::string::npos || dot < start) return std::nullopt;
    return filename_.substr(start, dot - start);
}

} // namespace ardeko
