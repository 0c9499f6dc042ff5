#include "tests/autotype/x_locks.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace xlocks {

namespace {

struct Connection {
    Connection() : display(XOpenDisplay(nullptr)) {}
    ~Connection() {
        if (display) XCloseDisplay(display);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Display* display;
};

unsigned int NumLockMask(Display* display) {
    return XkbKeysymToModifiers(display, XK_Num_Lock);
}

unsigned int LockedMods() {
    Connection x;
    XkbStateRec state;
    if (!x.display || XkbGetState(x.display, XkbUseCoreKbd, &state) != Success) return 0;
    return state.locked_mods | (NumLockMask(x.display) & state.locked_mods ? 0x10000u : 0u);
}

} // namespace

bool SetLocks(bool capsLock, bool numLock) {
    Connection x;
    if (!x.display) return false;
    const unsigned int num = NumLockMask(x.display);
    const unsigned int mask = LockMask | num;
    const unsigned int values = (capsLock ? LockMask : 0u) | (numLock ? num : 0u);
    XkbLockModifiers(x.display, XkbUseCoreKbd, mask, values);
    XSync(x.display, False);
    return true;
}

bool CapsLockOn() {
    return (LockedMods() & LockMask) != 0;
}

bool NumLockOn() {
    return (LockedMods() & 0x10000u) != 0;
}

} // namespace xlocks
