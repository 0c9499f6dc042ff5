#include "app/format_offer.h"

#include "app/file_password.h"
#include "app/password_confirm.h"
#include "app/text_ids.h"
#include "dialogs/files/frm_file_pw.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/options.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "frame/settings_store.h"
#include "frame/store_reason.h"
#include "frame/wipe_text.h"
#include "store/legacy/legacy_file.h"

#include <QCryptographicHash>
#include <QFile>

namespace qvs {

namespace {

constexpr const char* kOfferGroup = "NewFormatOffer";

// Settings names cannot hold a path's slashes: one hash per file.
QString OfferName(const QString& path) {
    return QString::fromLatin1(
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(32));
}

int Ask(const QString& text, int style) {
    return ShowMessage(text, style, ProgramName());
}

// A legacy save needs the password itself, which a format-2 store drops.
// A wrong one is said to be wrong and asked for again, until the right one
// or Cancel: a save that just ended would look as if it had been made.
bool HavePasswordForLegacy() {
    ardeko::clsPW& store = Store();
    if (store.HoldsFilePassword()) return true;
    const QString file = QString::fromStdString(store.Filename());
    for (;;) {
        frmFilePW dialog;
        QString typed = dialog.controlla(file);
        if (dialog.Cancelled()) return false;
        const bool right = store.CheckFilePW(Utf8Secret(typed));
        if (right) store.SetFilePW(Utf8Secret(typed));
        WipeText(typed);
        if (right) return true;
        Ask(GetLocalText(text::kWrongPassword), vbExclamation);
    }
}

} // namespace

void OfferNewFormat(const QString& path) {
    ardeko::clsPW& store = Store();
    if (CurrentProgram() != ProgramKind::QVS || store.Format() != ardeko::FileFormat::Legacy)
        return;
    {
        SettingsStore settings(QString::fromLatin1(kOfferGroup));
        if (settings.Contains(OfferName(path))) return;
        settings.WriteFlag(OfferName(path), true);
    }
    if (Ask(LocalTextWith(text::kNewFormatOffer, path), vbYesNo | vbQuestion) != vbYes) return;
    ConvertToNewFormat(path);
}

bool ConvertToNewFormat(const QString& path) {
    ardeko::clsPW& store = Store();
    // A typo may have opened a file that cannot tell one: never convert
    // what it showed without the password given a second time.
    if (!ConfirmUncheckedPassword()) return false;
    const std::string name = path.toStdString();
    const std::string copy = store.BackupPathFor(name, true);
    store.SetFormat(ardeko::FileFormat::Two);
    // The time-stamped copy keeps the legacy file as it was.
    if (!store.SaveFile(name, true, true)) {
        store.SetFormat(ardeko::FileFormat::Legacy);
        Ask(StoreReason(store), vbCritical);
        return false;
    }
    // A copy that could not be made does not stop the save; then it is not named.
    if (QFile::exists(QString::fromStdString(copy)))
        Ask(LocalTextWith(text::kNewFormatKeptCopy, QString::fromStdString(copy)), vbInformation);
    return true;
}

void OfferStrongerKey(const QString& path) {
    // QVSLite only reads its file.
    if (CurrentProgram() != ProgramKind::QVS) return;
    if (Ask(LocalTextWith(text::kWeakKeyQuestion, path), vbYesNo | vbQuestion) != vbYes) return;
    ChangeFilePassword(/*stronger*/ true);
}

bool UseSaveFormat(ardeko::FileFormat format) {
    if (format == ardeko::FileFormat::Legacy && !HavePasswordForLegacy()) return false;
    Store().SetFormat(format);
    return true;
}

bool OfferNewFormatForText() {
    ardeko::clsPW& store = Store();
    if (store.ErrNum() != ardeko::StoreError::UnstorableText ||
        store.Format() != ardeko::FileFormat::Legacy)
        return false;
    // The reason names what the older format cannot hold; the question
    // speaks of characters only when characters were refused.
    const bool wholeField = store.Refusal() && RefusesWholeField(*store.Refusal());
    const QString text =
        StoreReason(store) + "\n\n" +
        GetLocalText(wholeField ? text::kNewFormatQuestion : text::kNewFormatForTexts);
    if (Ask(text, vbYesNo | vbQuestion) != vbYes) return false;
    store.SetFormat(ardeko::FileFormat::Two);
    return true;
}

} // namespace qvs
