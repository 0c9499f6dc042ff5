#include "frame/vb_date_qt.h"

#include "store/vbdate.h"

#include <algorithm>
#include <cmath>

namespace qvs {

namespace {

QDate DateOf(const ardeko::VbDateTime& t) {
    return QDate(t.year, t.month, t.day);
}

} // namespace

// A date out of the store's range (a damaged record) shows as the nearest
// date it can hold.
QDate DateFromVb(double vbDate) {
    if (!std::isfinite(vbDate)) vbDate = 0;
    vbDate = std::clamp(vbDate, ardeko::kVbDateMin, ardeko::kVbDateMax);
    return DateOf(ardeko::VbDateToParts(vbDate));
}

QDateTime DateTimeFromVb(double vbDate) {
    const ardeko::VbDateTime t = ardeko::VbDateToParts(vbDate);
    return QDateTime(DateOf(t), QTime(t.hour, t.minute, t.second));
}

double VbFromDate(const QDate& date) {
    if (!date.isValid()) return 0;
    return ardeko::VbDateFromParts({date.year(), date.month(), date.day(), 0, 0, 0});
}

QDate FirstVbDate() {
    return DateFromVb(ardeko::kVbDateMin);
}

QDate LastVbDate() {
    return DateFromVb(std::floor(ardeko::kVbDateMax));
}

QString DateDisplayFormat() {
    return QStringLiteral("dd/MM/yyyy");
}

QString DayMonthYearText(double vbDate) {
    if (!ardeko::VbDateInRange(vbDate)) return {};
    return DateFromVb(vbDate).toString(DateDisplayFormat());
}

QString DateTimeText(double vbDate) {
    return DateTimeFromVb(vbDate).toString(DateDisplayFormat() + QStringLiteral(" HH:mm"));
}

} // namespace qvs
