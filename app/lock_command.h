// The Lock command of every window, menu and key: the main window's File
// menu, both programs' tray menus, Ctrl+L in the windows that show an entry.
#pragma once

namespace qvs {

// Locks the open file now; a file without a password cannot lock, and the
// user is told so.
void LockOnDemand();

// Makes the Lock key of the lower layers' windows lock (at start-up).
void InstallLockCommand();

} // namespace qvs
