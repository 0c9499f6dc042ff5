#include "autotype/secret_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace qvs {

std::unique_ptr<QMimeData> SecretMimeData(const QString& text) {
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    data->setData(QString::fromLatin1(kPasswordHintType), QByteArray(kPasswordHintSecret));
    return data;
}

void CopySecretToClipboard(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setMimeData(SecretMimeData(text).release()); // the clipboard owns it
}

} // namespace qvs
