// Commands whose windows come later. Each has the one entry point the menus,
// pop-ups and toolbar call; until its window exists it says so (text 30100).
#pragma once

#include "store/pw.h"

#include <QString>

#include <cstdint>

namespace qvs {

// Entry editor: a new entry with category and subcategory preselected
// (-1 = none), an existing one, or a new one filled from a copied record.
void PasswordAdd(std::int16_t cat, std::int16_t scat);
void PasswordEdit(const QString& service);
void PasswordPasteNew(const ardeko::T_Password& record);

void ShowCategoryDialog();
void ShowSubCategoryDialog();
// Expiry check on demand.
void ViewExpires();
void ChangeFilePassword();
void SaveLayoutNow();
void GotoSysTray();

// Clipboard copies of one entry.
void CopyPasswordToClipboard(const QString& service);
void CopyLoginToClipboard(const QString& service);
void CopyAccessUrlToClipboard(const QString& service);

} // namespace qvs
