// The editor: filling the controls from the settings or a record, and
// reading a record back from them.
#include "dialogs/entry/frm_pw.h"

#include "autotype/key_pair.h"
#include "dialogs/combo_list.h"
#include "dialogs/entry/code_panel.h"
#include "dialogs/entry/custom_fields_panel.h"
#include "dialogs/entry/due_date_frame.h"
#include "dialogs/entry/history_panel.h"
#include "dialogs/entry/key_chooser.h"
#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "frame/vb_date_qt.h"
#include "frame/window_placement.h"
#include "frame/wipe_text.h"
#include "store/crypto/secret_key.h"
#include "store/entry_pack.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include <utility>

namespace qvs {

namespace {

const QString kPlacementName = QStringLiteral("frmPW");

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
// The entry's texts pass through here often (every check for changes): no
// copy is left behind in freed memory.
std::string S(const QString& s) {
    QByteArray utf8 = s.toUtf8();
    std::string out(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    WipeText(utf8);
    return out;
}

// Replaces a text of a record, the one it held wiped first.
void Put(std::string& field, std::string value) {
    ardeko::WipeString(field);
    field = std::move(value);
}

// The notes box shows every line break as LF. Notes the user left alone keep
// their bytes; edited notes keep CR LF when the stored ones used it, so an
// entry written on Windows does not change its line ends on every edit.
std::string NotesToStore(const QString& shown, const std::string& stored) {
    QString before = Q(stored);
    const bool crlf = before.contains(QLatin1String("\r\n"));
    before.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    const bool same = shown == before;
    WipeText(before);
    if (same) return stored;
    if (!crlf) return S(shown);
    QString withCrLf = QString(shown).replace(u'\n', QLatin1String("\r\n"));
    std::string out = S(withCrLf);
    WipeText(withCrLf);
    return out;
}

QDate Today() {
    return DateFromVb(Store().Today());
}

// An entry that never had the date (0, shown as 1899) is proposed the date a
// new entry gets, so that ticking the box does not start from 1899.
QDate DueDate(double stored, bool used, int defaultDays) {
    return stored == 0 && !used ? Today().addDays(defaultDays) : DateFromVb(stored);
}

} // namespace

void frmPW::Open(Mode mode) {
    mode_ = mode;
    // The older format holds neither part: nothing to enter there, but what
    // an entry holds anyway (from a merge) can still be removed.
    const bool legacy = Store().Format() == ardeko::FileFormat::Legacy;
    lblFormat_->setVisible(legacy);
    codes_->setEnabled(!legacy || !working_.Totp.empty());
    history_->setEnabled(!legacy || !working_.History.empty());
    lblFieldsFormat_->setVisible(legacy);
    fields_->setEnabled(!legacy || !working_.Fields.empty());
    cmdAnother_->setVisible(mode == Mode::New);
    cmdAddCat_->setEnabled(false); // until a name is typed
    cmdAddSubCat_->setEnabled(false);
    filled_ = FromControls();
    adjustSize(); // centred by its real size
    RestoreWindowPlacement(this, kPlacementName);
    if (!stackEntry_) stackEntry_.emplace(this);
    show();
    raise();
    activateWindow();
    sstPassword_->setCurrentIndex(0);
    (mode == Mode::Modify ? txtService_ : static_cast<QWidget*>(cboCateg_))->setFocus();
    if (mode == Mode::Paste) txtService_->setFocus();
}

void frmPW::PasswordAdd(std::int16_t cat, std::int16_t scat) {
    working_ = ardeko::T_Password{};
    FillCategories();
    if (SelectCode(cboCateg_, cat)) {
        FillSubCategories();
        SelectCode(cboSCateg_, scat);
    }
    NewEntryDefaults();
    Open(Mode::New);
}

bool frmPW::PasswordEdit(const QString& service) {
    const ardeko::T_Password* found = Store().Password().Find(S(service));
    if (!found) return false;
    working_ = *found;
    formerService_ = found->service;
    formerCat_ = found->Codcat;
    formerSCat_ = found->CodSCat;
    FillFromRecord(working_);
    opened_ = {working_, Store().CatValue(found->Codcat),
               found->CodSCat ? Store().SubCatValue(found->CodSCat) : std::string()};
    Open(Mode::Modify);
    return true;
}

void frmPW::PasswordPasteNew(const ardeko::T_Password& record) {
    working_ = record;
    working_.service.clear();
    FillFromRecord(working_);
    Open(Mode::Paste);
}

void frmPW::NewEntryDefaults() {
    for (QLineEdit* box : {txtService_, txtName_, txtPw_, txtPW2_, txtEmail_, txtSentence_})
        box->clear();
    for (QLineEdit* box : txtURL_)
        box->clear();
    txtNotes_->clear();
    codes_->SetStored({});
    history_->SetHistory({});
    fields_->SetFields({});
    chkFav_->setChecked(false);
    const Options& o = Opt();
    before_->SetChoice(o.KeyBeforeCB, o.KeyBefore);
    after_->SetChoice(o.KeyAfterCB, o.KeyAfter);
    const double now = Store().Now();
    ShowTimes(now, now);
    const QDate today = Today();
    struct Defaults {
        DueDateFrame* frame;
        int days;
        int notify;
    };
    for (const Defaults& d : {Defaults{expire_, o.ExpirationDays, o.ExpirationNotify},
                              Defaults{change_, o.ChangeDays, o.ChangeNotify}}) {
        d.frame->SetToday(today);
        d.frame->SetDays(d.days);
        d.frame->SetNotifyDays(d.notify);
        d.frame->SetDue(false);
        d.frame->SetNotify(true);
    }
}

void frmPW::FillFromRecord(const ardeko::T_Password& r) {
    FillCategories();
    SelectCode(cboCateg_, r.Codcat);
    FillSubCategories();
    SelectCode(cboSCateg_, r.CodSCat);
    txtService_->setText(Q(r.service));
    txtName_->setText(Q(r.User));
    txtPw_->setText(Q(r.pw));
    txtPW2_->setText(Q(r.pw));
    txtEmail_->setText(Q(r.Email));
    chkFav_->setChecked(r.Favourites);
    txtSentence_->setText(Q(r.Remember));
    txtURL_[0]->setText(Q(r.URL_Access));
    txtURL_[1]->setText(Q(r.URL_Change));
    txtURL_[2]->setText(Q(r.URL_Delete));
    txtNotes_->setPlainText(Q(r.Descr));
    codes_->SetStored(r.Totp);
    history_->SetHistory(r.History);
    fields_->SetFields(r.Fields);
    ShowTimes(r.Dt_Insert, r.Dt_Modif);
    const QDate today = Today();
    expire_->SetToday(today);
    expire_->SetDate(DueDate(r.Dt_Expire, r.blExpire, Opt().ExpirationDays));
    expire_->SetDue(r.blExpire);
    expire_->SetNotify(r.blNotExpire);
    expire_->SetNotifyDays(r.ggNotExpire);
    change_->SetToday(today);
    change_->SetDate(DueDate(r.Dt_Change, r.blChange, Opt().ChangeDays));
    change_->SetDue(r.blChange);
    change_->SetNotify(r.blNotChange);
    change_->SetNotifyDays(r.ggNotChange);
    const KeyPair keys = UnpackKeyPair(r.Keyaftbef);
    before_->SetCode(keys.before);
    after_->SetCode(keys.after);
}

void frmPW::ShowTimes(double inserted, double modified) {
    lblInsert_->setText(GetLocalText(text::kEntryCreated) + DateTimeText(inserted));
    lblModif_->setText(GetLocalText(text::kEntryModified) + DateTimeText(modified));
}

ardeko::T_Password frmPW::FromControls() const {
    ardeko::T_Password r = working_;
    Put(r.service, S(txtService_->text().trimmed()));
    r.Codcat = MatchingCode(cboCateg_);
    r.CodSCat = MatchingCode(cboSCateg_);
    Put(r.User, S(txtName_->text()));
    Put(r.pw, S(txtPw_->text()));
    Put(r.Email, S(txtEmail_->text()));
    Put(r.URL_Access, S(txtURL_[0]->text()));
    Put(r.URL_Change, S(txtURL_[1]->text()));
    Put(r.URL_Delete, S(txtURL_[2]->text()));
    r.Dt_Expire = VbFromDate(expire_->Date());
    r.Dt_Change = VbFromDate(change_->Date());
    r.blExpire = expire_->Due();
    r.blChange = change_->Due();
    r.blNotExpire = expire_->Notify();
    r.blNotChange = change_->Notify();
    r.ggNotExpire = static_cast<std::int16_t>(expire_->NotifyDays());
    r.ggNotChange = static_cast<std::int16_t>(change_->NotifyDays());
    QString notes = txtNotes_->toPlainText();
    Put(r.Descr, NotesToStore(notes, working_.Descr));
    WipeText(notes);
    Put(r.Remember, S(txtSentence_->text()));
    r.Keyaftbef = PackKeyPair(before_->Code(), after_->Code());
    r.Favourites = chkFav_->isChecked();
    Put(r.Totp, codes_->Stored());
    ardeko::T_Password lists; // the copies of working_'s lists, wiped as they go
    lists.History = std::exchange(r.History, history_->History());
    lists.Fields = std::exchange(r.Fields, fields_->Fields());
    ardeko::WipeEntry(lists);
    return r;
}

bool frmPW::HasChanges() const {
    ardeko::T_Password now = FromControls();
    // The second password box counts too: a half-typed change is a change.
    const bool changed = !(now == filled_) || txtPW2_->text() != txtPw_->text();
    ardeko::WipeEntry(now);
    return changed;
}

// Category box: the store's categories after the default entry.
void frmPW::FillCategories() {
    loading_ = true;
    ComboListControl list(cboCateg_);
    Store().ControlCat(list, S(GetLocalText(text::kNoCategoryItem)));
    cboCateg_->setCurrentIndex(0);
    loading_ = false;
    FillSubCategories();
}

// Subcategory box: the subcategories of the category the box names, or only
// the default entry when it names none.
void frmPW::FillSubCategories() {
    loading_ = true;
    const int cat = MatchingItem(cboCateg_);
    ComboListControl list(cboSCateg_);
    if (cat >= 0) {
        cboCateg_->setCurrentIndex(cat);
        Store().ControlSCat(list, MatchingCode(cboCateg_), S(GetLocalText(text::kNoCategoryItem)));
    } else {
        cboSCateg_->clear();
        cboSCateg_->addItem(GetLocalText(text::kNoCategoryItem), 0);
    }
    cboSCateg_->setCurrentIndex(0);
    loading_ = false;
}

void frmPW::SetCategoryTexts(const QString& category, const QString& subcategory) {
    loading_ = true;
    const int cat = cboCateg_->findText(category);
    if (cat >= 0) cboCateg_->setCurrentIndex(cat);
    cboCateg_->setEditText(category);
    loading_ = false;
    FillSubCategories();
    loading_ = true;
    const int sub = cboSCateg_->findText(subcategory);
    if (sub >= 0) cboSCateg_->setCurrentIndex(sub);
    cboSCateg_->setEditText(subcategory);
    loading_ = false;
}

} // namespace qvs
