// The trailer our writer puts after the last record of a legacy (1.0x)
// file, where that format's readers never look: a marker, the key
// derivation's parameters and salt, a key check and a MAC over every byte
// before the MAC. It lets a reader refuse a wrong password exactly and tell
// a changed file, which the legacy cipher alone cannot. Layout: FORMAT2.md
// (its key derivation is format 2's); the file around it: LEGACY.md.
#pragma once

#include "store/crypto/kdf.h"
#include "store/legacy/legacy_file.h"

#include <optional>
#include <string>
#include <string_view>

namespace ardeko {

inline constexpr std::size_t kTrailerBytes = 8 + 4 + 4 + kSaltBytes + kCheckBytes + 32;

struct LegacyTrailer {
    KdfParams params;
    Salt salt{};
    std::size_t start = 0; // where the trailer begins: the legacy data ends there
    std::size_t end = 0;   // where it ends; what follows was appended by others
    bool whole = true;     // false: the marker is there, the rest of the trailer cut off
};

// The trailer of an image, when there is one: the first marker after the
// version text of an enciphered legacy file (never of a plain one), so that bytes appended after the trailer (a line end a sync
// or transfer tool adds) do not hide it.
std::optional<LegacyTrailer> FindTrailer(std::string_view image);

// Whether rest, what follows the last legacy record of a file where no
// trailer was found, is a trailer whose marker was damaged: room for a
// trailer, and most of the marker's bytes in place.
bool LooksLikeDamagedTrailer(std::string_view rest);

// Checks the trailer with the held key (when it fits) or one derived from
// the password: Ok (key handed back), WrongPassword or Damaged.
DecodeStatus CheckTrailer(std::string_view image, const LegacyTrailer& t, std::string_view password,
                          const FileKey* known, FileKey& key);

// Appends a trailer for the key to a legacy image.
bool AppendTrailer(std::string& image, const FileKey& key);

} // namespace ardeko
