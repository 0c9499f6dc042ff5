// Where an expiry or change date stands against today, with the colour that
// shows it. One rule for every window that shows it (entry grid, expiry
// check), the same as the store's counters: a date that has come, today
// included, is due; one within the warning days is near.
#pragma once

#include <QColor>
#include <QString>

#include <cstdint>

namespace qvs {

enum class DateLevel { Normal, Warning, Alert };

// Not in force: normal. Today or before: alert. Up to today + days: warning.
// Otherwise normal. today is a date without time of day.
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

// Red, yellow or green.
QColor DateLevelColour(DateLevel level);

// "dd/mm/yyyy"; empty for a value that is no valid date.
QString DayMonthYearText(double date);

} // namespace qvs
