#include "autotype/entry_copies.h"

#include "autotype/login_text.h"
#include "autotype/secret_clipboard.h"
#include "frame/one_time_code.h"

#include <QClipboard>
#include <QGuiApplication>

namespace qvs {

void CopyPasswordToClipboard(const QString& service) {
    CopySecretToClipboard(EntryText(ardeko::E_GetPw::pword, service));
}

void CopyLoginToClipboard(const QString& service) {
    CopySecretToClipboard(BuildClipboardLogin(service));
}

bool CopyCodeToClipboard(const QString& service) {
    const QString code = CurrentCodeText(service);
    if (code.isEmpty()) return false;
    CopySecretToClipboard(code);
    return true;
}

void CopyAccessUrlToClipboard(const QString& service) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(EntryText(ardeko::E_GetPw::URL_Access, service));
}

} // namespace qvs
