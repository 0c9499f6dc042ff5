#include "frame/due_dates.h"

#include "store/pw.h"
#include "store/vbdate.h"

namespace qvs {

// The store's own rule, so that colours match the counters exactly.
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

QColor DateLevelColour(DateLevel level) {
    return ByDateLevel(level, QColor(255, 0, 0), QColor(255, 255, 0), QColor(0, 255, 0));
}

QString DayMonthYearText(double date) {
    if (!ardeko::VbDateInRange(date)) return {};
    const ardeko::VbDateTime t = ardeko::VbDateToParts(date);
    return QString::asprintf("%02d/%02d/%04d", t.day, t.month, t.year);
}

} // namespace qvs
