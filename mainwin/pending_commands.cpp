#include "mainwin/pending_commands.h"

#include "export/frm_exp_print.h"
#include "frame/main_window_iface.h"

#include <QMainWindow>
#include <QStatusBar>

namespace qvs {

namespace {

// The export runs without returning to the event loop: the status bar is
// painted at once so the progress shows.
void ShowInStatusBar(const QString& text) {
    IMainWindow* main = CurrentMainWindow();
    auto* window = main ? qobject_cast<QMainWindow*>(main->MainWidget()) : nullptr;
    if (!window) return;
    if (text.isEmpty())
        window->statusBar()->clearMessage();
    else
        window->statusBar()->showMessage(text);
    window->statusBar()->repaint();
}

} // namespace

void ShowExportPrintWindow(int mode) {
    ExportPrint(mode, ShowInStatusBar);
}

} // namespace qvs
