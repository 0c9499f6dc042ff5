// Puts user names and passwords on the clipboard marked as secrets, so that
// clipboard managers keep no history of them.
#pragma once

#include <QString>

#include <memory>

class QMimeData;

namespace qvs {

// The MIME type and value by which desktop clipboard managers recognise a
// secret.
inline constexpr char kPasswordHintType[] = "x-kde-passwordManagerHint";
inline constexpr char kPasswordHintSecret[] = "secret";

// Replaces the clipboard's content with text, marked as secret.
void CopySecretToClipboard(const QString& text);

// The clipboard content for a secret: the plain text and the mark.
std::unique_ptr<QMimeData> SecretMimeData(const QString& text);

} // namespace qvs
