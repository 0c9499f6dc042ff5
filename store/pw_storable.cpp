// What the open file can hold. Today every file is written in the one
// format, so its rule applies to all.
#include "store/datafile.h"
#include "store/pw.h"

namespace ardeko {

namespace {
template <class R> std::optional<std::string> Why(const R& r) {
    if (auto err = CheckRecord(r)) return std::move(err->descr);
    return std::nullopt;
}
} // namespace

std::optional<std::string> clsPW::Unstorable(const T_Password& r) const {
    return Why(r);
}
std::optional<std::string> clsPW::Unstorable(const T_Categ& r) const {
    return Why(r);
}
std::optional<std::string> clsPW::Unstorable(const T_SCateg& r) const {
    return Why(r);
}

} // namespace ardeko
