#include "tray/lock_commands.h"

#include "app/lock_command.h"
#include "app/lock_controller.h"

namespace qvs {

void AddLockCommands(TrayActions& a) {
    a.commands.insert(QStringLiteral("lock"), [] { LockOnDemand(); });
    a.commands.insert(QStringLiteral("unlock"), [] { Locking().UnlockWithPrompt(); });
}

} // namespace qvs
