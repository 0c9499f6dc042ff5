// Dates and folder paths as other programs write them.
#include "store/foreign_formats.h"
#include "store/vbdate.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace ardeko {

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
