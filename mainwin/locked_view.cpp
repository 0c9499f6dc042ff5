#include "mainwin/locked_view.h"

#include "app/text_ids.h"
#include "frame/image_list.h"
#include "frame/language.h"
#include "frame/named_widget.h"
#include "mainwin/text_ids.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qvs {

namespace {

constexpr int kIconSize = 48;
constexpr int kBoxWidth = 240;

QLabel* BigLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

LockedView::LockedView(QWidget* parent)
    : QWidget(parent), lblFile_(Named(BigLabel(this), "lblFile")),
      txtPassword_(Named(new QLineEdit(this), "txtPassword")),
      cmdUnlock_(Named(new QPushButton(GetLocalText(text::kUnlock), this), "cmdUnlock")),
      lblWrong_(Named(new QLabel(GetLocalText(text::kWrongPassword), this), "lblWrong")) {
    setObjectName(QStringLiteral("LockedView"));
    auto* icon = new QLabel(this);
    icon->setPixmap(KeyIcon(QStringLiteral("QVS")).pixmap(kIconSize, kIconSize));
    icon->setAlignment(Qt::AlignCenter);
    auto* locked = new QLabel(GetLocalText(text::kFileLocked), this);
    locked->setAlignment(Qt::AlignCenter);
    txtPassword_->setEchoMode(QLineEdit::Password);
    txtPassword_->setMinimumWidth(kBoxWidth);
    lblWrong_->setStyleSheet(QStringLiteral("color: #b00020;"));
    lblWrong_->setAlignment(Qt::AlignCenter);
    // Keeps its room while hidden, so the password box does not jump.
    QSizePolicy policy = lblWrong_->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    lblWrong_->setSizePolicy(policy);
    lblWrong_->hide();

    auto* row = new QHBoxLayout;
    auto* label = new QLabel(GetLocalText(text::kUnlockPasswordLabel), this);
    label->setBuddy(txtPassword_);
    row->addStretch();
    row->addWidget(label);
    row->addWidget(txtPassword_);
    row->addWidget(cmdUnlock_);
    row->addStretch();
    auto* column = new QVBoxLayout(this);
    column->addStretch(2);
    column->addWidget(icon);
    column->addWidget(lblFile_);
    column->addWidget(locked);
    column->addSpacing(12);
    column->addLayout(row);
    column->addWidget(lblWrong_);
    column->addStretch(3);

    connect(cmdUnlock_, &QPushButton::clicked, this, &LockedView::OnUnlock);
    connect(txtPassword_, &QLineEdit::returnPressed, this, &LockedView::OnUnlock);
}

void LockedView::Prepare(const QString& fileName) {
    lblFile_->setText(fileName);
    txtPassword_->clear();
    // Keeps its room while hidden, so the password box does not jump.
    QSizePolicy policy = lblWrong_->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    lblWrong_->setSizePolicy(policy);
    lblWrong_->hide();
    txtPassword_->setFocus();
}

void LockedView::ShowWrongPassword() {
    txtPassword_->clear();
    lblWrong_->show();
    txtPassword_->setFocus();
}

// The box is emptied at once: the typed password must not stay in it.
void LockedView::OnUnlock() {
    const QString password = txtPassword_->text();
    txtPassword_->clear();
    emit unlockRequested(password);
}

} // namespace qvs
