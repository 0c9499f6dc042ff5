#include "app/file_password.h"

#include "app/text_ids.h"
#include "dialogs/files/frm_file_pw.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "frame/wipe_text.h"

#include <QSet>

namespace qvs {

namespace {

struct Offer {
    bool on = true;
    QSet<QString> asked; // files the user already answered about in this run
};

Offer& TheOffer() {
    static Offer offer;
    return offer;
}

} // namespace

bool ChangeFilePassword(bool stronger) {
    if (Store().Filename().empty()) return false;
    frmFilePW dialog;
    if (!dialog.changepw(Store(), stronger)) return false;
    QString password = dialog.Password();
    HoldFilePassword(password);
    return true;
}

void OfferFilePassword(const QString& path) {
    Offer& offer = TheOffer();
    if (!offer.on || path.isEmpty() || !Store().CheckFilePW(std::string())) return;
    if (offer.asked.contains(path)) return;
    offer.asked.insert(path);
    if (ShowMessage(GetLocalText(text::kPasswordOffer), vbYesNo | vbQuestion, ProgramName()) !=
        vbYes)
        return;
    frmFilePW dialog;
    QString password = dialog.nuova();
    Store().SetFilePW(Utf8Secret(password));
    HoldFilePassword(password);
}

void SetFilePasswordOffer(bool on) {
    TheOffer().on = on;
    TheOffer().asked.clear();
}

} // namespace qvs
