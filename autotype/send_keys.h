// Typing a login into the window the user was working in, from Qt code.
#pragma once

#include "autotype/login_text.h"
#include "autotype/x11_typing.h"

#include <QString>

#include <cstdint>

namespace qvs {

// Splits a key string into strokes: "{TAB}" and "{ENTER}" (any letter case)
// are the Tab and Enter keys; everything else is typed as it stands.
KeyStrokes ParseKeyString(const QString& keys);

// Brings window back and types the strokes into it.
x11::TypeResult TypeInto(std::uint64_t window, const KeyStrokes& strokes);

// Tells the user why nothing was typed, or why typing stopped halfway;
// nothing for Typed.
void ReportTypingResult(x11::TypeResult result);

enum class TypingSupport {
    Full,         // an X11 session
    XWaylandOnly, // a Wayland session: only programs running through XWayland
    None,         // no X display with XTest: typing is impossible
};
TypingSupport CurrentTypingSupport();
// The text that explains a limited or missing support (0 for Full), for the
// tool tips of the typing commands.
int TypingSupportTextId(TypingSupport support);

} // namespace qvs
