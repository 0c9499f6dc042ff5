// Format 2 of the data file: the version text where every reader looks for
// it, a header with the key derivation's parameters, salt, nonce and a key
// check, and the records enciphered and authenticated as one body
// (XChaCha20-Poly1305, the header as associated data). Layout: FORMAT2.md.
#pragma once

#include "store/codec.h"
#include "store/crypto/kdf.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace ardeko {

inline constexpr const char* kVersion200 = "<Password File 2.00>";
inline constexpr std::size_t kNonceBytes = 24;

struct Format2Header {
    KdfParams params;
    Salt salt{};
    std::array<unsigned char, kNonceBytes> nonce{};
    KeyCheckValue check{};
    std::size_t bytes = 0; // the whole header, version text included
};

bool IsFormat2(std::string_view image);

// The header of a format-2 image; none when it is cut or malformed.
std::optional<Format2Header> ReadFormat2Header(std::string_view image);

// Whether the empty password opens the file whose header is in head (as a
// legacy file with no stored password opens without asking). Costs a key
// derivation unless the salt says the file has a password; the key derived
// is handed back for the load that follows.
bool Format2OpensWithoutPassword(std::string_view head, FileKey& key);

// Decodes a format-2 image. known: a key already held for this file, used
// instead of deriving one when its salt and parameters match the header's.
// The key used is handed back in the result. texts: which texts of the
// entries are kept (the whole body is authenticated whatever it is).
DecodedFile DecodeFormat2(std::string_view image, std::string_view password, const FileKey* known,
                          bool categoriesOnly, EntryTexts texts = EntryTexts::All);

// Writes the records under the key with a fresh nonce.
std::optional<EncodeError> EncodeFormat2(const StoreContents& contents, const FileKey& key,
                                         std::string& image);

} // namespace ardeko
