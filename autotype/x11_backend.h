// Typing through X11's XTest: X11 sessions, and programs running through
// XWayland where this program itself runs on X11.
#pragma once

#include "autotype/typing_backend.h"
#include "autotype/x11_typing.h"

class QSocketNotifier;

namespace qvs {

class X11TypingBackend : public TypingBackend {
    Q_OBJECT
public:
    // waylandSession: the desktop is Wayland, so only XWayland programs can
    // be reached.
    explicit X11TypingBackend(bool waylandSession, QObject* parent = nullptr);

    QString Name() const override { return QStringLiteral("x11"); }
    TypingSupport Support() const override;
    bool KnowsWindows() const override { return true; }
    std::uint64_t ActiveWindow() override { return x11::ActiveWindow(); }
    bool IsOwnWindow(std::uint64_t window) override;
    void Type(std::uint64_t window, const KeyStrokes& strokes, TypingDone done) override;

private:
    bool waylandSession_;
    x11::ActiveWindowWatch watch_;
    QSocketNotifier* notifier_ = nullptr;
};

// Where nothing can be typed: every attempt ends with NoDisplay.
class NoTypingBackend : public TypingBackend {
    Q_OBJECT
public:
    using TypingBackend::TypingBackend;
    QString Name() const override { return QStringLiteral("none"); }
    TypingSupport Support() const override { return TypingSupport::None; }
    bool KnowsWindows() const override { return true; }
    std::uint64_t ActiveWindow() override { return 0; }
    bool IsOwnWindow(std::uint64_t) override { return false; }
    void Type(std::uint64_t, const KeyStrokes&, TypingDone done) override {
        done({TypeResult::NoDisplay, 0});
    }
};

} // namespace qvs
