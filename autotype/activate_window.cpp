#include "autotype/activate_window.h"

#include <QWidget>

namespace qvs {

void ActivateWindow(QWidget* window) {
    if (!window) return;
    if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace qvs
