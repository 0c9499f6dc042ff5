#include "mainwin/entry_search_box.h"

#include "frame/image_list.h"
#include "frame/language.h"
#include "frame/named_widget.h"
#include "mainwin/text_ids.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

namespace qvs {

namespace {

constexpr int kIconSize = 16;

} // namespace

EntrySearchBox::EntrySearchBox(QWidget* parent)
    : QWidget(parent), txtSearch_(Named(new QLineEdit(this), "txtSearch")),
      lblNothingFound_(
          Named(new QLabel(GetLocalText(text::kSearchNothingFound), this), "lblNothingFound")),
      cmdClose_(Named(new QToolButton(this), "cmdCloseSearch")) {
    setObjectName(QStringLiteral("SearchBox"));
    auto* icon = new QLabel(this);
    icon->setPixmap(KeyIcon(QStringLiteral("SEARCH")).pixmap(kIconSize, kIconSize));
    auto* label = new QLabel(GetLocalText(text::kSearchLabel), this);
    label->setBuddy(txtSearch_);
    txtSearch_->setPlaceholderText(GetLocalText(text::kSearchPlaceholder));
    txtSearch_->setClearButtonEnabled(true);
    txtSearch_->installEventFilter(this);
    lblNothingFound_->setStyleSheet(QStringLiteral("color: #b00020;"));
    lblNothingFound_->hide();
    cmdClose_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    cmdClose_->setToolTip(GetLocalText(text::kSearchCloseTip));
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
