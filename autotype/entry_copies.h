// Putting one entry's password, login or web address on the clipboard, from
// the main window's commands, its grid and the tray menu. The password and
// the login are secrets: marked as such and cleared again later.
#pragma once

#include <QString>

namespace qvs {

// A missing entry or field copies the empty text.
void CopyPasswordToClipboard(const QString& service);
void CopyLoginToClipboard(const QString& service); // see BuildClipboardLogin
void CopyAccessUrlToClipboard(const QString& service);
// The entry's one-time code of this moment, a secret as the password; false
// (copying nothing) when the entry has no code.
bool CopyCodeToClipboard(const QString& service);

} // namespace qvs
