// The editor: adding categories from the window, checking the input and
// saving the entry, and closing.
#include "dialogs/entry/frm_pw.h"

#include "dialogs/combo_list.h"
#include "dialogs/entry/code_panel.h"
#include "dialogs/entry/custom_fields_panel.h"
#include "dialogs/entry/history_panel.h"
#include "dialogs/entry/key_chooser.h"
#include "dialogs/entry/storable_text.h"
#include "dialogs/text_ids.h"
#include "frame/frm_calendar.h"
#include "frame/frm_pw_gen.h"
#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/message_box.h"
#include "frame/one_time_code.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "frame/retype_selection.h"
#include "frame/store_reason.h"
#include "frame/text_ids.h"
#include "frame/web_address.h"
#include "frame/window_placement.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace qvs {

namespace {

const QString kPlacementName = QStringLiteral("frmPW");

QString WithName(int textId, const QString& name) {
    return GetLocalText(textId).replace(QLatin1String("%s"), name);
}

bool Ask(int textId, const QString& name, int titleId) {
    return ShowMessage(WithName(textId, name), vbOKCancel | vbQuestion, GetLocalText(titleId)) ==
           vbOK;
}

void Tell(int textId, const QString& name, int titleId) {
    ShowMessage(WithName(textId, name), vbOKOnly, GetLocalText(titleId));
}

} // namespace

// A name typed into a category box must fit the data file before the store
// takes it.
bool frmPW::NameStorable(QComboBox* box, int captionId) {
    const auto problem = CheckStorable(box->currentText().trimmed());
    if (!problem) return true;
    ShowRefusedText(GetLocalText(captionId), *problem, false);
    ShowProblemAt(box);
    return false;
}

void frmPW::AddCategory() {
    const QString name = cboCateg_->currentText().trimmed();
    const QString sub = cboSCateg_->currentText();
    if (name.isEmpty()) return;
    if (Store().CatExist(name.toStdString())) {
        Tell(text::kCategoryExists, name, text::kCategoryMessageTitle);
        return;
    }
    if (!NameStorable(cboCateg_, text::kCategoryCaption)) return;
    if (!Ask(text::kAddCategoryQuestion, name, text::kAddCategoryTitle)) return;
    if (!Store().CatAdd(name.toStdString())) {
        ShowMessage(StoreReason(Store()));
        return;
    }
    FillCategories();
    SetCategoryTexts(name, sub);
    cmdAddCat_->setEnabled(false);
    changed_ = true;
}

void frmPW::AddSubCategory() {
    if (MatchingItem(cboCateg_) < 0) AddCategory();
    if (MatchingItem(cboCateg_) < 0) return;
    const QString name = cboSCateg_->currentText().trimmed();
    if (name.isEmpty()) return;
    const std::int16_t cat = MatchingCode(cboCateg_);
    if (Store().SubCatExist(cat, name.toStdString())) {
        Tell(text::kSubCategoryExists, name, text::kCategoryMessageTitle);
        return;
    }
    if (!NameStorable(cboSCateg_, text::kSubCategoryCaption)) return;
    if (!Ask(text::kAddSubCategoryQuestion, name, text::kAddSubCategoryTitle)) return;
    if (!Store().SubCatAdd(cat, name.toStdString())) {
        ShowMessage(StoreReason(Store()));
        return;
    }
    const QString category = cboCateg_->currentText();
    FillCategories();
    SetCategoryTexts(category, name);
    cmdAddSubCat_->setEnabled(false);
    changed_ = true;
}

// Stops at the first problem, which the user is told about.
bool frmPW::Validate() {
    if (MatchingItem(cboSCateg_) < 0)
        AddSubCategory();
    else if (MatchingItem(cboCateg_) < 0)
        AddCategory();
    if (MatchingItem(cboCateg_) < 0) {
        Tell(text::kUnknownCategory, cboCateg_->currentText(), text::kCategoryMessageTitle);
        return false;
    }
    if (MatchingItem(cboSCateg_) < 0) {
        Tell(text::kUnknownSubCategory, cboSCateg_->currentText(), text::kCategoryMessageTitle);
        return false;
    }
    if (txtService_->text().trimmed().isEmpty()) {
        ShowMessage(GetLocalText(text::kNoServiceName), vbCritical, QStringLiteral("QVS"));
        ShowProblemAt(txtService_);
        return false;
    }
    if (Opt().SecurityLevel >= 1 && txtPw_->text() != txtPW2_->text()) {
        ShowMessage(GetLocalText(text::kEntryPasswordsDiffer), vbOKOnly, QStringLiteral("QVS"));
        ShowProblemAt(txtPw_);
        SelectForRetyping(txtPw_);
        return false;
    }
    return CheckTexts() && CheckKeys() && CheckCode() && CheckFields();
}

