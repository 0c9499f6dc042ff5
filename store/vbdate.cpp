#include "store/vbdate.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

namespace ardeko {

namespace {
using namespace std::chrono;
constexpr sys_days kEpoch = sys_days{year{1899} / December / 30};
} // namespace

double VbDatePart(double d) {
    return std::trunc(d) + 0.0;
}

bool VbDateInRange(double d) {
    return std::isfinite(d) && d >= kVbDateMin && d <= kVbDateMax + 1e-9;
}

double VbDateFromParts(const VbDateTime& t) {
    const sys_days day{year{t.year} / month{static_cast<unsigned>(t.month)} /
                       std::chrono::day{static_cast<unsigned>(t.day)}};
    const double dayNumber = static_cast<double>((day - kEpoch).count());
    const double fraction = (t.hour * 3600 + t.minute * 60 + t.second) / 86400.0;
    // Before the epoch the time of day still counts away from zero.
    return dayNumber < 0 ? dayNumber - fraction : dayNumber + fraction;
}

VbDateTime VbDateToParts(double d) {
    const double dayNumber = std::trunc(d);
    const long secs = std::min(std::lround(std::fabs(d - dayNumber) * 86400.0), 86399L);
    const year_month_day ymd{kEpoch + days{static_cast<long>(dayNumber)}};
    return {static_cast<int>(ymd.year()),
            static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day())),
            static_cast<int>(secs / 3600),
            static_cast<int>(secs / 60 % 60),
            static_cast<int>(secs % 60)};
}

double LocalNow() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return VbDateFromParts({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                            local.tm_min, local.tm_sec});
}

} // namespace ardeko
