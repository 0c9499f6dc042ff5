// The legacy (1.0x) data file's byte layout: header, enciphered flag and
// the four record sections, and the trailer our writer adds after them.
// Decoding and encoding work on whole in-memory images; the store does the
// file-system side. Layout and the old writers' quirks: LEGACY.md.
#pragma once

#include "store/codec.h"
#include "store/crypto/kdf.h"
#include "store/records.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ardeko {

inline constexpr const char* kVersion101 = "<Password File 1.01>";
inline constexpr const char* kVersion102 = "<Password File 1.02>";
inline constexpr const char* kVersion103 = "<Password File 1.03>";

// Longest text (in code-page characters) whose enciphered form is sure to fit
// the 2-byte length whatever group length the cipher picks.
inline constexpr std::size_t kMaxTextLength = 43689;
inline constexpr std::size_t kMaxRecords = 32767;

// The largest file the format can describe: every text at the 2-byte length
// limit, every section full. Anything larger is not a data file.
inline constexpr std::uint64_t kMaxTextBytes = 2 + 65535;
inline constexpr std::uint64_t kMaxFileSize =
    2 * kMaxTextBytes + 4 + 2 + 4 * 2 +
    kMaxRecords * ((2 + kMaxTextBytes + 2) + (2 + 2 + kMaxTextBytes) + (kMaxTextBytes + 2) +
                   (12 * kMaxTextBytes + 9 * 2 + 9 * 8 + 9 * 2));

bool IsLegacyVersion(std::string_view version);

// Reads the header and the enciphered flag. A short file gives what was there
// (empty version text), as a reader past the end sees nothing.
FileHeader DecodeHeader(std::string_view image);

// Decodes a legacy image, checking its trailer first when it has one (known:
// a key already held for the file, used when the trailer names its salt and
// settings).
DecodedFile DecodeLegacyFile(std::string_view image, std::string_view password, bool categoriesOnly,
                             const FileKey* known, EntryTexts texts);

// What a data file could not hold in one record, the message naming the
// record and field; none when it fits.
std::optional<EncodeError> CheckRecord(const T_Categ& r);
std::optional<EncodeError> CheckRecord(const T_SCateg& r);
std::optional<EncodeError> CheckRecord(const T_Password& r);

// Checks every text, date and count, then writes version 1.03 enciphered
// under a fresh seed. Nothing is produced when a check fails.
struct EncodedFile {
    std::string image;
    std::int32_t seed = 0;
};
std::optional<EncodeError> EncodeFile(const StoreContents& contents, std::string_view password,
                                      EncodedFile& out);

} // namespace ardeko
