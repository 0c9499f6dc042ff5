#include "mainwin/date_state.h"

namespace qvs {

DateLevel DateState(bool inForce, double date, std::int16_t days, double today) {
    if (!inForce) return DateLevel::Normal;
    if (date < today) return DateLevel::Alert;
    if (date < today + days) return DateLevel::Warning;
    return DateLevel::Normal;
}

} // namespace qvs
