#include "mainwin/later_windows.h"

#include "frame/main_window_iface.h"

namespace qvs {

void GotoSysTray() {
    GoToTray();
}

} // namespace qvs
