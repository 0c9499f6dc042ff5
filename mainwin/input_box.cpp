#include "mainwin/input_box.h"

#include "frame/language.h"
#include "frame/modal_stack.h"
#include "frame/program_state.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qvs {

namespace {
constexpr int kOkText = 10;
constexpr int kCancelText = 11;
} // namespace

frmInputBox::frmInputBox(const QString& prompt, const QString& title, QWidget* parent)
    : QDialog(parent), lblPrompt_(new QLabel(prompt, this)), txtInput_(new QLineEdit(this)),
      cboChoice_(new QComboBox(this)) {
    setObjectName(QStringLiteral("frmInputBox"));
    setWindowTitle(title);
    txtInput_->setObjectName(QStringLiteral("txtInput"));
    cboChoice_->setObjectName(QStringLiteral("cboChoice"));
    cboChoice_->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(GetLocalText(kOkText));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(GetLocalText(kCancelText));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* w : {static_cast<QWidget*>(lblPrompt_), static_cast<QWidget*>(txtInput_),
                       static_cast<QWidget*>(cboChoice_), static_cast<QWidget*>(buttons)})
        layout->addWidget(w);
}

void frmInputBox::UseChoices() {
    txtInput_->hide();
    cboChoice_->show();
}

std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& text) {
    frmInputBox box(prompt, title, DialogOwner());
    box.txtInput()->setText(text);
    box.txtInput()->selectAll();
    if (ExecModal(box) != QDialog::Accepted) return std::nullopt;
    return box.txtInput()->text();
}

std::optional<std::int16_t> ChooseCategory(const QString& prompt, const QString& title,
                                           std::int16_t except) {
    frmInputBox box(prompt, title, DialogOwner());
    box.UseChoices();
    for (const ardeko::T_Categ& category : Store().Category())
        if (category.Codcat != except)
            box.cboChoice()->addItem(QString::fromStdString(category.DescrCat), category.Codcat);
    if (box.cboChoice()->count() == 0) return std::nullopt;
    if (ExecModal(box) != QDialog::Accepted) return std::nullopt;
    return static_cast<std::int16_t>(box.cboChoice()->currentData().toInt());
}

} // namespace qvs
