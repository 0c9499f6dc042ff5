#include "frame/window_placement.h"

#include "frame/settings_store.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace qvs {

namespace {

// How much of a restored window must be on a screen to be reachable.
constexpr int kMinVisible = 40;

QString Key(const QString& name, const char* suffix) {
    return name + QLatin1String(suffix);
}

bool Reachable(const QRect& frame) {
    if (frame.width() <= 0 || frame.height() <= 0) return false;
    const int needW = qMin(kMinVisible, frame.width());
    const int needH = qMin(kMinVisible, frame.height());
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect seen = screen->availableGeometry().intersected(frame);
        if (seen.width() >= needW && seen.height() >= needH) return true;
    }
    return false;
}

QRect StoredPlace(const SettingsStore& store, const QString& name, const QWidget* window) {
    return QRect(store.ReadNumber(Key(name, "-X"), window->x()),
                 store.ReadNumber(Key(name, "-Y"), window->y()),
                 store.ReadNumber(Key(name, "-W"), window->width()),
                 store.ReadNumber(Key(name, "-H"), window->height()));
}

} // namespace

void CentreWindow(QWidget* window) {
    const QWidget* parent = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    QRect area;
    if (parent && parent->isVisible())
        area = parent->frameGeometry();
    else if (const QScreen* screen = window->screen())
        area = screen->availableGeometry();
    if (area.isEmpty()) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    window->move(frame.topLeft());
}

void RestoreWindowPlacement(QWidget* window, const QString& name) {
    CentreWindow(window);
    const SettingsStore store;
    // The place is kept for a maximised window too: it is where the window
    // goes back to when it is made normal again.
    const QRect place = StoredPlace(store, name, window);
    if (Reachable(place)) {
        window->move(place.topLeft());
        window->resize(place.size());
    }
    switch (store.ReadNumber(Key(name, "-State"), kPlacementNormal)) {
    case kPlacementMinimised:
        window->setWindowState(window->windowState() | Qt::WindowMinimized);
        break;
    case kPlacementMaximised:
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
        break;
    default:
        break;
    }
}

void SaveWindowPlacement(const QWidget* window, const QString& name) {
    SettingsStore store;
    const int state = window->isMinimized()   ? kPlacementMinimised
                      : window->isMaximized() ? kPlacementMaximised
                                              : kPlacementNormal;
    store.WriteNumber(Key(name, "-State"), state);
    if (state != kPlacementNormal) return;
    store.WriteNumber(Key(name, "-X"), window->x());
    store.WriteNumber(Key(name, "-Y"), window->y());
    store.WriteNumber(Key(name, "-W"), window->width());
    store.WriteNumber(Key(name, "-H"), window->height());
}

} // namespace qvs
