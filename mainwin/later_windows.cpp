#include "mainwin/later_windows.h"

#include "frame/main_window_iface.h"
#include "mainwin/pending_commands.h"

namespace qvs {

void PasswordAdd(std::int16_t cat, std::int16_t scat) {
    (void)cat;
    (void)scat;
    ShowNotAvailableYet();
}

void PasswordEdit(const QString& service) {
    (void)service;
    ShowNotAvailableYet();
}

void PasswordPasteNew(const ardeko::T_Password& record) {
    (void)record;
    ShowNotAvailableYet();
}

void ShowCategoryDialog() {
    ShowNotAvailableYet();
}

void ShowSubCategoryDialog() {
    ShowNotAvailableYet();
}

void ShowOptionsDialog() {
    ShowNotAvailableYet();
}

void SaveLayoutNow() {
    ShowNotAvailableYet();
}

void GotoSysTray() {
    GoToTray();
}

} // namespace qvs
