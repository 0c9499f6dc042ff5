#include "autotype/previous_window.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWindow>

namespace qvs {

bool IsOwnWindow(std::uint64_t window) {
    const auto windows = QGuiApplication::allWindows();
    // handle() first: winId() would create a native window for a hidden one.
    return std::any_of(windows.begin(), windows.end(), [window](const QWindow* own) {
        return own->handle() && own->winId() == window;
    });
}

PreviousWindow::PreviousWindow(OwnTest isOwn, QObject* parent)
    : QObject(parent), isOwn_(std::move(isOwn)) {
    if (watch_.Socket() < 0) return;
    // The window active at start-up is where the user started us from.
    Note(x11::ActiveWindow());
    notifier_ = new QSocketNotifier(watch_.Socket(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        if (const auto active = watch_.TakeChange()) Note(*active);
    });
}

void PreviousWindow::Note(std::uint64_t active) {
    if (active != 0 && !isOwn_(active)) window_ = active;
}

} // namespace qvs
