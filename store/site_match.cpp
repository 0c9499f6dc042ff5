#include "store/site_match.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <idn2.h>
#include <libpsl.h>
#include <memory>

namespace ardeko {

namespace {

// The newest list the system has: Debian's publicsuffix file when it is
// newer than the one built into libpsl.
const psl_ctx_t* Suffixes() {
    static const std::unique_ptr<psl_ctx_t, void (*)(psl_ctx_t*)> ctx(psl_latest(nullptr),
                                                                      &psl_free);
    return ctx ? ctx.get() : psl_builtin();
}

std::string_view Trimmed(std::string_view s) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && space(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && space(s.back()))
        s.remove_suffix(1);
    return s;
}

int DefaultPort(std::string_view scheme) {
    return scheme == "http" ? 80 : 443; // an entry without a scheme means https
}

// Whether a text without "://" names a scheme of its own ("mailto:a@b.org",
// "tel:", "javascript:"), or is an e-mail address: neither is a web site,
// though its part after "@" reads as a host. "host:8080" is a port.
bool OtherSchemeWithoutSlashes(std::string_view text) {
    const auto colon = text.find(':');
    const auto end = text.find_first_of("/?#\\");
    if (text.substr(0, end).find('@') != std::string_view::npos) return true;
    if (text.starts_with('[') || colon == std::string_view::npos ||
        (end != std::string_view::npos && colon > end))
        return false;
    const std::string_view after = text.substr(colon + 1);
    return !after.empty() && (after.front() < '0' || after.front() > '9');
}

// Splits "scheme://rest"; scheme "" when the text has none. False for a
// scheme other than http and https.
bool TakeScheme(std::string_view& text, std::string& scheme) {
    const auto sep = text.find("://");
    if (sep == std::string_view::npos) return !OtherSchemeWithoutSlashes(text);
    scheme = LowerAscii(text.substr(0, sep));
    text.remove_prefix(sep + 3);
    return scheme == "http" || scheme == "https";
}

// The authority: up to the path, query or fragment (a backslash ends it
// too, as browsers read it), without the user name and password.
std::string_view Authority(std::string_view rest) {
    const auto end = rest.find_first_of("/?#\\");
    std::string_view authority = rest.substr(0, end);
    const auto at = authority.rfind('@');
    if (at != std::string_view::npos) authority.remove_prefix(at + 1);
    return authority;
}

bool TakePort(std::string_view digits, int& port) {
    if (digits.empty()) return true; // "host:" names the default port
    if (digits.size() > 5) return false;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    return ec == std::errc() && end == digits.data() + digits.size() && port > 0 && port < 65536;
}

bool IsIpv4(std::string_view host) {
    return !host.empty() && host.find_first_not_of("0123456789.") == std::string_view::npos;
}

// A host no registry gives out: only letters, digits, hyphens, underscores
// (some intranets) and dots between non-empty labels.
bool PlausibleAsciiHost(std::string_view host) {
    if (host.empty() || host.size() > 253 || host.front() == '.') return false;
    if (host.find("..") != std::string_view::npos) return false;
    return host.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-_.") ==
           std::string_view::npos;
}

// The host in its ASCII form: an international name through IDNA 2008
// (UTS #46 mapping), so that a name in another script is told apart from
// the Latin one it resembles by its xn-- labels.
std::optional<std::string> AsciiHost(std::string_view host) {
    const bool ascii =
        std::none_of(host.begin(), host.end(), [](char c) { return (c & 0x80) != 0; });
    std::string out;
    if (ascii) {
        out = LowerAscii(host);
    } else {
        char* converted = nullptr;
        const std::string input(host);
        if (idn2_to_ascii_8z(input.c_str(), &converted, IDN2_NONTRANSITIONAL | IDN2_NFC_INPUT) !=
            IDN2_OK)
            return std::nullopt;
        out = LowerAscii(converted);
        idn2_free(converted);
    }
    if (!out.empty() && out.back() == '.') out.pop_back();
    if (!PlausibleAsciiHost(out)) return std::nullopt;
    return out;
}

std::optional<SiteAddress> Parse(std::string_view text, bool schemeRequired) {
    text = Trimmed(text);
    SiteAddress a;
    if (!TakeScheme(text, a.scheme)) return std::nullopt;
    if (schemeRequired && a.scheme.empty()) return std::nullopt;
    std::string_view authority = Authority(text);
    std::string_view host = authority;
    std::string_view port;
    if (authority.starts_with('[')) {
        const auto close = authority.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        host = authority.substr(1, close - 1);
        const std::string_view after = authority.substr(close + 1);
        if (!after.empty() && !after.starts_with(':')) return std::nullopt;
        if (!after.empty()) port = after.substr(1);
        if (host.empty() ||
            host.find_first_not_of("0123456789abcdefABCDEF:.") != std::string_view::npos)
            return std::nullopt;
        a.host = LowerAscii(host);
        a.ipAddress = true;
    } else {
        const auto colon = authority.rfind(':');
        if (colon != std::string_view::npos) {
            host = authority.substr(0, colon);
            port = authority.substr(colon + 1);
        }
        auto ascii = AsciiHost(host);
        if (!ascii) return std::nullopt;
        a.host = std::move(*ascii);
        a.ipAddress = IsIpv4(a.host);
    }
    if (!TakePort(port, a.port)) return std::nullopt;
    return a;
}

bool SchemeServes(const SiteAddress& page, const SiteAddress& entry) {
    const std::string_view wanted =
        entry.scheme.empty() ? std::string_view("https") : std::string_view(entry.scheme);
    // An entry saved on http is also offered on the same site's https page
    // (the site moved to encryption); never the other way.
    return page.scheme == wanted || (wanted == "http" && page.scheme == "https");
}

bool PortServes(const SiteAddress& page, const SiteAddress& entry) {
    if (entry.port != 0)
        return (page.port != 0 ? page.port : DefaultPort(page.scheme)) == entry.port;
    return page.port == 0 || page.port == DefaultPort(page.scheme);
}

bool IsPublicSuffix(const std::string& host) {
    return psl_is_public_suffix2(Suffixes(), host.c_str(), PSL_TYPE_ANY) != 0;
}

bool HostServes(const SiteAddress& page, const SiteAddress& entry) {
    if (page.host == entry.host) return true;
    if (page.ipAddress || entry.ipAddress || IsPublicSuffix(entry.host)) return false;
    const std::string_view p = page.host;
    return p.size() > entry.host.size() && p.ends_with(entry.host) &&
           p[p.size() - entry.host.size() - 1] == '.' && SiteKey(p) == SiteKey(entry.host);
}

} // namespace

std::string LowerAscii(std::string_view host) {
    std::string out(host);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return out;
}

std::optional<SiteAddress> ParsePageAddress(std::string_view url) {
    return Parse(url, true);
}

std::optional<SiteAddress> ParseEntryAddress(std::string_view text) {
    return Parse(text, false);
}

std::string SiteKey(std::string_view host) {
    const std::string h(host);
    if (IsIpv4(h) || h.find(':') != std::string::npos) return h;
    const char* domain = psl_registrable_domain(Suffixes(), h.c_str());
    return domain ? std::string(domain) : h;
}

bool SiteMatches(const SiteAddress& page, const SiteAddress& entry) {
    return SchemeServes(page, entry) && PortServes(page, entry) && HostServes(page, entry);
}

bool SiteMatches(std::string_view pageUrl, std::string_view entryAddress) {
    const auto page = ParsePageAddress(pageUrl);
    const auto entry = ParseEntryAddress(entryAddress);
    return page && entry && SiteMatches(*page, *entry);
}

} // namespace ardeko
