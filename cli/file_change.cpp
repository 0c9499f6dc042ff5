#include "cli/file_change.h"

#include "store/crypto/secret_key.h"
#include "store/legacy/legacy_file.h"

namespace qvs {

std::optional<int> FileChange::Open() {
    std::string password;
    if (auto code = OpenStore(options_, store_, &password)) return code;
    read_ = Stamp::Of(options_.file);
    // The legacy cipher needs the password itself at every save.
    if (store_.Format() == ardeko::FileFormat::Legacy && !store_.HoldsFilePassword())
        store_.SetFilePW(password);
    ardeko::WipeString(password);
    if (store_.ErrNum() == ardeko::StoreError::DamagedFile)
        return Fail("nothing was changed in a damaged file; open it in QVS to see what it still "
                    "holds.");
    return std::nullopt;
}

int FileChange::Save() {
    if (!(Stamp::Of(options_.file) == read_))
        return Fail(options_.file + " changed while this command ran; nothing written. Run it "
                                    "again.");
    if (!store_.SaveFile("", /*backup*/ true))
        return FailStore(store_, " The file was not changed.");
    return kExitOk;
}

int ChangeFile(const Options& options, const std::function<int(ardeko::clsPW&)>& change) {
    FileChange file(options);
    if (auto code = file.Open()) return *code;
    if (const int code = change(file.Store())) return code;
    return file.Save();
}

std::optional<std::int16_t> CategoryCode(const ardeko::clsPW& store, const std::string& name) {
    const ardeko::T_Categ* c = store.Category().Find(name);
    if (!c) return std::nullopt;
    return c->Codcat;
}

std::optional<std::int16_t> SubCategoryCode(const ardeko::clsPW& store, std::int16_t cat,
                                            const std::string& name) {
    const ardeko::T_SCateg* s = store.SubCategory().Find(ardeko::SubCategoryKey(cat, name));
    if (!s) return std::nullopt;
    return s->CodSCat;
}

int NoSuch(const char* what, const std::string& name) {
    return Fail(std::string("no ") + what + " named \"" + name + "\"", kExitNotFound);
}

} // namespace qvs
