#include "mainwin/input_box.h"

#include "frame/language.h"
#include "frame/modal_stack.h"
#include "frame/text_ids.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qvs {

frmInputBox::frmInputBox(const QString& prompt, const QString& title, QWidget* parent)
    : QDialog(parent), lblPrompt_(new QLabel(prompt, this)), txtInput_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("frmInputBox"));
    setWindowTitle(title);
    txtInput_->setObjectName(QStringLiteral("txtInput"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(GetLocalText(text::kOk));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(GetLocalText(text::kCancel));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* w : {static_cast<QWidget*>(lblPrompt_), static_cast<QWidget*>(txtInput_),
                       static_cast<QWidget*>(buttons)})
        layout->addWidget(w);
}

std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& text) {
    frmInputBox box(prompt, title, DialogOwner());
    box.txtInput()->setText(text);
    box.txtInput()->selectAll();
    if (ExecModal(box) != QDialog::Accepted) return std::nullopt;
    return box.txtInput()->text();
}

} // namespace qvs
