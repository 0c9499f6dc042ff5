// The one way this program types into other programs' windows, whatever the
// desktop: a typing back-end chosen at run time (X11's XTest, a wlroots
// compositor's virtual keyboard, or the desktop portal's remote keyboard)
// behind one interface. The tray, the main window and QVSLite type only
// through it.
#pragma once

#include "autotype/login_text.h"
#include "autotype/type_result.h"

#include <QLoggingCategory>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

Q_DECLARE_LOGGING_CATEGORY(lcTyping)

namespace qvs {

enum class TypingSupport {
    Full,         // other programs' windows can be typed into
    XWaylandOnly, // a Wayland session typed into through X11: XWayland programs only
    None,         // no way to type here
};

// A window id meaning "whichever window has the keyboard focus", for
// back-ends that cannot tell other programs' windows apart.
inline constexpr std::uint64_t kFocusedWindow = ~std::uint64_t{0};

// How a typing attempt ended. textId, when not 0, is the back-end's own
// explanation (a consent the user refused, a portal missing or too old),
// shown in place of the result's general one.
struct TypingOutcome {
    TypeResult result = TypeResult::Typed;
    int textId = 0;
};
using TypingDone = std::function<void(const TypingOutcome&)>;

class TypingBackend : public QObject {
    Q_OBJECT
public:
    explicit TypingBackend(QObject* parent = nullptr) : QObject(parent) {}

    // The back-end's name in the log of a typing attempt ("x11", "wlroots",
    // "portal", "none").
    virtual QString Name() const = 0;
    virtual TypingSupport Support() const = 0;
    // Whether other programs' windows can be told apart and activated. When
    // not, ActiveWindow() answers kFocusedWindow and typing goes to the
    // window that has the focus.
    virtual bool KnowsWindows() const = 0;
    // The window active now: 0 when none, kFocusedWindow when unknowable.
    virtual std::uint64_t ActiveWindow() = 0;
    // Whether window is one of this program's own.
    virtual bool IsOwnWindow(std::uint64_t window) = 0;
    // Activates window (not for kFocusedWindow), then types strokes into it.
    // done is called exactly once, in this thread's event loop or before Type
    // returns: a back-end that first asks the user's consent answers later.
    // A back-end destroyed before it answered calls done with Failed.
    virtual void Type(std::uint64_t window, const KeyStrokes& strokes, TypingDone done) = 0;

signals:
    // Another window became active; back-ends that do not know windows never
    // say so.
    void ActiveWindowChanged(std::uint64_t window);
};

// The back-end for this session, chosen at its first use and kept for the
// program's life: on Wayland the compositor's virtual keyboard where it
// offers one, else the desktop portal's, else X11 (XWayland
// programs only); on X11, XTest; otherwise none.
TypingBackend& CurrentTypingBackend();

// Tests: puts backend in place of the chosen one (nullptr: choose again).
void ReplaceTypingBackendForTesting(std::unique_ptr<TypingBackend> backend);

} // namespace qvs
