#include "dialogs/files/frm_file_pw.h"

#include "dialogs/files/open_time.h"
#include "dialogs/text_ids.h"
#include "frame/help.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"
#include "frame/window_placement.h"
#include "frame/wipe_text.h"
#include "store/pw.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <algorithm>

namespace qvs {

namespace {

constexpr int kHelpTopic = 26;

QString Seconds(double seconds) {
    return QLocale().toString(seconds, 'f', 1);
}

// Twice the passes and memory of the file's key derivation (at least the
// least a new file gets), within what every reader accepts.
ardeko::KdfParams Stronger(const ardeko::KdfParams& now) {
    return ardeko::WithinCeiling({std::max(now.passes * 2, ardeko::kKdfFloor.passes),
                                  std::max(now.memoryKiB * 2, ardeko::kKdfFloor.memoryKiB)});
}
const QString kPlacementName = QStringLiteral("frmFilePW");

QLineEdit* MakePasswordBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEchoMode(QLineEdit::Password);
    return box;
}

QLabel* MakeLabel(const char* name, const char* textId, QLineEdit* buddy, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(textId), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

QPushButton* MakeButton(const char* name, const char* textId, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(textId), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

frmFilePW::frmFilePW(QWidget* parent)
    : QDialog(parent), txtPW1_(MakePasswordBox("txtPW1", this)),
      txtPW2_(MakePasswordBox("txtPW2", this)), txtPW3_(MakePasswordBox("txtPW3", this)),
      chkStronger_(new QCheckBox(this)), lblOpenTime_(new QLabel(this)),
      openTimer_(new OpenTimer(this)), cmdOK_(MakeButton("cmdOK", "10", this)),
      cmdCancel_(MakeButton("cmdCancel", "11", this)) {
    setWindowTitle(QStringLiteral("7000"));
    Label1_ = MakeLabel("Label1", "7003", txtPW1_, this);
    Label2_ = MakeLabel("Label2", "7004", txtPW2_, this);
    Label3_ = MakeLabel("Label3", "7002", txtPW3_, this);
    lblFile_ = new QLabel(this);
    lblFile_->setObjectName(QStringLiteral("lblFile"));
    lblFile_->setTextFormat(Qt::PlainText);
    lblFile_->hide();

    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->addWidget(lblFile_, 0, 0, 1, 2);
    grid->addWidget(Label3_, 1, 0);
    grid->addWidget(txtPW3_, 1, 1);
    grid->addWidget(Label1_, 2, 0);
    grid->addWidget(txtPW1_, 2, 1);
    grid->addWidget(Label2_, 3, 0);
    grid->addWidget(txtPW2_, 3, 1);
    chkStronger_->setObjectName(QStringLiteral("chkStronger"));
    grid->addWidget(chkStronger_, 4, 0, 1, 2);
    lblOpenTime_->setObjectName(QStringLiteral("lblOpenTime"));
    lblOpenTime_->setWordWrap(true);
    lblOpenTime_->hide();
    grid->addWidget(lblOpenTime_, 5, 0, 1, 2);
    connect(chkStronger_, &QCheckBox::toggled, this, &frmFilePW::ShowOpenTime);
    connect(openTimer_, &OpenTimer::Measured, this, &frmFilePW::ShowOpenTime);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    grid->addLayout(buttons, 6, 0, 1, 2);
    txtPW1_->setMinimumWidth(200);
    setTabOrder(txtPW3_, txtPW1_);
    setTabOrder(txtPW1_, txtPW2_);
    setTabOrder(txtPW2_, chkStronger_);
    setTabOrder(chkStronger_, cmdOK_);
    setTabOrder(cmdOK_, cmdCancel_);

    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &frmFilePW::OnOK);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmFilePW::OnCancel);
    LocalizeForm(this);
    SetHelpTopic(this, kHelpTopic);
}

QString frmFilePW::controlla() {
    return controlla(QString());
}

QString frmFilePW::controlla(const QString& path) {
    ShowFile(path);
    return Run(Mode::Enter);
}

// Several files can ask for a password one after another (a merge, a
// save in the older format): the window says which one it means.
void frmFilePW::ShowFile(const QString& path) {
    lblFile_->setText(LocalTextWith(text::kFilePasswordFile, QFileInfo(path).fileName()));
    lblFile_->setToolTip(path);
    lblFile_->setVisible(!path.isEmpty());
}

QString frmFilePW::nuova() {
    ShowFile(QString());
    return Run(Mode::Set);
}

bool frmFilePW::changepw(ardeko::clsPW& store, bool stronger) {
    store_ = &store;
    strongerTicked_ = stronger;
    ShowFile(QString());
    const QString password = Run(Mode::Change);
    store_ = nullptr;
    strongerTicked_ = false;
    if (cancelled_) return false;
    const int done = password.isEmpty() ? text::kNewPasswordEmpty : text::kNewPasswordSet;
    ShowMessage(GetLocalText(done) + QLatin1Char('\r') + GetLocalText(text::kPasswordChangedLine),
                vbInformation);
    return true;
}

// The new password (and the stronger key) is given to the store while the
// window still shows: making the key takes as long as an open will.
void frmFilePW::ChangePassword() {
    if (txtPW1_->text() != txtPW2_->text()) {
        PasswordCorretta(); // says they differ
        return;
    }
    store_->SetFilePW(Utf8Secret(txtPW1_->text()));
    if (chkStronger_->isChecked()) {
        ShowMakingKey();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool raised =
            store_->RaiseKdf(Stronger(store_->KdfSettings()), txtPW1_->text().toStdString());
        QApplication::restoreOverrideCursor();
        if (!raised) ShowMessage(GetLocalText(text::kStrongerKeyFailed), vbExclamation);
    }
    PasswordCorretta();
}

// A slower key makes every open slower: how much is said before the user
// takes it, measured on this machine.
void frmFilePW::ShowOpenTime() {
    const bool shown = mode_ == Mode::Change && store_ && chkStronger_->isChecked();
    lblOpenTime_->setVisible(shown);
    if (!shown) return;
    const ardeko::KdfParams now = store_->KdfSettings();
    if (!openTimer_->HasResult()) {
        lblOpenTime_->setText(GetLocalText(text::kMeasuringOpenTime));
        openTimer_->Measure(now);
        return;
    }
    const double seconds = openTimer_->Seconds();
    lblOpenTime_->setText(
        GetLocalText(text::kOpenTime)
            .replace(QLatin1String("%s"), Seconds(ScaledOpenSeconds(seconds, now, Stronger(now))))
            .replace(QLatin1String("%n"), Seconds(seconds)));
}

// The window says what it waits for, instead of seeming to hang.
void frmFilePW::ShowMakingKey() {
    const ardeko::KdfParams now = store_->KdfSettings();
    const QString about =
        openTimer_->HasResult()
            ? Seconds(ScaledOpenSeconds(openTimer_->Seconds(), now, Stronger(now)))
            : QStringLiteral("?");
    lblOpenTime_->setText(LocalTextWith(text::kMakingSlowerKey, about));
    lblOpenTime_->show();
    lblOpenTime_->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmFilePW::PasswordCorretta() {
    if (txtPW1_->text() != txtPW2_->text()) {
        ShowMessage(GetLocalText(text::kNewPasswordsDiffer), vbExclamation);
        txtPW1_->clear();
        txtPW2_->clear();
        txtPW1_->setFocus();
        return;
    }
    result_ = txtPW1_->text();
    closeLock_ = false;
    cancelled_ = false;
    Unload();
}

void frmFilePW::reject() {
    if (cmdCancel_->isVisibleTo(this)) OnCancel();
}

void frmFilePW::closeEvent(QCloseEvent* event) {
    if (closeLock_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

QString frmFilePW::Run(Mode mode) {
    result_.clear();
    cancelled_ = true;
    closeLock_ = true;
    SetMode(mode);
    RestoreWindowPlacement(this, kPlacementName);
    ExecModal(*this);
    return result_;
}

void frmFilePW::SetMode(Mode mode) {
    mode_ = mode;
    const bool enter = mode == Mode::Enter;
    const bool change = mode == Mode::Change;
    setWindowTitle(GetLocalText(enter ? 7001 : 7000));
    Label1_->setText(GetLocalText(change ? 7005 : 7003));
    cmdCancel_->setVisible(mode != Mode::Set);
    Label2_->setVisible(!enter);
    txtPW2_->setVisible(!enter);
    Label3_->setVisible(change);
    txtPW3_->setVisible(change);
    chkStronger_->setText(GetLocalText(text::kStrongerKey));
    chkStronger_->setChecked(change && strongerTicked_);
    chkStronger_->setVisible(change);
    (change ? txtPW3_ : txtPW1_)->setFocus();
}

void frmFilePW::OnOK() {
    switch (mode_) {
    case Mode::Change:
        if (store_ && store_->CheckFilePW(Utf8Secret(txtPW3_->text()))) {
            ChangePassword();
            return;
        }
        ShowMessage(GetLocalText(text::kOldPasswordRefused), vbOKOnly);
        txtPW3_->clear();
        txtPW3_->setFocus();
        return;
    case Mode::Set:
        PasswordCorretta();
        return;
    case Mode::Enter:
        // The caller tries the password on the file; nothing to compare here.
        closeLock_ = false;
        cancelled_ = false;
        result_ = txtPW1_->text();
        Unload();
        return;
    }
}

void frmFilePW::OnCancel() {
    result_.clear();
    cancelled_ = true;
    closeLock_ = !cmdCancel_->isVisibleTo(this);
    Unload();
}

void frmFilePW::Unload() {
    SaveWindowPlacement(this, kPlacementName);
    done(cancelled_ ? QDialog::Rejected : QDialog::Accepted);
}

} // namespace qvs
