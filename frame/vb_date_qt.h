// The store's dates (days since 30 December 1899) as Qt dates and back.
#pragma once

#include <QDate>
#include <QDateTime>

namespace qvs {

QDate DateFromVb(double vbDate);
QDateTime DateTimeFromVb(double vbDate);
double VbFromDate(const QDate& date);

// The whole dates the store can hold.
QDate FirstVbDate();
QDate LastVbDate();

} // namespace qvs
