// Files whose key settings are beyond the readers' ceiling but within what
// earlier versions let a user choose: a reader refuses them until the user
// agrees to the wait, and then derives their key once, ahead of the load.
#pragma once

#include "store/codec.h"
#include "store/crypto/kdf.h"

#include <optional>
#include <string>
#include <string_view>

namespace ardeko {

// The key settings and salt an image's header or trailer names; none for a
// file without a key (a legacy file another program wrote).
struct FileKdf {
    KdfParams params;
    Salt salt{};
};
std::optional<FileKdf> FileKdfOf(std::string_view image);

// Derives the key of the data file at path with password, whatever its
// settings' cost up to kKdfAbsoluteCeiling: the wait a user agreed to. Touches
// no store, so it may run on another thread; hand the key to clsPW::AdoptKey
// for the load. False when the file cannot be read, has no key, or the
// key cannot be derived (the load then says why).
bool DeriveKeyOfFile(const std::string& path, std::string_view password, FileKey& out);

} // namespace ardeko
