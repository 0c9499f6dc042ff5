#include "autotype/x11_backend.h"

#include "autotype/send_keys.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWindow>

namespace qvs {

X11TypingBackend::X11TypingBackend(bool waylandSession, QObject* parent)
    : TypingBackend(parent), waylandSession_(waylandSession) {
    if (watch_.Socket() < 0) return;
    notifier_ = new QSocketNotifier(watch_.Socket(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        if (const auto active = watch_.TakeChange()) emit ActiveWindowChanged(*active);
    });
}

TypingSupport X11TypingBackend::Support() const {
    return waylandSession_ ? TypingSupport::XWaylandOnly : TypingSupport::Full;
}

bool X11TypingBackend::IsOwnWindow(std::uint64_t window) {
    const auto windows = QGuiApplication::allWindows();
    // handle() first: winId() would create a native window for a hidden one.
    return std::any_of(windows.begin(), windows.end(), [window](const QWindow* own) {
        return own->handle() && own->winId() == window;
    });
}

void X11TypingBackend::Type(std::uint64_t window, const KeyStrokes& strokes, TypingDone done) {
    done({TypeInto(window, strokes), 0});
}

} // namespace qvs
