#include "tray/due_reminder_service.h"

#include "app/lock_controller.h"
#include "dialogs/frm_check_expire.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "frame/program_state.h"

namespace qvs {

namespace {

// The first check waits for the start-up windows (the check at load among
// them); later checks catch the change of day and entries that became due.
constexpr int kFirstCheckMs = 2000;
constexpr int kCheckEveryMs = 10 * 60 * 1000;

} // namespace

DueReminderService::DueReminderService(DueReminder::Clock now, QObject* parent)
    : QObject(parent), reminder_(std::move(now)) {
    connect(&timer_, &QTimer::timeout, this, &DueReminderService::CheckNow);
}

void DueReminderService::Start() {
    QTimer::singleShot(kFirstCheckMs, this, &DueReminderService::CheckNow);
    timer_.start(kCheckEveryMs);
}

void DueReminderService::CheckNow() {
    if (!Opt().RemindDue || !show_ || !App().store || App().startingUp || Locking().IsLocked())
        return;
    const DueEntries due = DueEntriesOf(*App().store, reminder_.Today());
    if (ModalDepth() > 0) {
        // Whoever has the list of due passwords open needs no reminder of them.
        if (qobject_cast<frmCheckExpire*>(TopModal())) reminder_.Acknowledge(due);
        return;
    }
    // Only a reminder that reached the user counts: without a notification
    // service or a tray host it is tried again at the next check.
    const auto counts = reminder_.Check(due);
    if (counts && show_(DueReminderTitle(), DueReminderText(*counts))) reminder_.Acknowledge(due);
}

void DueReminderService::OpenList() {
    if (ModalDepth() > 0) {
        RaiseModalWindows();
        return;
    }
    if (Locking().IsLocked() && !Locking().UnlockWithPrompt()) return;
    View_Expires(true);
}

} // namespace qvs
