#include "store/import/foreign_text.h"

#include "store/codepage.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace ardeko {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The line of offset, counting LF, CR LF and a lone CR each as a line end.
std::size_t LineAt(std::string_view text, std::size_t offset) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < offset; ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++line;
    return line;
}

void AppendUtf8(std::uint32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The offset of the first byte that is not part of well-formed UTF-8;
// multiByte (when given) is set when a well-formed multi-byte character
// comes before it.
std::optional<std::size_t> FirstBadUtf8(std::string_view s, bool* multiByte = nullptr) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b < 0x80                ? 1
                        : b >= 0xC2 && b < 0xE0 ? 2
                        : b >= 0xE0 && b < 0xF0 ? 3
                        : b >= 0xF0 && b < 0xF5 ? 4
                                                : 0;
        if (n == 0 || i + n > s.size()) return i;
        std::uint32_t cp = n == 1 ? b : b & (0x3F >> (n - 1));
        for (std::size_t k = 1; k < n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return i;
            cp = (cp << 6) | (c & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF.
        constexpr std::array<std::uint32_t, 5> kLeast = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[n] || (cp >= 0xD800 && cp < 0xE000) || cp > 0x10FFFF) return i;
        if (n > 1 && multiByte) *multiByte = true;
        i += n;
    }
    return std::nullopt;
}

// Whether a well-formed multi-byte UTF-8 character is anywhere in s.
bool HasUtf8Character(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0xC2 || b >= 0xF5) continue;
        bool found = false;
        FirstBadUtf8(s.substr(i, 4), &found);
        if (found) return true;
    }
    return false;
}

std::optional<ImportProblem> DecodeUtf16(std::string_view s, bool bigEndian, std::string& out) {
    if (s.size() % 2) return ImportProblem{ImportMsg::Utf16Odd, 0, {}};
    auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(s[i]), b = static_cast<unsigned char>(s[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); i += 2) {
        std::uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < s.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (cp >= 0xD800 && cp < 0xE000)
            return ImportProblem{ImportMsg::Utf16Broken, LineAt(out, out.size()), {}};
        AppendUtf8(cp, out);
    }
    return std::nullopt;
}

} // namespace

namespace {

// Each encoding's name on the command line and for people, in TextEncoding order.
struct EncodingNames {
    const char* name;
    const char* title;
};
constexpr std::array<EncodingNames, 4> kEncodingNames = {
    {{"auto", "detected"}, {"utf-8", "UTF-8"}, {"utf-16", "UTF-16"}, {"cp1252", "Windows-1252"}}};

} // namespace

const char* EncodingName(TextEncoding e) {
    return kEncodingNames[static_cast<std::size_t>(e)].name;
}

const char* EncodingTitle(TextEncoding e) {
    return kEncodingNames[static_cast<std::size_t>(e)].title;
}

std::optional<TextEncoding> EncodingByName(std::string_view name) {
    for (std::size_t i = 0; i < kEncodingNames.size(); ++i)
        if (name == kEncodingNames[i].name) return static_cast<TextEncoding>(i);
    return std::nullopt;
}

std::optional<ImportProblem> DecodeForeignText(std::string_view bytes, TextEncoding wanted,
                                               std::string& out, TextEncoding& used) {
    out.clear();
    const bool le = bytes.starts_with("\xFF\xFE"), be = bytes.starts_with("\xFE\xFF");
    std::optional<ImportProblem> problem;
    if (wanted == TextEncoding::Utf16 || (wanted == TextEncoding::Auto && (le || be))) {
        used = TextEncoding::Utf16;
        if (!le && !be) return ImportProblem{ImportMsg::Utf16NoMark, 0, {}};
        problem = DecodeUtf16(bytes.substr(2), be, out);
    } else {
        if (bytes.starts_with(kUtf8Bom) && wanted != TextEncoding::Cp1252) {
            bytes.remove_prefix(kUtf8Bom.size());
            wanted = TextEncoding::Utf8;
        }
        const std::optional<std::size_t> bad =
            wanted == TextEncoding::Cp1252 ? std::nullopt : FirstBadUtf8(bytes);
        if (bad && wanted == TextEncoding::Utf8)
            return ImportProblem{ImportMsg::NotUtf8, LineAt(bytes, *bad), {}};
        // Read as Windows-1252, the UTF-8 characters elsewhere would turn
        // into others, passwords included: the user says which it is.
        if (bad && HasUtf8Character(bytes))
            return ImportProblem{ImportMsg::MixedEncoding, LineAt(bytes, *bad), {}};
        used = bad || wanted == TextEncoding::Cp1252 ? TextEncoding::Cp1252 : TextEncoding::Utf8;
        out = used == TextEncoding::Utf8 ? std::string(bytes) : Cp1252ToUtf8(bytes);
    }
    if (problem) return problem;
    if (const auto nul = out.find('\0'); nul != std::string::npos)
        return ImportProblem{ImportMsg::Binary, LineAt(out, nul), {}};
    return std::nullopt;
}

} // namespace ardeko