// Each extra field needs a name of its own.
bool frmPW::CheckFields() {
    const auto problem = fields_->Check();
    if (!problem) return true;
    const QString text = problem->duplicateName.isEmpty()
                             ? GetLocalText(text::kFieldWithoutName)
                             : LocalTextWith(text::kFieldNameTwice, problem->duplicateName);
    ShowMessage(text, vbExclamation, QStringLiteral("QVS"));
    ShowProblemAt(fields_->Table());
    fields_->FocusRow(problem->row);
    return false;
}

bool frmPW::CheckCode() {
    const ardeko::TotpError problem = codes_->Problem();
    if (problem == ardeko::TotpError::None) return true;
    ShowMessage(TotpErrorMessage(problem), vbExclamation, QStringLiteral("QVS"));
    ShowProblemAt(codes_->Box());
    return false;
}

bool frmPW::CheckTexts() {
    struct Field {
        QWidget* control;
        QString text;
        int captionId;
        bool secret;
    };
    const Field fields[] = {
        {txtService_, txtService_->text().trimmed(), 11101, false},
        {txtName_, txtName_->text(), 11102, false},
        {txtPw_, txtPw_->text(), 11103, true},
        {txtEmail_, txtEmail_->text(), 11105, false},
        {txtSentence_, txtSentence_->text(), 11301, false},
        {txtURL_[0], txtURL_[0]->text(), 11501, false},
        {txtURL_[1], txtURL_[1]->text(), 11502, false},
        {txtURL_[2], txtURL_[2]->text(), 11503, false},
        {txtNotes_, txtNotes_->toPlainText(), 11054, false},
    };
    for (const Field& f : fields) {
        if (const auto problem = CheckStorable(f.text)) {
            ShowRefusedText(GetLocalText(f.captionId), *problem, f.secret);
            ShowProblemAt(f.control);
            return false;
        }
    }
    return true;
}

bool frmPW::CheckKeys() {
    for (const auto& [chooser, captionId] : {std::pair{before_, 11401}, std::pair{after_, 11402}}) {
        switch (chooser->Check()) {
        case KeyChooser::Problem::None:
            continue;
        case KeyChooser::Problem::NoCharacter:
            ShowMessage(WithName(text::kNoKeyCharacter, FieldName(GetLocalText(captionId))),
                        vbExclamation);
            break;
        case KeyChooser::Problem::Unstorable:
            ShowRefusedText(GetLocalText(captionId), *CheckStorable(chooser->Box()->text()), false);
            break;
        }
        ShowProblemAt(chooser->Box());
        return false;
    }
    return true;
}

// Shows the page that holds control and puts the focus there.
void frmPW::ShowProblemAt(QWidget* control) {
    for (int i = 0; i < sstPassword_->count(); ++i) {
        if (sstPassword_->widget(i)->isAncestorOf(control)) sstPassword_->setCurrentIndex(i);
    }
    control->setFocus();
}

bool frmPW::Save() {
    ardeko::T_Password record = FromControls();
    Fit fit = mode_ == Mode::Modify ? FitToStore(record) : Fit::Add;
    if (fit == Fit::Back) return false;
    if (fit == Fit::Drop) return true; // the user let the changes go with the entry
    const double now = Store().Now();
    if (mode_ != Mode::Modify) record.Dt_Insert = now;
    record.Dt_Modif = now;
    // The setting may have changed since the file was opened.
    Store().SetHistoryLimit(Opt().PwHistoryLimit);
    const bool ok = fit == Fit::Replace
                        ? Store().PWEdit(record, formerService_, formerCat_, formerSCat_)
                        : Store().PWAdd(record);
    if (!ok) {
        ShowMessage(StoreReason(Store()), vbOKOnly, QStringLiteral("QVS"));
        return false;
    }
    AddConflictCopy(now);
    lastSaved_ = QString::fromStdString(record.service);
    IMainWindow* main = CurrentMainWindow();
    if (main && !App().inTrayMode) {
        main->CalcNumber(record.Codcat, record.CodSCat);
        if (mode_ == Mode::Modify) main->CalcNumber(formerCat_, formerSCat_);
    }
    if (mode_ == Mode::Modify) {
        // Saved again from this window, the entry is the one saved now.
        working_ = record;
        formerService_ = record.service;
        formerCat_ = record.Codcat;
        formerSCat_ = record.CodSCat;
        opened_ = {record, Store().CatValue(record.Codcat),
                   record.CodSCat ? Store().SubCatValue(record.CodSCat) : std::string()};
    }
    return true;
}

