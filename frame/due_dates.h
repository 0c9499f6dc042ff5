// Where an expiry or change date stands against today, with the colour that
// shows it. One rule for every window that shows it (entry grid, expiry
// check), the store's own (clsPW::DueOf): a date that has come, today
// included, is due; one within the warning days is near when the entry asks
// to be warned ahead.
#pragma once

#include "store/pw.h"

#include <QColor>
#include <QString>

#include <cstdint>

namespace qvs {

enum class DateLevel { Normal, Warning, Alert };

// The level of one of the store's due states.
DateLevel LevelOfDue(ardeko::clsPW::Due due);

// A date alone, without the entry's wish to be warned: not in force:
// normal. Today or before: alert. Up to today + days: warning. Otherwise
// normal. today is a date without time of day.
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

// A see-through red or amber laid over a row's own background, so that the
// theme's text stays readable on light and dark backgrounds alike; none
// for a normal level.
QColor DateLevelTint(DateLevel level);

} // namespace qvs
