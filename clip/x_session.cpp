#include "clip/x_session.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace qvs::clip {

std::string SessionProblem() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        if (const char* wayland = std::getenv("WAYLAND_DISPLAY"); wayland && *wayland)
            // A program without a window cannot set a Wayland clipboard.
            return "the Wayland session offers no XWayland (DISPLAY is not set), through "
                   "which the clipboard is reached";
        return "no desktop session was found (neither DISPLAY nor WAYLAND_DISPLAY is set)";
    }
    Display* connection = XOpenDisplay(display);
    if (!connection) return std::string("the X display \"") + display + "\" cannot be reached";
    XCloseDisplay(connection);
    return {};
}

} // namespace qvs::clip
