#include "store/io/file_info.h"

#include "store/format2/format2.h"
#include "store/io/file_io.h"
#include "store/legacy/legacy_file.h"
#include "store/legacy/trailer.h"

namespace ardeko {

std::optional<std::string> ReadDataFileInfo(const std::string& path, DataFileInfo& out) {
    std::string head;
    if (auto err = ReadFileHead(path, kVersionBytes, head)) return err->descr;
    out.version = VersionText(head);
    if (!IsKnownVersion(out.version)) return "File " + path + ": Invalid File Version!";
    // The trailer follows the records, so a legacy file is read whole.
    std::string image;
    if (auto err = ReadWholeFile(path, image)) return err->descr;
    if (IsFormat2(image)) {
        out.format = FileFormat::Two;
        const auto header = ReadFormat2Header(image);
        if (!header) return "File " + path + " was changed or is damaged: its header is cut.";
        out.kdf = header->params;
    } else {
        out.format = FileFormat::Legacy;
        if (const auto trailer = FindTrailer(image); trailer && trailer->whole)
            out.kdf = trailer->params;
    }
    return std::nullopt;
}

} // namespace ardeko
