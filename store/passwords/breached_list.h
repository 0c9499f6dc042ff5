// A downloaded list of breached passwords: the SHA-1 hashes of passwords
// seen in breaches, as text lines "HASH:COUNT" sorted by hash. Such a list
// runs to tens of gigabytes, so it is searched where it lies, by binary
// search over byte offsets: nothing is loaded, nothing leaves the machine.
#pragma once

#include "store/errors.h"
#include "store/io/file_io.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ardeko {

// Upper-case hexadecimal SHA-1 of the UTF-8 bytes, as such lists hold them.
std::string Sha1Hex(std::string_view text);

class BreachedList {
public:
    // Opens the list and checks that it is one: its lines hold SHA-1 hashes
    // in hash order (checked at a few places, since reading it all would
    // take minutes). Records its failure.
    bool Open(const std::string& path);
    bool IsOpen() const { return open_; }

    // How often the password was seen in breaches: 0 when the list does not
    // hold it; none when the list could not be read (recorded).
    std::optional<std::uint64_t> TimesSeen(std::string_view password);
    // The same for a hash as Sha1Hex gives it.
    std::optional<std::uint64_t> TimesSeenHash(std::string_view hash);

    std::int32_t ErrNum() const { return errNum_; }
    const std::string& ErrDescr() const { return errDescr_; }

private:
    struct Line {
        std::uint64_t start = 0; // the file's size: no line left
        std::string key;         // upper-case hash; empty at the end
        std::uint64_t count = 0;
    };
    // The first line that starts at offset or after it.
    std::optional<Line> LineFrom(std::uint64_t offset);
    // The line at start, at the front of text.
    std::optional<Line> ParseLineAt(std::uint64_t start, std::string_view text);
    bool CheckOrder();
    bool Fail(std::int32_t num, std::string descr);
    std::nullopt_t Missing(std::int32_t num, std::string descr); // Fail, for optional results
    bool Fail(StoreError e, std::string descr) { return Fail(Code(e), std::move(descr)); }
    std::nullopt_t Missing(StoreError e, std::string descr) {
        return Missing(Code(e), std::move(descr));
    }

    std::unique_ptr<InputFile> file_;
    std::string path_;
    bool open_ = false;
    std::int32_t errNum_ = 0;
    std::string errDescr_;
};

} // namespace ardeko
