#include "store/slow_key.h"

#include "store/file_io.h"
#include "store/format2.h"
#include "store/legacy_trailer.h"
#include "store/secret_key.h"

namespace ardeko {

std::optional<DecodeStatus> KdfRefusal(const KdfParams& p, const Salt& salt, const FileKey* known) {
    switch (KdfCostOf(p)) {
    case KdfCost::Usual:
        return std::nullopt;
    case KdfCost::Slow:
        if (SlowKdfAllowed() || (known && known->SameDerivation(p, salt))) return std::nullopt;
        return DecodeStatus::SlowKey;
    case KdfCost::Refused:
        break;
    }
    return DecodeStatus::Damaged;
}

std::optional<FileKdf> FileKdfOf(std::string_view image) {
    if (IsFormat2(image)) {
        const auto h = ReadFormat2Header(image);
        if (!h) return std::nullopt;
        return FileKdf{h->params, h->salt};
    }
    const auto t = FindTrailer(image);
    if (!t || !t->whole) return std::nullopt;
    return FileKdf{t->params, t->salt};
}

bool DeriveKeyOfFile(const std::string& path, std::string_view password, FileKey& out) {
    std::string image;
    if (ReadWholeFile(path, image)) return false;
    const auto kdf = FileKdfOf(image);
    WipeString(image);
    return kdf && DeriveFileKey(password, kdf->params, kdf->salt, out);
}

} // namespace ardeko
