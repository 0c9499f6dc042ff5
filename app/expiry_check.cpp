#include "app/expiry_check.h"

#include "dialogs/frm_check_expire.h"
#include "frame/modal_stack.h"
#include "frame/program_state.h"

#include <QCoreApplication>
#include <QTimer>

namespace qvs {

namespace {

// How often a list held back at start-up looks whether its turn has come.
constexpr int kTurnCheckMs = 200;

// At start-up the list waits for the main window, and then for the windows
// the start opens first (the tip of the day, a question about the file):
// one window at a time, each closable, rather than a list under a tip that
// cannot be reached.
void ShowWhenNothingElseIsOpen() {
    if (App().startingUp || ModalDepth() > 0) {
        QTimer::singleShot(kTurnCheckMs, QCoreApplication::instance(), ShowWhenNothingElseIsOpen);
        return;
    }
    View_Expires(false);
}

} // namespace

void RunExpiryCheck() {
    if (App().startingUp)
        QTimer::singleShot(0, QCoreApplication::instance(), ShowWhenNothingElseIsOpen);
    else
        View_Expires(false);
}

} // namespace qvs
