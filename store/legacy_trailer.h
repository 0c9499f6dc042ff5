// The trailer our writer puts after the last record of a legacy (1.0x)
// file, where that format's readers never look: a marker, the key
// derivation's parameters and salt, a key check and a MAC over every byte
// before the MAC. It lets a reader refuse a wrong password exactly and tell
// a changed file, which the legacy cipher alone cannot. Layout: FORMAT2.md.
#pragma once

#include "store/datafile.h"
#include "store/kdf.h"

#include <optional>
#include <string>
#include <string_view>

namespace ardeko {

inline constexpr std::size_t kTrailerBytes = 8 + 4 + 4 + kSaltBytes + kCheckBytes + 32;

struct LegacyTrailer {
    KdfParams params;
    Salt salt{};
    std::size_t start = 0; // where the trailer begins: the legacy data ends there
};

// The trailer at the end of an image, when there is one.
std::optional<LegacyTrailer> FindTrailer(std::string_view image);

// Checks the trailer with the held key (when it fits) or one derived from
// the password: Ok (key handed back), WrongPassword or Damaged.
DecodeStatus CheckTrailer(std::string_view image, const LegacyTrailer& t, std::string_view password,
                          const FileKey* known, FileKey& key);

// Appends a trailer for the key to a legacy image.
bool AppendTrailer(std::string& image, const FileKey& key);

} // namespace ardeko
