// When to remind the user of passwords that have expired or are due for a
// change. A program that lives in the tray for weeks must not leave that
// to the check at load: the first check of each day reminds of everything
// due, and later checks that day only when something became due that was
// not reminded yet. The clock is given, so that tests can move the day.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

namespace ardeko {
class clsPW;
}

namespace qvs {

// Entries (by service name) whose expiry date, or whose change date, has
// come, in the data file of that name: entries of another file are other
// entries, whatever their names.
struct DueEntries {
    QSet<QString> expired;
    QSet<QString> changeDue;
    QString file;
};

// What is due in store on day.
DueEntries DueEntriesOf(const ardeko::clsPW& store, const QDate& day);

// How many entries a reminder tells of: only numbers, never names.
struct DueCounts {
    int expired = 0;
    int changeDue = 0;
    bool operator==(const DueCounts&) const = default;
};

class DueReminder {
public:
    using Clock = std::function<QDateTime()>;

    explicit DueReminder(Clock now);

    // The reminder to show now, counting everything due; nothing when there
    // is nothing to tell. Nothing counts as reminded until Acknowledge.
    std::optional<DueCounts> Check(const DueEntries& due) const;
    // Counts what is due as reminded: the reminder was shown, or the user is
    // looking at the list of it already.
    void Acknowledge(const DueEntries& due);

    QDate Today() const { return now_().date(); }

private:
    Clock now_;
    QDate day_;           // of the last reminder
    QSet<QString> known_; // reminded that day, marked by kind
};

// The reminder's text: one line per kind that has entries, in the singular
// or plural as the number asks.
QString DueReminderText(const DueCounts& counts);
// Its title.
QString DueReminderTitle();

} // namespace qvs
