#include "frame/main_window_iface.h"

namespace qvs {

namespace {
IMainWindow* g_mainWindow = nullptr;
}

IMainWindow* CurrentMainWindow() {
    return g_mainWindow;
}

void SetCurrentMainWindow(IMainWindow* window) {
    g_mainWindow = window;
}

} // namespace qvs
