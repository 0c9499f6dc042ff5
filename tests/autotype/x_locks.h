// The keyboard's lock state on the test's X display, for the typing tests.
// Kept apart from Qt: Xlib's macros clash with Qt's headers.
#pragma once

namespace xlocks {

// Locks or unlocks Caps Lock and Num Lock; false without a display.
bool SetLocks(bool capsLock, bool numLock);
// Whether Caps Lock and Num Lock are locked now.
bool CapsLockOn();
bool NumLockOn();

} // namespace xlocks
