#include "store/search_fold.h"

#include "store/records.h"

#include <utf8proc.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace ardeko {

namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Letters that stay themselves under decomposition although a reader sees a
// plain letter with a stroke or a ligature. Checked after case folding.
const char* PlainSpelling(utf8proc_int32_t c) {
    switch (c) {
    case 0x00DF: // sharp s
        return "ss";
    case 0x00E6: // ae ligature
        return "ae";
    case 0x00F8: // o with stroke
        return "o";
    case 0x0111: // d with stroke
        return "d";
    case 0x0142: // l with stroke
        return "l";
    case 0x0153: // oe ligature
        return "oe";
    default:
        return nullptr;
    }
}

void AppendUtf8(utf8proc_int32_t c, std::string& out) {
    utf8proc_uint8_t buf[4];
    const auto n = utf8proc_encode_char(c, buf);
    out.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(n));
}

} // namespace

std::string FoldForSearch(std::string_view text) {
    std::string out(text);
    if (IsAscii(text)) {
        for (char& c : out)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        return out;
    }
    utf8proc_uint8_t* mapped = nullptr;
    const auto options = static_cast<utf8proc_option_t>(UTF8PROC_COMPAT | UTF8PROC_DECOMPOSE |
                                                        UTF8PROC_STRIPMARK | UTF8PROC_CASEFOLD);
    const utf8proc_ssize_t n =
        utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                     static_cast<utf8proc_ssize_t>(text.size()), &mapped, options);
    if (n < 0) return out; // not UTF-8: compared as it stands
    const std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owned(mapped, &std::free);
    out.clear();
    out.reserve(static_cast<std::size_t>(n));
    for (utf8proc_ssize_t i = 0; i < n;) {
        utf8proc_int32_t c = 0;
        i += utf8proc_iterate(mapped + i, n - i, &c);
        if (const char* plain = PlainSpelling(c))
            out += plain;
        else
            AppendUtf8(c, out);
    }
    return out;
}

std::string EntrySearchText(const T_Password& p) {
    // One joined text: one conversion and one pass per entry.
    constexpr char kFieldBreak = '\x1f';
    const std::string* fields[] = {&p.service,    &p.User,       &p.Email, &p.URL_Access,
                                   &p.URL_Change, &p.URL_Delete, &p.Descr};
    std::string joined;
    std::size_t size = 0;
    for (const std::string* field : fields)
        size += field->size() + 1;
    joined.reserve(size);
    for (const std::string* field : fields) {
        joined += *field;
        joined += kFieldBreak;
    }
    return FoldForSearch(joined);
}

bool EntryMatches(const T_Password& p, std::string_view folded) {
    return !folded.empty() && EntrySearchText(p).find(folded) != std::string::npos;
}

} // namespace ardeko
