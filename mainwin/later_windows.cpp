#include "mainwin/later_windows.h"

#include "frame/main_window_iface.h"
#include "mainwin/pending_commands.h"

namespace qvs {

void SaveLayoutNow() {
    ShowNotAvailableYet();
}

void GotoSysTray() {
    GoToTray();
}

} // namespace qvs
