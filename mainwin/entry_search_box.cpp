#include "mainwin/entry_search_box.h"

#include "frame/image_list.h"
#include "frame/language.h"
#include "frame/named_widget.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

namespace qvs {

namespace {

// Texts chosen here for the search box.
constexpr int kLabelText = 32201;
constexpr int kPlaceholderText = 32202;
constexpr int kNothingFoundText = 32203;
constexpr int kCloseTip = 32204;
constexpr int kIconSize = 16;

} // namespace

EntrySearchBox::EntrySearchBox(QWidget* parent)
    : QWidget(parent), txtSearch_(Named(new QLineEdit(this), "txtSearch")),
      lblNothingFound_(Named(new QLabel(GetLocalText(kNothingFoundText), this), "lblNothingFound")),
      cmdClose_(Named(new QToolButton(this), "cmdCloseSearch")) {
    setObjectName(QStringLiteral("SearchBox"));
    auto* icon = new QLabel(this);
    icon->setPixmap(KeyIcon(QStringLiteral("SEARCH")).pixmap(kIconSize, kIconSize));
    auto* label = new QLabel(GetLocalText(kLabelText), this);
    label->setBuddy(txtSearch_);
    txtSearch_->setPlaceholderText(GetLocalText(kPlaceholderText));
    txtSearch_->setClearButtonEnabled(true);
    txtSearch_->installEventFilter(this);
    lblNothingFound_->setStyleSheet(QStringLiteral("color: #b00020;"));
    lblNothingFound_->hide();
    cmdClose_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    cmdClose_->setToolTip(GetLocalText(kCloseTip));
    cmdClose_->setAutoRaise(true);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 2, 2);
    row->addWidget(icon);
    row->addWidget(label);
    row->addWidget(txtSearch_, 1);
    row->addWidget(lblNothingFound_);
    row->addWidget(cmdClose_);
    hide();

    connect(txtSearch_, &QLineEdit::textChanged, this, &EntrySearchBox::textChanged);
    connect(cmdClose_, &QToolButton::clicked, this, &EntrySearchBox::closeRequested);
}

void EntrySearchBox::Open() {
    show();
    txtSearch_->setFocus(Qt::ShortcutFocusReason);
    txtSearch_->selectAll();
}

void EntrySearchBox::Close() {
    const QSignalBlocker quiet(txtSearch_);
    txtSearch_->clear();
    lblNothingFound_->hide();
    hide();
}

QString EntrySearchBox::Text() const {
    return txtSearch_->text();
}

void EntrySearchBox::ShowNothingFound(bool nothingFound) {
    lblNothingFound_->setVisible(nothingFound);
}

bool EntrySearchBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtSearch_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                      key->key() == Qt::Key_Down)) {
            emit resultsRequested();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qvs
