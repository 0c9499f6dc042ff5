// Commands whose windows come later. Each has the one entry point the menus,
// pop-ups and toolbar call; until its window exists it says so (text 30100).
#pragma once

#include "store/pw.h"

#include <QString>

#include <cstdint>

namespace qvs {

void ShowCategoryDialog();
void ShowSubCategoryDialog();
// Expiry check on demand.
void ViewExpires();
void ShowOptionsDialog();
void ChangeFilePassword();
void SaveLayoutNow();
void GotoSysTray();

// Clipboard copies of one entry.
void CopyPasswordToClipboard(const QString& service);
void CopyLoginToClipboard(const QString& service);
void CopyAccessUrlToClipboard(const QString& service);

} // namespace qvs
