#include "store/totp.h"

#include "store/crypto/secret_key.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

namespace ardeko {

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
constexpr std::string_view kScheme = "otpauth://";
// 80 bits: the shortest secret services hand out; anything shorter is a
// paste cut short.
constexpr std::size_t kMinSecretBytes = 10;
constexpr int kMaxPeriod = 300;

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Upper(x) == Upper(y); });
}

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = Upper(c);
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// %XX sequences decoded; plusIsBlank for query values written by form encoders.
std::string PercentDecode(std::string_view s, bool plusIsBlank) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            i += 2;
        } else if (s[i] == '+' && plusIsBlank) {
            out += ' ';
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string PercentEncode(std::string_view s) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 0xF];
        }
    }
    return out;
}

std::optional<int> Number(std::string_view s) {
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || end != s.data() + s.size()) return std::nullopt;
    return v;
}

const char* AlgorithmName(TotpAlgorithm a) {
    switch (a) {
    case TotpAlgorithm::Sha256:
        return "SHA256";
    case TotpAlgorithm::Sha512:
        return "SHA512";
    case TotpAlgorithm::Sha1:
        break;
    }
    return "SHA1";
}

TotpParse Failed(TotpError e) {
    return {std::nullopt, e};
}

// The secret's key bytes, checked for length.
TotpError DecodeSecret(std::string_view text, TotpParams& params) {
    auto bytes = Base32Decode(text);
    if (!bytes) return TotpError::NotBase32;
    if (bytes->empty()) return TotpError::Empty;
    if (bytes->size() < kMinSecretBytes) {
        WipeString(*bytes);
        return TotpError::SecretTooShort;
    }
    params.secret = std::move(*bytes);
    return TotpError::None;
}

// One query parameter of an address into params.
TotpError TakeParameter(std::string_view key, const std::string& value, TotpParams& params,
                        bool& haveSecret) {
    if (SameText(key, "secret")) {
        haveSecret = true;
        return DecodeSecret(value, params);
    }
    if (SameText(key, "issuer")) {
        params.issuer = value;
    } else if (SameText(key, "digits")) {
        const auto d = Number(value);
        if (!d || *d < 6 || *d > 8) return TotpError::BadDigits;
        params.digits = *d;
    } else if (SameText(key, "period")) {
        const auto p = Number(value);
        if (!p || *p < 1 || *p > kMaxPeriod) return TotpError::BadPeriod;
        params.period = *p;
    } else if (SameText(key, "algorithm")) {
        if (SameText(value, "SHA1"))
            params.algorithm = TotpAlgorithm::Sha1;
        else if (SameText(value, "SHA256"))
            params.algorithm = TotpAlgorithm::Sha256;
        else if (SameText(value, "SHA512"))
            params.algorithm = TotpAlgorithm::Sha512;
        else
            return TotpError::BadAlgorithm;
    }
    // Other parameters (image, counter of another kind) carry nothing we use.
    return TotpError::None;
}

TotpParse ParseAddress(std::string_view text) {
    std::string_view rest = text.substr(kScheme.size());
    const auto slash = rest.find('/');
    if (slash == std::string_view::npos || !SameText(rest.substr(0, slash), "totp"))
        return Failed(TotpError::NotTotpAddress);
    rest.remove_prefix(slash + 1);
    const auto question = rest.find('?');
    const std::string_view rawLabel = rest.substr(0, question);
    std::string_view query = question == std::string_view::npos ? "" : rest.substr(question + 1);

    // A literal colon parts issuer and account, so an issuer may hold an
    // encoded one; some writers encode the separator too.
    TotpParams params;
    std::string label;
    if (const auto raw = rawLabel.find(':'); raw != std::string_view::npos) {
        params.issuer = PercentDecode(rawLabel.substr(0, raw), false);
        label = PercentDecode(rawLabel.substr(raw + 1), false);
    } else {
        label = PercentDecode(rawLabel, false);
        if (const auto colon = label.find(':'); colon != std::string::npos) {
            params.issuer = label.substr(0, colon);
            label.erase(0, colon + 1);
        }
    }
    params.account = std::string(Trim(label));
    bool haveSecret = false;
    while (!query.empty()) {
        const auto amp = query.find('&');
        const std::string_view item = query.substr(0, amp);
        query = amp == std::string_view::npos ? "" : query.substr(amp + 1);
        const auto eq = item.find('=');
        if (eq == std::string_view::npos) continue;
        std::string value = PercentDecode(item.substr(eq + 1), true);
        const TotpError e = TakeParameter(item.substr(0, eq), value, params, haveSecret);
        WipeString(value);
        if (e != TotpError::None) {
            WipeString(params.secret);
            return Failed(e);
        }
    }
    if (!haveSecret) return Failed(TotpError::Empty);
    return {std::move(params), TotpError::None};
}

} // namespace

