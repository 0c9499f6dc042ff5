// Typing a login into the window the user was working in, from Qt code.
#pragma once

#include "autotype/x11_typing.h"

#include <QString>

#include <vector>

namespace qvs {

// Splits a key string into strokes: "{TAB}" and "{ENTER}" (any letter case)
// are the Tab and Enter keys; everything else is typed as it stands.
std::vector<x11::Stroke> ParseKeyString(const QString& keys);

// The strokes of a login: user name, the key between, password, the key
// after. Key codes: 8 Tab, 13 Enter, -1 the custom text (where "{TAB}" and
// "{ENTER}" name keys), anything else nothing. The user name and password
// are always typed as they stand, so a password holding "{ENTER}" cannot
// press Enter.
std::vector<x11::Stroke> LoginStrokes(const QString& user, const QString& password, int beforeCode,
                                      const QString& beforeText, int afterCode,
                                      const QString& afterText);

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
