#include "tray/lock_commands.h"

#include "app/lock_command.h"
#include "app/lock_controller.h"

namespace qvs {

void AddLockCommands(TrayActions& a) {
    a.commands[TrayCommand::Lock] = [] { LockOnDemand(); };
    a.commands[TrayCommand::Unlock] = [] { Locking().UnlockWithPrompt(); };
}

} // namespace qvs
