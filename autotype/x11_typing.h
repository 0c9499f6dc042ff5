// Typing into another program's window on an X11 display: find the window
// that was active, bring it back, and type keystrokes into it with XTest so
// that every character arrives, whatever the keyboard layout. No X11 or Qt
// types cross this header: Xlib's macros clash with Qt's.
#pragma once

#include "autotype/type_result.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qvs::x11 {

// One piece of a login: literal text, or the Tab or Enter key.
struct Stroke {
    enum class Kind { Text, Tab, Enter };
    Kind kind = Kind::Text;
    std::u32string text; // for Kind::Text
};

// NoDisplay: no X display could be opened, or it lacks XTest.
using TypeResult = qvs::TypeResult;

// Whether an X display with XTest can be reached ($DISPLAY).
bool Available();

// The window the window manager reports active, 0 when none or no display.
std::uint64_t ActiveWindow();

// Makes window active (restoring it when minimised), waits until it is,
// releases modifier keys the user still holds, and types the strokes. Locked
// modifiers (Caps Lock, Num Lock) are released while typing and restored
// after. Typing stops as soon as window is no longer the active one.
TypeResult ActivateAndType(std::uint64_t window, const std::vector<Stroke>& strokes);

// Learns when the window manager makes another window active, over an X
// connection of its own that listens to the root window: the caller waits
// on Socket() and then calls TakeChange().
class ActiveWindowWatch {
public:
    ActiveWindowWatch();
    ~ActiveWindowWatch();
    ActiveWindowWatch(const ActiveWindowWatch&) = delete;
    ActiveWindowWatch& operator=(const ActiveWindowWatch&) = delete;

    // -1 without an X display.
    int Socket() const;
    // Reads everything that arrived; the window active after the last change
    // among it, none when the active window did not change.
    std::optional<std::uint64_t> TakeChange();

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

} // namespace qvs::x11
