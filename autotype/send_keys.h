// Typing a login into the window the user was working in, from Qt code.
#pragma once

#include "autotype/x11_typing.h"

#include <QString>

#include <vector>

namespace qvs {

// Splits a key string into strokes: "{TAB}" and "{ENTER}" (any letter case)
// are the Tab and Enter keys; everything else is typed as it stands.
std::vector<x11::Stroke> ParseKeyString(const QString& keys);

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
