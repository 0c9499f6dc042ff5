// The lines of the expiry check: one per entry whose password has expired or
// is about to, and one per entry whose password is due or about to be due
// for a change.
#pragma once

#include "frame/due_dates.h"

#include <QString>

#include <vector>

namespace ardeko {
class clsPW;
}

namespace qvs {

struct ExpiryLine {
    QString service;
    QString expDate;    // set on an expiry line
    QString changeDate; // set on a change line
    QString status;     // "Expired on 01/02/2026", "3 day(s) to expiry" ...
    DateLevel level;    // Alert when the date has come, else Warning
};

// In the store's order, each entry's expiry line before its change line.
// Dates count as the store's counters count them, against the store's today;
// a date ahead is reported only when the entry asks for the warning
// (blNotExpire, blNotChange).
std::vector<ExpiryLine> ExpiryLines(const ardeko::clsPW& store);

} // namespace qvs
