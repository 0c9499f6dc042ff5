// Whether an entry's address names the web page a browser asks about. A
// page gets an entry only for the entry's own host or a host below it within
// one registrable domain (Public Suffix List), on the entry's scheme and
// port: a look-alike name, a host that merely ends in the entry's text, or
// a page of another site under the same public suffix gets nothing. Paths
// are not compared: one login serves a whole site.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ardeko {

struct SiteAddress {
    std::string scheme; // "http" or "https"; "" when an entry's address names none
    // Lower-case ASCII (international names in their xn-- form), without a
    // trailing dot; an IPv6 address without its brackets.
    std::string host;
    int port = 0; // 0 when the address names none
    bool ipAddress = false;
};

// A page's address as the browser sends it: http or https, with a host.
std::optional<SiteAddress> ParsePageAddress(std::string_view url);
// An entry's address as a person writes it: the scheme may be left out
// ("example.com/login"), and the host may be in any script. None when it is
// not a web address (another scheme, no host, a host no browser could reach).
std::optional<SiteAddress> ParseEntryAddress(std::string_view text);

// A host in the form hosts compare and are kept in: ASCII letters in lower
// case (the rest as it is).
std::string LowerAscii(std::string_view host);

// The registrable domain of an ASCII host (example.co.uk for
// a.b.example.co.uk); the host itself when it has none (an IP address, a
// public suffix such as "com" or "github.io", a single label).
std::string SiteKey(std::string_view host);

// Whether the entry's address serves the page. Both parsed as above.
bool SiteMatches(const SiteAddress& page, const SiteAddress& entry);
// The same from the texts; false when either is not an address.
bool SiteMatches(std::string_view pageUrl, std::string_view entryAddress);

} // namespace ardeko
