// Reading another data file whole and decoding it, with the failures as the
// store reports them. Shared by loading and importing.
#include "store/datafile.h"
#include "store/file_io.h"
#include "store/pw.h"

namespace ardeko {

bool clsPW::ReadDataFile(const std::string& name, const std::string& pw, bool categoriesOnly,
                         DecodedFile& out) {
    if (!FileExist(name)) return Fail(kErrNotFound, "File " + name + " not Found!");
    std::string image;
    if (auto err = ReadWholeFile(name, image)) return Fail(err->num, err->descr);
    out = DecodeFile(image, pw, categoriesOnly);
    if (out.status == DecodeStatus::BadVersion)
        return Fail(kErrBadFile, "File " + name + ": Invalid File Version!");
    if (out.status == DecodeStatus::WrongPassword)
        return Fail(kErrBadFile, "The password for file " + name + " is wrong!");
    if (out.status == DecodeStatus::Inconsistent)
        return Fail(kErrBadFile,
                    "The password for file " + name + " is wrong, or the file is damaged!");
    return true;
}

} // namespace ardeko
