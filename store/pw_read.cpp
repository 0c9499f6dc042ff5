// Reading another data file whole and decoding it, with the failures as the
// store reports them. Shared by loading and importing.
#include "store/io/file_io.h"
#include "store/legacy/legacy_file.h"
#include "store/pw.h"
#include "store/slow_key.h"

#include <cmath>

#include <cerrno>

namespace ardeko {

bool clsPW::OpenDataFile(const std::string& name, InputFile& file) {
    if (auto err = file.Open(name)) {
        if (err->sysErr == ENOENT || err->sysErr == ENOTDIR)
            return Fail(StoreError::NotFound, "File " + name + " not Found!");
        return Fail(err->num, err->descr);
    }
    return true;
}

bool clsPW::ReadDataFile(const std::string& name, std::string_view pw, bool categoriesOnly,
                         DecodedFile& out, const FileKey* known, EntryTexts texts) {
    slowKdf_.reset();
    InputFile file;
    if (!OpenDataFile(name, file)) return false;
    // The version text first, so that a large file of another kind is not
    // read whole only to be refused.
    std::string image;
    if (auto err = file.Read(kVersionBytes, image)) return Fail(err->num, err->descr);
    if (!IsKnownVersion(VersionText(image)))
        return Fail(StoreError::BadFile, "File " + name + ": Invalid File Version!");
    if (file.Size() > kMaxFileSize)
        return Fail(StoreError::TooLarge, "File " + name + " is larger than any data file can be!");
    image.reserve(static_cast<std::size_t>(file.Size()));
    if (auto err = file.Read(static_cast<std::size_t>(file.Size()) - image.size(), image))
        return Fail(err->num, err->descr);
    out = DecodeFile(image, pw, categoriesOnly, known, texts);
    if (out.status == DecodeStatus::SlowKey) return FailSlowKdf(name, image);
    if (out.status == DecodeStatus::BadVersion)
        return Fail(StoreError::BadFile, "File " + name + ": Invalid File Version!");
    // A key check that fails cannot tell a wrong password from a damaged
    // header: a user sure of the password is pointed to the copies.
    if (out.status == DecodeStatus::WrongPassword || out.status == DecodeStatus::Inconsistent)
        return Fail(StoreError::BadFile,
                    "The password for file " + name +
                        " is wrong, or the file is damaged! If the password is "
                        "right, its backup copies may still be whole: " +
                        BackupPathFor(name, false) + " and the dated copies in " + backupFolder_ +
                        ".");
    if (out.status == DecodeStatus::Damaged)
        return Fail(StoreError::ChangedFile,
                    "File " + name +
                        " was changed or is damaged and cannot be read; its "
                        "backup copies (.BCK) may still be whole.");
    return true;
}

bool clsPW::FailSlowKdf(const std::string& name, std::string_view image) {
    const auto kdf = FileKdfOf(image);
    slowKdf_ = kdf ? kdf->params : KdfParams{};
    return Fail(StoreError::SlowKdf,
                "File " + name + ": its key settings (" + std::to_string(slowKdf_->passes) +
                    " passes, " + std::to_string(slowKdf_->memoryKiB / 1024) +
                    " MiB) are beyond what is opened without asking; opening it "
                    "takes about " +
                    std::to_string(std::lround(EstimateKdfSeconds(*slowKdf_))) + " seconds here.");
}

} // namespace ardeko
