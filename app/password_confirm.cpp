#include "app/password_confirm.h"

#include "app/text_ids.h"
#include "dialogs/files/frm_file_pw.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "frame/wipe_text.h"

namespace qvs {

namespace {

QString OpenFileName() {
    return QString::fromStdString(Store().Filename());
}

} // namespace

void WarnUncheckedPassword(const QString& path) {
    if (!Store().PasswordUnchecked()) return;
    ShowMessage(LocalTextWith(text::kUncheckedPassword, path), vbExclamation, ProgramName());
}

bool ConfirmUncheckedPassword() {
    if (!Store().PasswordUnchecked()) return true;
    ShowMessage(LocalTextWith(text::kGivePasswordAgain, OpenFileName()), vbInformation,
                ProgramName());
    frmFilePW dialog;
    // Named, as the first prompt was: this one asks for the same file.
    QString again = dialog.controlla(OpenFileName());
    if (dialog.Cancelled()) return false;
    // Taken only now: the store is not held across a dialog.
    const bool same = Store().ConfirmFilePW(Utf8Secret(again));
    WipeText(again);
    if (!same)
        ShowMessage(LocalTextWith(text::kFilePasswordsDiffer, OpenFileName()), vbExclamation,
                    ProgramName());
    return same;
}

} // namespace qvs
