// Whether the desktop session in the environment can hold qvs-clip's
// clipboard, checked before Qt starts: Qt ends the process, without a word
// to the caller, on a display it cannot open. No Qt here: Xlib's macros
// clash with it.
#pragma once

#include <string>

namespace qvs::clip {

// Why no clipboard can be reached; empty when the X display ($DISPLAY, on
// Wayland XWayland's) opens.
std::string SessionProblem();

} // namespace qvs::clip
