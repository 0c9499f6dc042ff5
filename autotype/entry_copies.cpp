#include "autotype/entry_copies.h"

#include "autotype/login_text.h"
#include "autotype/secret_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace qvs {

void CopyPasswordToClipboard(const QString& service) {
    CopySecretToClipboard(EntryText(ardeko::E_GetPw::pword, service));
}

void CopyLoginToClipboard(const QString& service) {
    CopySecretToClipboard(BuildClipboardLogin(service));
}

void CopyAccessUrlToClipboard(const QString& service) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(EntryText(ardeko::E_GetPw::URL_Access, service));
}

} // namespace qvs
