#include "browser/program_host.h"

#include "app/lock_controller.h"
#include "frame/frm_pw_gen.h"
#include "frame/main_window_iface.h"
#include "frame/modal_stack.h"
#include "frame/one_time_code.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "frame/settings_store.h"

#include <QWidget>

namespace qvs::browser {

void ComeForward() {
    QWidget* window = TopModal() ? TopModal() : MainOwner();
    if (!window) return;
    if (window->isMinimized()) window->showNormal();
    window->raise();
    window->activateWindow();
}

ardeko::clsPW* ProgramHost::File() {
    if (App().currentFileName.isEmpty() || !App().store) return nullptr;
    // Saved as the entry editor saves: with the history the options keep.
    App().store->SetHistoryLimit(Opt().PwHistoryLimit);
    return App().store.get();
}

bool ProgramHost::Locked() const {
    return Locking().IsLocked() || (App().store && App().store->Sealed());
}

bool ProgramHost::Lock() {
    return Locking().Lock();
}

bool ProgramHost::UnlockOnRequest() {
    if (!Locked()) return true;
    if (asking_ || !SettingsStore().ReadFlag(QString::fromLatin1(kUnlockOnRequestKey), true))
        return false;
    asking_ = true;
    ComeForward();
    const bool unlocked = Locking().UnlockWithPrompt();
    asking_ = false;
    return unlocked && !Locked();
}

bool ProgramHost::NeverReturnExpired() const {
    return SettingsStore().ReadFlag(QString::fromLatin1(kNeverExpiredKey), false);
}

void ProgramHost::Changed(const std::string& service) {
    if (IMainWindow* main = CurrentMainWindow()) main->UpdateView(QString::fromStdString(service));
}

std::string ProgramHost::GeneratePassword() {
    return GenerateWithLastOptions();
}

std::optional<std::string> ProgramHost::CurrentCode(const std::string& stored) {
    const std::optional<ardeko::TotpNow> code = qvs::CurrentCode(stored);
    if (!code) return std::nullopt;
    return code->code;
}

} // namespace qvs::browser
