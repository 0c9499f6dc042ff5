#include "frame/web_address.h"

#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/message_box.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "frame/text_ids.h"

#include <QDesktopServices>
#include <QRegularExpression>

namespace qvs {

namespace {

const QString kCaption = QStringLiteral("QVS");

UrlOpener& Opener() {
    static UrlOpener opener;
    return opener;
}

bool HandToDesktop(const QUrl& url) {
    const UrlOpener& opener = Opener();
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

// One "@" with something on both sides, and nothing that belongs to a web
// address (a scheme, a path, blanks).
bool IsMailAddress(const QString& text) {
    static const QRegularExpression mail(QStringLiteral("^[^@\\s/:]+@[^@\\s/:]+$"));
    return mail.match(text).hasMatch();
}

// An address from a data file can name anything the desktop opens (a local
// file, a program's scheme): only web and mail addresses go without asking.
bool SafeToOpen(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("mailto"))
        return true;
    return ShowMessage(LocalTextWith(text::kNotWebAddress, url.toDisplayString()),
                       vbYesNo | vbQuestion | vbDefaultButton2, kCaption) == vbYes;
}

} // namespace

QUrl WebAddressUrl(const QString& text) {
    const QString address = text.trimmed();
    if (address.isEmpty()) return {};
    if (IsMailAddress(address)) return QUrl(QStringLiteral("mailto:") + address);
    return QUrl::fromUserInput(address);
}

bool OpenDocument(const QString& text) {
    const QString address = text.trimmed();
    if (address.isEmpty()) {
        ShowMessage(GetLocalText(text::kNoWebAddress), vbInformation, kCaption);
        return false;
    }
    const QUrl url = WebAddressUrl(address);
    if (url.isValid() && !SafeToOpen(url)) return false;
    if (!url.isValid() || !HandToDesktop(url)) {
        ShowMessage(GetLocalText(text::kCannotOpenAddress).replace(QLatin1String("%s"), address),
                    vbExclamation, kCaption);
        return false;
    }
    return true;
}

bool OpenWebAddress(const QString& text) {
    if (!OpenDocument(text)) return false;
    if (Opt().GTSAfterURL && !App().inTrayMode) GoToTray();
    return true;
}

void SetUrlOpener(UrlOpener opener) {
    Opener() = std::move(opener);
}

} // namespace qvs
