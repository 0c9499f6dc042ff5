#include "app/lock_command.h"

#include "app/lock_controller.h"
#include "app/text_ids.h"
#include "frame/language.h"
#include "frame/lock_request.h"
#include "frame/message_box.h"
#include "frame/program_identity.h"

namespace qvs {

void LockOnDemand() {
    if (!LockController::CanLock()) {
        ShowMessage(GetLocalText(text::kNoPasswordToLock), vbInformation, ProgramName());
        return;
    }
    Locking().Lock();
}

void InstallLockCommand() {
    SetLockRequest(&LockOnDemand);
}

} // namespace qvs