std::string Base32Encode(std::string_view bytes) {
    std::string out;
    unsigned buffer = 0;
    int bits = 0;
    for (char c : bytes) {
        buffer = (buffer << 8) | static_cast<unsigned char>(c);
        bits += 8;
        while (bits >= 5) {
            bits -= 5;
            out += kAlphabet[(buffer >> bits) & 0x1F];
        }
    }
    if (bits > 0) out += kAlphabet[(buffer << (5 - bits)) & 0x1F];
    return out;
}

std::optional<std::string> Base32Decode(std::string_view text) {
    text = Trim(text);
    while (!text.empty() && text.back() == '=')
        text.remove_suffix(1);
    std::string out;
    unsigned buffer = 0;
    int bits = 0;
    for (char c : text) {
        if (c == ' ' || c == '-' || c == '\t') continue;
        const auto at = kAlphabet.find(Upper(c));
        if (at == std::string_view::npos) {
            WipeString(out);
            return std::nullopt;
        }
        buffer = (buffer << 5) | static_cast<unsigned>(at);
        bits += 5;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    // Five or more bits left over means a character count no encoder
    // writes: the text was cut short.
    if (bits >= 5) {
        WipeString(out);
        return std::nullopt;
    }
    return out;
}

TotpParse ParseTotp(std::string_view text) {
    text = Trim(text);
    if (text.empty()) return Failed(TotpError::Empty);
    if (text.size() >= kScheme.size() && SameText(text.substr(0, kScheme.size()), kScheme))
        return ParseAddress(text);
    TotpParams params;
    const TotpError e = DecodeSecret(text, params);
    if (e != TotpError::None) return Failed(e);
    return {std::move(params), TotpError::None};
}

std::string TotpAddress(const TotpParams& params) {
    std::string out(kScheme);
    out += "totp/";
    if (!params.issuer.empty()) out += PercentEncode(params.issuer) + ':';
    out += PercentEncode(params.account);
    out += "?secret=" + Base32Encode(params.secret);
    if (!params.issuer.empty()) out += "&issuer=" + PercentEncode(params.issuer);
    out += "&algorithm=";
    out += AlgorithmName(params.algorithm);
    out += "&digits=" + std::to_string(params.digits);
    out += "&period=" + std::to_string(params.period);
    return out;
}

const char* TotpErrorText(TotpError e) {
    switch (e) {
    case TotpError::None:
        return "";
    case TotpError::Empty:
        return "no one-time-code secret was given";
    case TotpError::NotBase32:
        return "the secret is not base32 text (letters A-Z and digits 2-7)";
    case TotpError::NotTotpAddress:
        return "the address is not an otpauth://totp/ address";
    case TotpError::BadDigits:
        return "a code must have 6 to 8 digits";
    case TotpError::BadPeriod:
        return "a code's period must be 1 to 300 seconds";
    case TotpError::BadAlgorithm:
        return "the algorithm must be SHA1, SHA256 or SHA512";
    case TotpError::SecretTooShort:
        return "the secret is too short (at least 16 base32 characters)";
    }
    return "";
}

std::string HotpCode(const TotpParams& params, std::uint64_t counter, HmacFunction hmac) {
    // Ten digits would overrun the 31 bits a code is taken from.
    if (params.digits < 1 || params.digits > 9) return {};
    std::string message(8, '\0');
    for (int i = 7; i >= 0; --i, counter >>= 8)
        message[static_cast<std::size_t>(i)] = static_cast<char>(counter & 0xFF);
    const std::string mac = hmac(params.algorithm, params.secret, message);
    if (mac.size() < 20) return {};
    const auto byte = [&mac](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(mac[i]));
    };
    const std::size_t offset = byte(mac.size() - 1) & 0x0F;
    const std::uint32_t binary = ((byte(offset) & 0x7F) << 24) | (byte(offset + 1) << 16) |
                                 (byte(offset + 2) << 8) | byte(offset + 3);
    std::uint32_t modulus = 1;
    for (int i = 0; i < params.digits; ++i)
        modulus *= 10;
    std::string code = std::to_string(binary % modulus);
    code.insert(0, static_cast<std::size_t>(params.digits) - code.size(), '0');
    return code;
}

std::optional<TotpNow> TotpCodeAt(const std::string& stored, std::int64_t unixSeconds,
                                  HmacFunction hmac) {
    if (unixSeconds < 0) return std::nullopt;
    TotpParse parsed = ParseTotp(stored);
    if (!parsed.params) return std::nullopt;
    TotpParams& params = *parsed.params;
    const auto period = static_cast<std::int64_t>(params.period);
    TotpNow now{HotpCode(params, static_cast<std::uint64_t>(unixSeconds / period), hmac),
                static_cast<int>(period - unixSeconds % period)};
    WipeString(params.secret);
    if (now.code.empty()) return std::nullopt;
    return now;
}

} // namespace ardeko
