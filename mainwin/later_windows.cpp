#include "mainwin/later_windows.h"

#include "mainwin/pending_commands.h"

namespace qvs {

void ShowCategoryDialog() {
    ShowNotAvailableYet();
}

void ShowSubCategoryDialog() {
    ShowNotAvailableYet();
}

void ViewExpires() {
    ShowNotAvailableYet();
}

void ShowOptionsDialog() {
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
