#include "tray/stand_alone_menu.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMenu>

namespace qvs {

namespace {

// Whether a shown window of ours could carry the menu as a pop-up.
bool WindowShown(const QMenu& menu) {
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w != &menu && w->isVisible() && w->windowType() != Qt::Popup &&
            w->windowType() != Qt::ToolTip)
            return true;
    return false;
}

} // namespace

bool PrepareTrayMenu(QMenu& menu) {
    const bool alone =
        QGuiApplication::platformName() == QLatin1String("wayland") && !WindowShown(menu);
    // Without a frame Qt asks for none: the desktop draws no title bar.
    menu.setWindowFlag(Qt::FramelessWindowHint, alone);
    if (alone) {
        menu.adjustSize();
        menu.setFixedSize(menu.sizeHint());
    } else {
        menu.setMinimumSize(0, 0);
        menu.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    return alone;
}

} // namespace qvs
