#include "mainwin/later_windows.h"

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

void ViewExpires() {
    ShowNotAvailableYet();
}

void ChangeFilePassword() {
    ShowNotAvailableYet();
}

void SaveLayoutNow() {
    ShowNotAvailableYet();
}

void GotoSysTray() {
    ShowNotAvailableYet();
}

void CopyPasswordToClipboard(const QString& service) {
    (void)service;
    ShowNotAvailableYet();
}

void CopyLoginToClipboard(const QString& service) {
    (void)service;
    ShowNotAvailableYet();
}

void CopyAccessUrlToClipboard(const QString& service) {
    (void)service;
    ShowNotAvailableYet();
}

} // namespace qvs
