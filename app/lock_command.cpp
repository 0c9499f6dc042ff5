#include "app/lock_command.h"

#include "app/lock_controller.h"
#include "frame/language.h"
#include "frame/lock_request.h"
#include "frame/message_box.h"
#include "frame/program_identity.h"

namespace qvs {

namespace {

// 31415: the Lock command on a file without a password (information).
constexpr int kNoPasswordText = 31415;

} // namespace

void LockOnDemand() {
    if (!LockController::CanLock()) {
        ShowMessage(GetLocalText(kNoPasswordText), vbInformation, ProgramName());
        return;
    }
    Locking().Lock();
}

void InstallLockCommand() {
    SetLockRequest(&LockOnDemand);
}

} // namespace qvs
