#include "frame/due_dates.h"

namespace qvs {

DateLevel LevelOfDue(ardeko::clsPW::Due due) {
    using Due = ardeko::clsPW::Due;
    switch (due) {
    case Due::Past:
        return DateLevel::Alert;
    case Due::Near:
        return DateLevel::Warning;
    case Due::No:
        break;
    }
    return DateLevel::Normal;
}

// The store's own rule, so that colours match the counters exactly.
DateLevel DateState(bool inForce, double date, std::int16_t days, double today) {
    return LevelOfDue(ardeko::clsPW::DueState(inForce, date, days, today));
}

QColor DateLevelColour(DateLevel level) {
    return ByDateLevel(level, QColor(255, 0, 0), QColor(255, 255, 0), QColor(0, 255, 0));
}

QColor DateLevelTint(DateLevel level) {
    constexpr int kAlpha = 80; // of 255: the text's contrast with the base stays
    return ByDateLevel(level, QColor(230, 40, 40, kAlpha), QColor(240, 180, 0, kAlpha), QColor());
}

} // namespace qvs
