// What the tests that type into native Wayland programs share: waiting for
// windows to become active through the session's typing back-end, taking
// the focus with a window of our own, and Caps Lock held on by a keyboard of
// another client.
#pragma once

#include "autotype/typing_backend.h"
#include "tests/autotype/wayland_desktop.h"
#include "tests/autotype/x_desktop.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QWidget>

#include <cstdint>

namespace wayland_typing {

inline constexpr int kWaitMs = 20000;

inline qvs::TypingBackend& Backend() {
    return qvs::CurrentTypingBackend();
}

// The window that becomes active and is none of ours nor except; 0 when
// none comes in time.
inline std::uint64_t WaitOtherActive(std::uint64_t except = 0) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kWaitMs) {
        const std::uint64_t active = Backend().ActiveWindow();
        if (active != 0 && active != except && !Backend().IsOwnWindow(active)) return active;
        QTest::qWait(50);
    }
    return 0;
}

// Shows a window of ours and waits until the desktop made it active.
inline bool TakeFocus(QWidget& own) {
    own.show();
    own.activateWindow();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kWaitMs) {
        if (Backend().IsOwnWindow(Backend().ActiveWindow())) return true;
        QTest::qWait(50);
    }
    return false;
}

// Turns Caps Lock on from a keyboard of its own (which keeps it on until
// that keyboard ends, a while later), and types "x" with it, which shows as
// "X" while the lock holds. False when the keyboard did not start.
inline bool CapsLockOnAndTypeX(QProcess& keyboard, const WaylandDesktop& desktop) {
    keyboard.setProcessEnvironment(desktop.Environment());
    keyboard.start(QStringLiteral("wtype"),
                   {QStringLiteral("-s"), QStringLiteral("300"), QStringLiteral("-M"),
                    QStringLiteral("capslock"), QStringLiteral("x"), QStringLiteral("-s"),
                    QStringLiteral("8000")});
    if (!keyboard.waitForStarted()) return false;
    QTest::qWait(1000);
    return true;
}

// A login form of another program, shown and active, with Caps Lock on.
struct LockedForm {
    explicit LockedForm(const WaylandDesktop& desktop) : form(desktop.Environment()) {}
    // False when the form did not show or become active, or no lock came.
    bool Ready(const WaylandDesktop& desktop) {
        return form.Window() != 0 && WaitOtherActive() != 0 &&
               CapsLockOnAndTypeX(capsKeyboard, desktop);
    }
    TargetForm form;
    QProcess capsKeyboard;
};

} // namespace wayland_typing
