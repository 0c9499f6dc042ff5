// Puts user names and passwords on the clipboard marked as secrets, so that
// clipboard managers keep no history of them, and takes them off again after
// the delay of the setting "ClipboardClearSecs" and when the program ends.
#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

class QMimeData;

namespace qvs {

// The MIME type and value by which desktop clipboard managers recognise a
// secret.
inline constexpr char kPasswordHintType[] = "x-kde-passwordManagerHint";
inline constexpr char kPasswordHintSecret[] = "secret";

// Replaces the clipboard's content with text, marked as secret, and arranges
// for it to be cleared later (see above). A later secret copy replaces the
// earlier one and restarts the delay.
void CopySecretToClipboard(const QString& text);

// The clipboard content for a secret: the plain text and the mark.
std::unique_ptr<QMimeData> SecretMimeData(const QString& text);

// Clears the clipboard now if it still holds the last secret we put there;
// leaves it alone when something else was copied meanwhile. Runs by itself
// when the delay is over and when the application quits.
void ClearSecretFromClipboard();

// Runs a function once after a delay. The normal one is a single-shot
// QTimer; tests put in their own so they need not wait.
using ClipboardClearTimer = std::function<void(std::chrono::milliseconds, std::function<void()>)>;
// An empty function restores the normal timer.
void SetClipboardClearTimer(ClipboardClearTimer timer);

} // namespace qvs
