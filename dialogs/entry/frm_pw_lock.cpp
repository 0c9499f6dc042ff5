// The entry editor while the program is locked: everything it holds of the
// entry goes to the lock, to be sealed with the store, and comes back after
// the unlock (see frmPW::TakeForLock).
#include "dialogs/entry/code_panel.h"
#include "dialogs/entry/custom_fields_panel.h"
#include "dialogs/entry/frm_pw.h"
#include "dialogs/entry/history_panel.h"
#include "frame/wipe_text.h"
#include "frame/wiped_line_box.h"
#include "store/crypto/secret_key.h"
#include "store/entry_pack.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace qvs {

namespace {

// What TakeForLock hands over, in this order; the input boxes' texts follow.
enum Taken : std::size_t { kWorking, kFilled, kOpened, kConflict, kPanels, kBoxes };

// The boxes that hold what the user typed, in a fixed order.
std::vector<QWidget*> InputBoxes(QWidget* editor) {
    std::vector<QWidget*> boxes;
    for (QLineEdit* box : editor->findChildren<QLineEdit*>())
        boxes.push_back(box);
    for (QPlainTextEdit* box : editor->findChildren<QPlainTextEdit*>())
        boxes.push_back(box);
    return boxes;
}

// Takes a box's text out (its undo steps with it), leaving no copy in the
// box's memory.
std::string TakeText(QWidget* box) {
    QString text;
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        text = TakeLineBoxText(line);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) {
        const QSignalBlocker quiet(box);
        text = plain->toPlainText();
        plain->setPlainText(QString());
    }
    QByteArray utf8 = text.toUtf8();
    std::string out(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    // The box let its text go: these copies are the last ones.
    WipeText(text);
    WipeText(utf8);
    return out;
}

void PutText(QWidget* box, std::string& text) {
    QString value = QString::fromStdString(text);
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        PutLineBoxText(line, value);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) {
        const QSignalBlocker quiet(box);
        plain->setPlainText(value);
    }
    WipeText(value);
    ardeko::WipeString(text);
}

std::string TakeEntry(ardeko::T_Password& entry) {
    std::string packed = ardeko::PackEntry(entry);
    ardeko::WipeEntry(entry);
    return packed;
}

void PutEntry(std::string& packed, ardeko::T_Password& entry) {
    ardeko::UnpackEntry(packed, entry);
    ardeko::WipeString(packed);
}

} // namespace

ardeko::T_Password frmPW::TakePanels() {
    ardeko::T_Password panels;
    panels.History = history_->TakeForLock();
    panels.Fields = fields_->TakeForLock();
    panels.Totp = codes_->TakeForLock();
    return panels;
}

std::vector<std::string> frmPW::TakeForLock() {
    // The boxes first: the panels' own copies are the last holders of their
    // texts only once the boxes have let them go.
    std::vector<std::string> boxTexts;
    for (QWidget* box : InputBoxes(this))
        boxTexts.push_back(TakeText(box));
    ardeko::T_Password panels = TakePanels();

    std::vector<std::string> taken(kBoxes);
    taken[kWorking] = TakeEntry(working_);
    taken[kFilled] = TakeEntry(filled_);
    taken[kOpened] = TakeEntry(opened_.rec);
    if (conflictCopy_) taken[kConflict] = TakeEntry(conflictCopy_->rec);
    taken[kPanels] = TakeEntry(panels);
    for (std::string& text : boxTexts)
        taken.push_back(std::move(text));
    return taken;
}

void frmPW::PutBackAfterLock(std::vector<std::string>& taken) {
    if (taken.size() < kBoxes) return;
    PutEntry(taken[kWorking], working_);
    PutEntry(taken[kFilled], filled_);
    PutEntry(taken[kOpened], opened_.rec);
    if (conflictCopy_) PutEntry(taken[kConflict], conflictCopy_->rec);
    ardeko::T_Password panels;
    PutEntry(taken[kPanels], panels);
    history_->SetHistory(std::move(panels.History));
    fields_->PutBackAfterLock(std::move(panels.Fields));
    codes_->PutBackAfterLock(std::move(panels.Totp));
    // The boxes last: the panels' filling must not overwrite the input.
    const std::vector<QWidget*> boxes = InputBoxes(this);
    for (std::size_t b = 0; b < boxes.size() && kBoxes + b < taken.size(); ++b)
        PutText(boxes[b], taken[kBoxes + b]);
    for (std::string& rest : taken)
        ardeko::WipeString(rest);
}

} // namespace qvs
