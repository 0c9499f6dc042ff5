#include "store/codepage.h"

#include <array>
#include <cstdio>

namespace ardeko {

namespace {

// Code points of bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<std::uint16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::uint32_t ByteToCodePoint(std::uint8_t b) {
    return (b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : b;
}

std::optional<std::uint8_t> CodePointToByte(std::uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<std::uint8_t>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp) return static_cast<std::uint8_t>(0x80 + i);
    return std::nullopt;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

constexpr std::uint32_t kMalformed = 0xFFFFFFFF;

// Decodes one code point at i, advancing i; kMalformed on a bad sequence.
std::uint32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto lead = static_cast<std::uint8_t>(s[i++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    std::uint32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return kMalformed;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<std::uint8_t>(s[i]) & 0xC0) != 0x80) return kMalformed;
        cp = (cp << 6) | (static_cast<std::uint8_t>(s[i++]) & 0x3F);
    }
    static constexpr std::uint32_t kMinForLength[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMinForLength[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return kMalformed;
    return cp;
}

std::uint32_t UpperOf(std::uint32_t cp) {
    if (cp >= 'a' && cp <= 'z') return cp - 0x20;
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;
    switch (cp) {
    case 0x0161:
        return 0x0160; // š
    case 0x0153:
        return 0x0152; // œ
    case 0x017E:
        return 0x017D; // ž
    case 0x00FF:
        return 0x0178; // ÿ
    default:
        return cp;
    }
}

} // namespace

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();)
        if (NextCodePoint(text, i) == kMalformed) return false;
    return true;
}

std::string RepairedUtf8(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        if (NextCodePoint(text, i) == kMalformed) {
            AppendUtf8(out, 0xFFFD);
            i = start + 1;
        } else {
            out.append(text.substr(start, i - start));
        }
    }
    return out;
}

Cp1252Result Utf8ToCp1252(std::string_view utf8) {
    Cp1252Result r;
    r.bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::uint32_t cp = NextCodePoint(utf8, i);
        const auto b = cp == kMalformed ? std::nullopt : CodePointToByte(cp);
        if (!b) {
            r.badCodePoint = cp;
            return r;
        }
        r.bytes.push_back(static_cast<char>(*b));
    }
    return r;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    // Sized once and written in place: every byte becomes one to three.
    std::size_t size = 0;
    for (char c : bytes) {
        const std::uint32_t cp = ByteToCodePoint(static_cast<std::uint8_t>(c));
        size += cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3;
    }
    std::string out(size, '\0');
    char* to = out.data();
    for (char c : bytes) {
        const std::uint32_t cp = ByteToCodePoint(static_cast<std::uint8_t>(c));
        if (cp < 0x80) {
            *to++ = static_cast<char>(cp);
        } else if (cp < 0x800) {
            *to++ = static_cast<char>(0xC0 | (cp >> 6));
            *to++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            *to++ = static_cast<char>(0xE0 | (cp >> 12));
            *to++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *to++ = static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string FoldKey(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        // Plain ASCII, nearly every name, one byte at a time: a store is
        // indexed by folded names, and a large file has tens of thousands.
        if (const auto ch = static_cast<unsigned char>(utf8[i]); ch < 0x80) {
            out.push_back(static_cast<char>(UpperOf(ch)));
            ++i;
            continue;
        }
        const std::size_t start = i;
        const std::uint32_t cp = NextCodePoint(utf8, i);
        if (cp == kMalformed)
            out.append(utf8.substr(start, i - start));
        else
            AppendUtf8(out, UpperOf(cp));
    }
    return out;
}

std::string DescribeCodePoint(std::uint32_t cp) {
    if (cp == kMalformed) return "an invalid UTF-8 sequence";
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    std::string s = buf;
    if (cp >= 0x20) {
        s += " '";
        AppendUtf8(s, cp);
        s += "'";
    }
    return s;
}

} // namespace ardeko
