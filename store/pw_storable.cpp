// What the open file can hold: a format-2 file holds any text; the legacy
// format only what its code page and 2-byte lengths can.
#include "store/legacy/legacy_file.h"
#include "store/pw.h"

namespace ardeko {

namespace {
template <class R> std::optional<std::string> Why(FileFormat format, const R& r) {
    if (format == FileFormat::Two) return std::nullopt;
    if (auto err = CheckRecord(r)) return std::move(err->descr);
    return std::nullopt;
}
} // namespace

std::optional<std::string> clsPW::Unstorable(const T_Password& r) const {
    return Why(format_, r);
}
std::optional<std::string> clsPW::Unstorable(const T_Categ& r) const {
    return Why(format_, r);
}
std::optional<std::string> clsPW::Unstorable(const T_SCateg& r) const {
    return Why(format_, r);
}

} // namespace ardeko
