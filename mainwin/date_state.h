// Where an expiry or change date stands against today, for the colours and
// icons of the entry grid.
#pragma once

#include <cstdint>

namespace qvs {

enum class DateLevel { Normal, Warning, Alert };

// The store's rule, so that the grid colours exactly what the counters and
// the state folders count: not in force, normal; today or earlier, alert;
// within days after today, warning; otherwise normal. today is a date
// without time of day.
DateLevel DateState(bool inForce, double date, std::int16_t days, double today);

// One of three values chosen by the level, e.g. colours or icon keys.
template <class T> T ByDateLevel(DateLevel level, T alert, T warning, T normal) {
    switch (level) {
    case DateLevel::Alert:
        return alert;
    case DateLevel::Warning:
        return warning;
    case DateLevel::Normal:
        break;
    }
    return normal;
}

} // namespace qvs
