#include "dialogs/expiry_lines.h"

#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/vb_date_qt.h"
#include "store/pw.h"

#include <cmath>

namespace qvs {

namespace {

// What differs between the expiry and the change line.
struct DueKind {
    double ardeko::T_Password::*date;
    int pastText;
    int aheadText;
    int oneDayAheadText;
    QString ExpiryLine::*dateColumn;
};

constexpr DueKind kExpiry{&ardeko::T_Password::Dt_Expire, text::kExpiredOn, text::kDaysToExpiry,
                          text::kDayToExpiry, &ExpiryLine::expDate};
constexpr DueKind kChange{&ardeko::T_Password::Dt_Change, text::kChangeDueSince,
                          text::kDaysToChange, text::kDayToChange, &ExpiryLine::changeDate};

void AddLine(std::vector<ExpiryLine>& lines, const ardeko::T_Password& p, const DueKind& kind,
             ardeko::clsPW::Due due, double today) {
    using Due = ardeko::clsPW::Due;
    if (due == Due::No) return; // a near date counts only when warned ahead (DueOf)
    const double date = p.*kind.date;
    ExpiryLine line;
    line.service = QString::fromStdString(p.service);
    line.*kind.dateColumn = DayMonthYearText(date);
    if (due == Due::Past) {
        line.status = GetLocalText(kind.pastText) + DayMonthYearText(date);
        line.level = DateLevel::Alert;
    } else {
        // At least one day: the date is after today.
        const auto days = static_cast<long long>(std::ceil(date - today));
        line.status =
            QString::number(days) + GetLocalText(days == 1 ? kind.oneDayAheadText : kind.aheadText);
        line.level = DateLevel::Warning;
    }
    lines.push_back(std::move(line));
}

} // namespace

std::vector<ExpiryLine> ExpiryLines(const ardeko::clsPW& store) {
    std::vector<ExpiryLine> lines;
    const double today = store.Today();
    for (const ardeko::T_Password& p : store.Password()) {
        const ardeko::clsPW::DueStatus due = store.DueOf(p);
        AddLine(lines, p, kExpiry, due.expiry, today);
        AddLine(lines, p, kChange, due.change, today);
    }
    return lines;
}

} // namespace qvs
