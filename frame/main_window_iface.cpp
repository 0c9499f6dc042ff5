#include "frame/main_window_iface.h"

namespace qvs {

namespace {
IMainWindow* g_mainWindow = nullptr;

WindowSwitch& Moves() {
    static WindowSwitch moves;
    return moves;
}
} // namespace

IMainWindow* CurrentMainWindow() {
    return g_mainWindow;
}

void SetCurrentMainWindow(IMainWindow* window) {
    g_mainWindow = window;
}

void SetWindowSwitch(WindowSwitch moves) {
    Moves() = std::move(moves);
}

void GoToTray() {
    if (Moves().toTray) Moves().toTray();
}

void GoToMainWindow() {
    if (Moves().toMainWindow) Moves().toMainWindow();
}

} // namespace qvs