void frmPW::accept() {
    // An entry confirmed unchanged stays exactly as stored: going through
    // the controls would rewrite its line ends, blanks and unused dates.
    if (mode_ == Mode::Modify && !HasChanges()) {
        closing_ = true;
        close();
        return;
    }
    RefillCategoryBoxes();
    if (!Validate() || !Save()) return;
    closing_ = true;
    close();
}

void frmPW::Another() {
    if (mode_ != Mode::New) return;
    RefillCategoryBoxes();
    if (!Validate() || !Save()) return;
    NewEntryDefaults();
    filled_ = FromControls();
    cmdAddCat_->setEnabled(false);
    cmdAddSubCat_->setEnabled(false);
    sstPassword_->setCurrentIndex(0);
    txtService_->setFocus();
}

bool frmPW::ConfirmDiscard() {
    return !HasChanges() || ShowMessage(GetLocalText(text::kDiscardEntryQuestion),
                                        vbYesNo | vbQuestion | vbDefaultButton2) == vbYes;
}

void frmPW::reject() {
    if (!ConfirmDiscard()) return;
    closing_ = true;
    close();
}

void frmPW::closeEvent(QCloseEvent* event) {
    // The window's close button: the same as Cancel.
    if (!closing_ && !ConfirmDiscard()) {
        event->ignore();
        return;
    }
    closing_ = true;
    picker_->close();
    SaveWindowPlacement(this, kPlacementName);
    if (stackEntry_) {
        // A new category needs the whole tree rebuilt; a saved entry only
        // its row selected in the list.
        const bool refresh = changed_ || !lastSaved_.isEmpty();
        stackEntry_->SetRefresh(refresh, changed_ ? QString() : lastSaved_);
        stackEntry_.reset();
    }
    // Not QDialog's: it would ask reject() again.
    QWidget::closeEvent(event);
}

void frmPW::HoldForLock() {
    picker_->close();
    stackEntry_.reset();
    hide();
}

void frmPW::ResumeAfterLock() {
    if (!stackEntry_) stackEntry_.emplace(this);
    show();
    raise();
    activateWindow();
}

void frmPW::OpenAddress(int index) {
    OpenWebAddress(txtURL_[index]->text());
}

void frmPW::OpenGenerator() {
    const std::optional<QString> password = RunPasswordGenerator(this);
    if (!password) return;
    txtPw_->setText(*password);
    txtPW2_->setText(*password);
}

void frmPW::RestorePassword(const QString& password) {
    // The password being replaced goes into the list, unless it is the
    // stored one, which the save puts there itself.
    const QString replaced = txtPw_->text();
    if (!replaced.isEmpty() && replaced != password &&
        replaced != QString::fromStdString(working_.pw)) {
        std::vector<ardeko::T_PwHistory> list = history_->History();
        list.insert(list.begin(), {replaced.toStdString(), Store().Now()});
        history_->SetHistory(std::move(list));
    }
    txtPw_->setText(password);
    txtPW2_->setText(password);
}

frmPW* PasswordAdd(std::int16_t cat, std::int16_t scat) {
    auto* window = new frmPW(MainOwner());
    window->PasswordAdd(cat, scat);
    return window;
}

frmPW* PasswordEdit(const QString& service) {
    auto window = std::make_unique<frmPW>(MainOwner());
    if (!window->PasswordEdit(service)) return nullptr;
    return window.release(); // deletes itself when closed
}

frmPW* PasswordPasteNew(const ardeko::T_Password& record) {
    auto* window = new frmPW(MainOwner());
    window->PasswordPasteNew(record);
    return window;
}

} // namespace qvs
