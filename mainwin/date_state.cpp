#include "mainwin/date_state.h"

#include "store/pw.h"

namespace qvs {

DateLevel DateState(bool inForce, double date, std::int16_t days, double today) {
    using Due = ardeko::clsPW::Due;
    switch (ardeko::clsPW::DueState(inForce, date, days, today)) {
    case Due::Past:
        return DateLevel::Alert;
    case Due::Near:
        return DateLevel::Warning;
    case Due::No:
        break;
    }
    return DateLevel::Normal;
}

} // namespace qvs
