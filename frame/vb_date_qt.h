// The store's dates (store/vbdate.h) as Qt dates and back, and the one way
// the windows write them out.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace qvs {

QDate DateFromVb(double vbDate);
QDateTime DateTimeFromVb(double vbDate);
// 0 for a date that is not valid.
double VbFromDate(const QDate& date);

// The whole dates the store can hold.
QDate FirstVbDate();
QDate LastVbDate();

// "dd/MM/yyyy", the format of every date a window shows or takes.
QString DateDisplayFormat();
// A store date as "dd/mm/yyyy"; empty for a value that is no valid date.
QString DayMonthYearText(double vbDate);
// A store date with its time of day, as "dd/mm/yyyy hh:mm".
QString DateTimeText(double vbDate);

} // namespace qvs
