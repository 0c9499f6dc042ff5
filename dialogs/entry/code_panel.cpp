#include "dialogs/entry/code_panel.h"

#include "dialogs/entry/code_display.h"
#include "dialogs/entry/qr_image.h"
#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/named_widget.h"
#include "frame/one_time_code.h"
#include "frame/options.h"
#include "frame/selection_guard.h"
#include "frame/wipe_text.h"

#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

namespace qvs {

namespace {

QString WithFile(int textId, const QString& path) {
    return GetLocalText(textId).replace(QLatin1String("%s"), path);
}

} // namespace

CodePanel::CodePanel(QWidget* parent)
    : QGroupBox(QStringLiteral("35108"), parent), box_(Named(new QLineEdit(this), "txtTotp")),
      read_(Named(new QPushButton(QStringLiteral("35110"), this), "cmdReadQr")),
      display_(new CodeDisplay(this, "35112")) {
    Build();
    // A secret gives codes for ever: as private as the password.
    KeepOutOfSelection(box_);
    if (Opt().SecurityLevel >= 1) box_->setEchoMode(QLineEdit::Password);
    connect(box_, &QLineEdit::textChanged, this, &CodePanel::UpdateCode);
    connect(read_, &QPushButton::clicked, this, &CodePanel::ReadImage);
    UpdateCode();
}

void CodePanel::Build() {
    read_->setAutoDefault(false);
    auto* form = new QFormLayout(this);
    auto* secretLabel = new QLabel(QStringLiteral("35109"), this);
    secretLabel->setBuddy(box_);
    auto* secretRow = new QHBoxLayout;
    secretRow->addWidget(box_, 1);
    secretRow->addWidget(read_);
    form->addRow(secretLabel, secretRow);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(display_->Code());
    codeRow->addWidget(display_->Left());
    codeRow->addStretch();
    codeRow->addWidget(display_->CopyButton());
    form->addRow(new QLabel(QStringLiteral("35111"), this), codeRow);
}

void CodePanel::SetStored(const std::string& stored) {
    filled_ = stored;
    filledText_ = QString::fromStdString(stored);
    box_->setText(filledText_);
    box_->setCursorPosition(0); // an address shows its beginning
    UpdateCode();
}

std::string CodePanel::TakeForLock() {
    std::string taken = std::exchange(filled_, {});
    WipeText(filledText_);
    UpdateCode();
    return taken;
}

void CodePanel::PutBackAfterLock(std::string filled) {
    filledText_ = QString::fromStdString(filled);
    filled_ = std::move(filled);
    UpdateCode();
}

std::string CodePanel::Stored() const {
    const QString text = box_->text().trimmed();
    if (text == filledText_.trimmed()) return filled_;
    if (text.isEmpty()) return {};
    const ardeko::TotpParse parsed = ardeko::ParseTotp(text.toStdString());
    return parsed.params ? ardeko::TotpAddress(*parsed.params) : text.toStdString();
}

ardeko::TotpError CodePanel::Problem() const {
    const QString text = box_->text().trimmed();
    // An empty box removes the code; a stored value kept as it came is not
    // checked again (the store wrote it).
    if (text.isEmpty() || text == filledText_.trimmed()) return ardeko::TotpError::None;
    return ardeko::ParseTotp(text.toStdString()).error;
}

QString CodePanel::ShownCode() const {
    return display_->ShownCode();
}

void CodePanel::UpdateCode() {
    display_->SetStored(Stored());
}

void CodePanel::ReadImage() {
    const QString path =
        QFileDialog::getOpenFileName(this, GetLocalText(text::kQrImageDialogTitle), Opt().Path,
                                     GetLocalText(text::kQrImageFilter));
    if (!path.isEmpty()) ReadImageFile(path);
}

bool CodePanel::ReadImageFile(const QString& path) {
    const QrRead read = ReadQrCodes(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!read.readable) {
        ShowMessage(WithFile(text::kNotAnImage, shown), vbExclamation);
        return false;
    }
    if (read.texts.isEmpty()) {
        ShowMessage(WithFile(text::kNoQrCode, shown), vbExclamation);
        return false;
    }
    // The first code that is an address: a set-up page may show others.
    for (const QString& text : read.texts) {
        if (!text.startsWith(QLatin1String("otpauth://"), Qt::CaseInsensitive)) continue;
        const ardeko::TotpParse parsed = ardeko::ParseTotp(text.toStdString());
        if (!parsed.params) {
            ShowMessage(TotpErrorMessage(parsed.error), vbExclamation);
            return false;
        }
        box_->setText(QString::fromStdString(ardeko::TotpAddress(*parsed.params)));
        return true;
    }
    ShowMessage(WithFile(text::kNoCodeAddressInQr, shown), vbExclamation);
    return false;
}

} // namespace qvs
