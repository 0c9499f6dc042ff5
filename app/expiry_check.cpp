#include "app/expiry_check.h"

#include "dialogs/frm_check_expire.h"
#include "frame/program_state.h"

#include <QCoreApplication>
#include <QTimer>

namespace qvs {

void RunExpiryCheck() {
    // At start-up the list waits for the main window, so that it opens over
    // it instead of holding up its start.
    if (App().startingUp)
        QTimer::singleShot(0, QCoreApplication::instance(), [] { View_Expires(false); });
    else
        View_Expires(false);
}

} // namespace qvs
