// What a data file says about itself without its password: its format and
// the key derivation's parameters. Nothing about its contents.
#pragma once

#include "store/crypto/kdf.h"
#include "store/pw.h"

#include <optional>
#include <string>

namespace ardeko {

struct DataFileInfo {
    std::string version; // the version text
    FileFormat format = FileFormat::Legacy;
    std::optional<KdfParams> kdf; // none: a legacy file without a trailer
};

// Reads path; the error text when it is no data file or cannot be read.
std::optional<std::string> ReadDataFileInfo(const std::string& path, DataFileInfo& out);

} // namespace ardeko
