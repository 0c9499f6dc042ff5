#include "tray/due_reminder.h"

#include "frame/language.h"
#include "frame/vb_date_qt.h"
#include "store/pw.h"
#include "tray/text_ids.h"

namespace qvs {

namespace {

QSet<QString> Marked(const DueEntries& due) {
    QSet<QString> marked;
    // Kind, file and service: a name cannot end a file name with a new line.
    const QString file = due.file + QLatin1Char('\n');
    for (const QString& service : due.expired)
        marked.insert(QLatin1Char('e') + file + service);
    for (const QString& service : due.changeDue)
        marked.insert(QLatin1Char('c') + file + service);
    return marked;
}

QString CountLine(int count, int one, int many) {
    return GetLocalText(count == 1 ? one : many)
        .replace(QLatin1String("%n"), QString::number(count));
}

} // namespace

DueEntries DueEntriesOf(const ardeko::clsPW& store, const QDate& day) {
    using Due = ardeko::clsPW::Due;
    const double today = VbFromDate(day);
    DueEntries due;
    due.file = QString::fromStdString(store.Filename());
    for (const ardeko::T_Password& p : store.Password()) {
        const QString service = QString::fromStdString(p.service);
        if (ardeko::clsPW::DueState(p.blExpire, p.Dt_Expire, p.ggNotExpire, today) == Due::Past)
            due.expired.insert(service);
        if (ardeko::clsPW::DueState(p.blChange, p.Dt_Change, p.ggNotChange, today) == Due::Past)
            due.changeDue.insert(service);
    }
    return due;
}

DueReminder::DueReminder(Clock now) : now_(std::move(now)) {}

std::optional<DueCounts> DueReminder::Check(const DueEntries& due) const {
    const QSet<QString> marked = Marked(due);
    if (marked.isEmpty() || (Today() == day_ && known_.contains(marked))) return std::nullopt;
    return DueCounts{int(due.expired.size()), int(due.changeDue.size())};
}

void DueReminder::Acknowledge(const DueEntries& due) {
    const QDate today = Today();
    if (today != day_) known_.clear();
    day_ = today;
    known_.unite(Marked(due));
}

QString DueReminderText(const DueCounts& counts) {
    QStringList lines;
    if (counts.expired > 0)
        lines << CountLine(counts.expired, text::kDueExpiredOne, text::kDueExpiredMany);
    if (counts.changeDue > 0)
        lines << CountLine(counts.changeDue, text::kDueChangeOne, text::kDueChangeMany);
    lines << GetLocalText(text::kReminderClick);
    return lines.join(QLatin1Char('\n'));
}

QString DueReminderTitle() {
    return GetLocalText(text::kReminderTitle);
}

} // namespace qvs
