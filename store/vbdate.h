// Dates as the data file stores them: days since 30 December 1899 as a double.
// Below 0 the integer part (rounded toward zero) is the day and the fraction
// the time, so the date part is a truncation, not a floor.
#pragma once

#include <functional>
#include <string>

namespace ardeko {

inline constexpr double kVbDate2000 = 36526.0;      // 1 January 2000
inline constexpr double kVbDateMin = -657434.0;     // 1 January 100
inline constexpr double kVbDateMax = 2958465.99999; // 31 December 9999, 23:59:59

double VbDatePart(double d);
bool VbDateInRange(double d);

struct VbDateTime {
    int year, month, day, hour, minute, second;
};
double VbDateFromParts(const VbDateTime& t);
VbDateTime VbDateToParts(double d);

// The present moment as a local date-time. The store asks this one place
// (replaceable per store) whenever it needs "now" or "today".
using Clock = std::function<double()>;
double LocalNow();

} // namespace ardeko
