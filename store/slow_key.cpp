#include "store/slow_key.h"

#include "store/crypto/secret_key.h"
#include "store/format2/format2.h"
#include "store/io/file_io.h"
#include "store/legacy/trailer.h"

namespace ardeko {

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
