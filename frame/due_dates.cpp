#include "frame/due_dates.h"

#include "store/vbdate.h"

namespace qvs {

DateLevel DateState(bool inForce, double date, std::int16_t days, double today) {
    if (!inForce) return DateLevel::Normal;
    if (today >= date) return DateLevel::Alert;
    if (today + days >= date) return DateLevel::Warning;
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
