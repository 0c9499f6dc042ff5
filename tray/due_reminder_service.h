// Reminds the user of due passwords while the program runs: soon after the
// start and then at regular checks, through whatever the current window
// offers (the tray icon's message, or the desktop's notification service).
// Clicking the reminder opens the list of what is due.
#pragma once

#include "tray/due_reminder.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace qvs {

class DueReminderService : public QObject {
    Q_OBJECT
public:
    // Shows a reminder; false when it could not be shown.
    using Show = std::function<bool(const QString& title, const QString& text)>;

    explicit DueReminderService(DueReminder::Clock now = &QDateTime::currentDateTime,
                                QObject* parent = nullptr);

    // How reminders reach the user now; empty while there is no way (they
    // then wait, and nothing counts as reminded).
    void SetShow(Show show) { show_ = std::move(show); }
    // Checks shortly, and from then on at regular times.
    void Start();

    // Reminds of what became due, unless reminders are off, the file is
    // locked, or a dialog is open (the check then waits for the next time).
    void CheckNow();
    // The reminder was clicked: the list of what is due opens, after the
    // password when the file is locked; an open dialog is brought forward
    // instead of opening another window over it.
    void OpenList();

private:
    DueReminder reminder_;
    Show show_;
    QTimer timer_;
};

} // namespace qvs
