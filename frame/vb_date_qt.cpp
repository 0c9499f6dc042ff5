#include "frame/vb_date_qt.h"

#include "store/vbdate.h"

#include <algorithm>
#include <cmath>

namespace qvs {

namespace {
const QDate kDayZero(1899, 12, 30);
}

// A date out of the store's range (a damaged record) shows as the nearest
// date it can hold.
QDate DateFromVb(double vbDate) {
    if (!std::isfinite(vbDate)) vbDate = 0;
    vbDate = std::clamp(vbDate, ardeko::kVbDateMin, ardeko::kVbDateMax);
    return kDayZero.addDays(static_cast<qint64>(ardeko::VbDatePart(vbDate)));
}

QDateTime DateTimeFromVb(double vbDate) {
    const ardeko::VbDateTime t = ardeko::VbDateToParts(vbDate);
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
}

double VbFromDate(const QDate& date) {
    return static_cast<double>(kDayZero.daysTo(date));
}

QDate FirstVbDate() {
    return DateFromVb(ardeko::kVbDateMin);
}

QDate LastVbDate() {
    return DateFromVb(std::floor(ardeko::kVbDateMax));
}

} // namespace qvs
