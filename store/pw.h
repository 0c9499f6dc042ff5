// clsPW: one open data file held in memory (records, file name, file
// password, unsaved-changes flag) and every operation on it. Failures are
// results plus ErrNum/ErrDescr; nothing is shown and nothing is thrown.
#pragma once

#include "keyed_collection.h"
#include "records.h"
#include "vbdate.h"

#include <cstdint>
#include <optional>
#include <string>

namespace ardeko {

struct DecodedFile;

inline constexpr const char* kNewFileName = "<New QVS File>";

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

    bool EncryptFile() const { return encryptFile_; }
    void SetEncryptFile(bool v) { encryptFile_ = v; }
    const std::string& ErrDescr() const { return errDescr_; }
    std::int32_t ErrNum() const { return errNum_; }
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
    bool LoadFile(const std::string& strName, const std::string& strPw = "", std::int16_t defkval = 0);
    bool TestForPW(const std::string& strName);
    bool SaveFile(const std::string& strName = "", bool backup = true, bool backhist = false);
    void SetFilePW(const std::string& x);
    bool CheckFilePW(const std::string& x) const { return x == filePassword_; }
    // The file name without folder and extension; none when the name has no
    // extension (invalid call).
    std::optional<std::string> RootName() const;
    const std::string& FileVersion() const { return fileVersion_; }

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
    void Succeed();
    void ResetCollections();
    void FillFrom(DecodedFile& f, std::int16_t defkval, std::size_t& skipped);
    template <class R> bool InsertRecord(KeyedCollection<R>& into, const R& r, std::string key,
                                         const char* duplicateText);

    CategoryCollection category_;
    SubCategoryCollection subCategory_;
    PasswordCollection password_;
    NodeCollection nodeStates_;
    std::string filename_;
    bool notSaved_ = false;
    std::int32_t errNum_ = 0;
    std::string errDescr_;
    bool encryptFile_ = true;
    std::string filePassword_;
    std::string fileVersion_;
    std::int32_t fileSeed_ = 0;
    std::string loadedVersion_;
    Clock clock_;
    std::string backupFolder_;
};

} // namespace ardeko
