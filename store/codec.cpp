#include "store/codec.h"

#include "store/format2/format2.h"
#include "store/legacy/legacy_file.h"

namespace ardeko {

std::string VersionText(std::string_view image) {
    if (image.size() < 2) return {};
    const std::size_t length = static_cast<unsigned char>(image[0]) |
                               static_cast<std::size_t>(static_cast<unsigned char>(image[1])) << 8;
    if (image.size() - 2 < length) return {};
    return std::string(image.substr(2, length));
}

bool IsKnownVersion(std::string_view version) {
    return IsLegacyVersion(version) || version == kVersion200;
}

bool KeepsEntryText(EntryTexts texts, Field field) {
    if (texts == EntryTexts::All || field == Field::Service) return true;
    if (texts == EntryTexts::NamesOnly || texts == EntryTexts::NamesAndPlaces) return false;
    return field != Field::Password && field != Field::Hint && field != Field::Code &&
           field != Field::SpareText;
}

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

DecodedFile DecodeFile(std::string_view image, std::string_view password, bool categoriesOnly,
                       const FileKey* known, EntryTexts texts) {
    if (IsFormat2(image)) return DecodeFormat2(image, password, known, categoriesOnly, texts);
    return DecodeLegacyFile(image, password, categoriesOnly, known, texts);
}

} // namespace ardeko
