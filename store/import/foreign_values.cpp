// Dates, folder paths and extra columns as other programs write them.
#include "store/import/foreign_formats.h"
#include "store/vbdate.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace ardeko {

namespace {

// A caption's words in lower case: "login_PIN" -> login, pin; "postalCode"
// -> postal, code.
std::vector<std::string> Words(std::string_view caption) {
    std::vector<std::string> words(1);
    char before = 0;
    for (const char c : caption) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isalnum(u)) {
            if (!words.back().empty()) words.emplace_back();
        } else {
            if (std::isupper(u) && std::islower(static_cast<unsigned char>(before)))
                words.emplace_back();
            words.back() += static_cast<char>(std::tolower(u));
        }
        before = c;
    }
    if (words.back().empty()) words.pop_back();
    return words;
}

bool IsOneOf(const std::string& word, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return word == n; });
}

std::string Joined(const std::vector<std::string>& words) {
    std::string all;
    for (const std::string& w : words)
        all += w;
    return all;
}

std::optional<double> ParseExpiry(const std::string& value) {
    if (auto d = ParseIsoDate(value)) return d;
    const bool digits =
        !value.empty() && value.size() <= 15 &&
        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) return std::nullopt;
    const double n = std::stod(value); // seconds or, when that large, milliseconds since 1970
    return LocalDateFromUnix(n > 1e11 ? n / 1000.0 : n);
}

} // namespace

std::string DroppedText(const DroppedValue& v) {
    const bool passkey = v.kind == DroppedValue::Kind::Passkey;
    if (v.detail.empty()) return passkey ? "passkey" : "collection membership";
    return passkey ? "passkey for " + v.detail : "collection \"" + v.detail + "\"";
}

bool LooksSecret(std::string_view caption) {
    const std::vector<std::string> words = Words(caption);
    if (Joined(words) == "code" || Joined(words) == "securitycode") return true;
    return std::any_of(words.begin(), words.end(), [](const std::string& w) {
        return IsOneOf(w, {"password", "passwd", "pass", "passphrase", "pin", "secret", "private",
                           "key", "cvv", "cvc", "cvn", "token", "ssn", "seed", "recovery"});
    });
}

void AddColumn(ForeignEntry& e, const std::string& caption, std::string value) {
    if (value.empty()) return;
    const std::string name = Joined(Words(caption));
    if (IsOneOf(name, {"totp", "otp", "otpauth", "onetimecode", "2fa"}) ||
        value.starts_with("otpauth://")) {
        e.extras.emplace_back(caption, std::move(value));
        return;
    }
    if (IsOneOf(name,
                {"expires", "expiry", "expiration", "expirydate", "expirationdate", "expiresat"}) &&
        !e.expires)
        if (const auto date = ParseExpiry(value); date && VbDateInRange(*date)) {
            e.expires = date;
            return;
        }
    e.fields.push_back({caption, std::move(value), LooksSecret(caption)});
}

double LocalDateFromUnix(double seconds) {
    const auto whole = static_cast<std::time_t>(std::floor(seconds));
    std::tm local{};
    localtime_r(&whole, &local);
    return VbDateFromParts({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                            local.tm_min, local.tm_sec});
}

std::optional<double> ParseIsoDate(std::string_view text) {
    const std::string s(text);
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0, used = 0;
    if (std::sscanf(s.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &used) != 3) return std::nullopt;
    std::size_t at = static_cast<std::size_t>(used);
    if (at < s.size() && (s[at] == 'T' || s[at] == ' ')) {
        int n = 0;
        if (std::sscanf(s.c_str() + at + 1, "%2d:%2d%n", &h, &mi, &n) == 2) {
            at += 1 + static_cast<std::size_t>(n);
            if (at < s.size() && s[at] == ':' && std::sscanf(s.c_str() + at + 1, "%2d%n", &sec, &n))
                at += 1 + static_cast<std::size_t>(n);
            while (at < s.size() && (s[at] == '.' || (s[at] >= '0' && s[at] <= '9')))
                ++at; // fractions of a second
        }
    }
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || sec > 60) return std::nullopt;
    const std::string_view zone = std::string_view(s).substr(at);
    if (zone.empty()) return VbDateFromParts({y, mo, d, h, mi, sec}); // local already
    int offset = 0;
    if (zone != "Z" && zone != "z") {
        int oh = 0, om = 0;
        if (std::sscanf(std::string(zone.substr(1)).c_str(), "%2d:%2d", &oh, &om) < 1 ||
            (zone[0] != '+' && zone[0] != '-'))
            return std::nullopt;
        offset = (zone[0] == '-' ? -1 : 1) * (oh * 3600 + om * 60);
    }
    std::tm utc{};
    utc.tm_year = y - 1900;
    utc.tm_mon = mo - 1;
    utc.tm_mday = d;
    utc.tm_hour = h;
    utc.tm_min = mi;
    utc.tm_sec = sec;
    return LocalDateFromUnix(static_cast<double>(timegm(&utc) - offset));
}

std::vector<std::string> SplitPath(std::string_view path, char sep) {
    std::vector<std::string> levels;
    while (!path.empty()) {
        const std::size_t cut = path.find(sep);
        std::string_view level = path.substr(0, cut);
        while (!level.empty() && level.front() == ' ')
            level.remove_prefix(1);
        while (!level.empty() && level.back() == ' ')
            level.remove_suffix(1);
        if (!level.empty()) levels.emplace_back(level);
        if (cut == std::string_view::npos) break;
        path.remove_prefix(cut + 1);
    }
    return levels;
}

} // namespace ardeko
