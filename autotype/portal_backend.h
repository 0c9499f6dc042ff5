// Typing through the desktop portal's remote keyboard: GNOME and KDE Plasma
// on Wayland, where no program may learn which window another one has. The
// login goes to the window that has the focus.
#pragma once

#include "autotype/portal_keyboard.h"
#include "autotype/typing_backend.h"

#include <memory>

namespace qvs {

class PortalTypingBackend : public TypingBackend {
    Q_OBJECT
public:
    // nullptr when the session bus has no desktop portal to ask, so that
    // the X11 back-end can still reach programs running through XWayland.
    static std::unique_ptr<TypingBackend> Connect();

    explicit PortalTypingBackend(const QDBusConnection& bus, QObject* parent = nullptr);
    ~PortalTypingBackend() override;

    QString Name() const override { return QStringLiteral("portal"); }
    TypingSupport Support() const override { return TypingSupport::Full; }
    bool KnowsWindows() const override { return false; }
    std::uint64_t ActiveWindow() override { return kFocusedWindow; }
    bool IsOwnWindow(std::uint64_t) override { return false; }
    void Type(std::uint64_t window, const KeyStrokes& strokes, TypingDone done) override;

private:
    void OnFinished(portal::TypeResult result);

    portal::Keyboard keyboard_;
    TypingDone pending_; // the typing under way, answered once
};

} // namespace qvs
