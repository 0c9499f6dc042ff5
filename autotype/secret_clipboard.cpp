#include "autotype/secret_clipboard.h"

#include "frame/options.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#include <cstdint>

namespace qvs {

namespace {

// The last secret put on the clipboard while it may still be there.
struct PendingSecret {
    QString text;
    bool active = false;
    std::uint64_t copyNumber = 0; // tells a stale delay from the current one
    bool clearAtQuit = false;     // the quit connection is made
};

PendingSecret& Pending() {
    static PendingSecret pending;
    return pending;
}

ClipboardClearTimer& Timer() {
    static ClipboardClearTimer timer;
    return timer;
}

void StartTimer(std::chrono::milliseconds delay, std::function<void()> done) {
    if (Timer()) {
        Timer()(delay, std::move(done));
        return;
    }
    QTimer::singleShot(delay, QCoreApplication::instance(), std::move(done));
}

bool ClipboardHolds(const QString& text) {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->data(QString::fromLatin1(kPasswordHintType)) == kPasswordHintSecret &&
           data->text() == text;
}

void ForgetSecret() {
    PendingSecret& p = Pending();
    p.text.clear();
    p.active = false;
}

void ClearAtQuit() {
    PendingSecret& p = Pending();
    if (p.clearAtQuit) return;
    p.clearAtQuit = true;
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                     &ClearSecretFromClipboard);
}

} // namespace

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

    PendingSecret& p = Pending();
    ForgetSecret();
    p.text = text;
    p.active = true;
    const std::uint64_t copy = ++p.copyNumber;
    ClearAtQuit();
    const int seconds = Opt().ClipboardClearSecs;
    if (seconds <= 0) return; // kept until the program ends
    StartTimer(std::chrono::seconds(seconds), [copy] {
        if (copy == Pending().copyNumber) ClearSecretFromClipboard();
    });
}

void ClearSecretFromClipboard() {
    if (!Pending().active) return;
    if (ClipboardHolds(Pending().text)) QGuiApplication::clipboard()->clear();
    ForgetSecret();
}

void SetClipboardClearTimer(ClipboardClearTimer timer) {
    Timer() = std::move(timer);
}

} // namespace qvs
