// The tray's Lock and Unlock, the same lock as the main window's, in both
// programs.
#pragma once

#include "tray/frm_tray.h"

namespace qvs {

// Sets the Lock and Unlock commands of actions.
void AddLockCommands(TrayActions& actions);

} // namespace qvs
