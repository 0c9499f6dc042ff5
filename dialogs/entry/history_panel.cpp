#include "dialogs/entry/history_panel.h"

#include "autotype/secret_clipboard.h"
#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/named_widget.h"
#include "frame/options.h"
#include "frame/vb_date_qt.h"
#include "frame/wipe_text.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace qvs {

namespace {

// The same for every password, so the list tells nothing of their lengths.
const QString kMask = QString(8, QChar(0x25CF));

QPushButton* Button(const char* textId, const char* name, QWidget* parent) {
    auto* button = Named(new QPushButton(QString::fromLatin1(textId), parent), name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

HistoryPanel::HistoryPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("35114"), parent), list_(Named(new QTreeWidget(this), "lstHistory")),
      copy_(Button("35117", "cmdCopyOld", this)), restore_(Button("35118", "cmdRestoreOld", this)),
      forget_(Button("35119", "cmdForgetOld", this)) {
    list_->setRootIsDecorated(false);
    list_->setColumnCount(2);
    list_->setHeaderLabels(
        {GetLocalText(text::kHistoryPasswordColumn), GetLocalText(text::kHistoryReplacedColumn)});
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy_);
    buttons->addWidget(restore_);
    buttons->addStretch();
    buttons->addWidget(forget_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    connect(copy_, &QPushButton::clicked, this, &HistoryPanel::CopySelected);
    connect(restore_, &QPushButton::clicked, this, &HistoryPanel::RestoreSelected);
    connect(forget_, &QPushButton::clicked, this, &HistoryPanel::ForgetSelected);
    connect(list_, &QTreeWidget::currentItemChanged, this, &HistoryPanel::EnableButtons);
    EnableButtons();
}

void HistoryPanel::SetHistory(std::vector<ardeko::T_PwHistory> history) {
    history_ = std::move(history);
    Fill();
}

void HistoryPanel::Fill() {
    const bool masked = Opt().SecurityLevel >= 1;
    list_->clear();
    for (const ardeko::T_PwHistory& old : history_) {
        const QString when = DateTimeText(old.replaced);
        new QTreeWidgetItem(list_, {masked ? kMask : QString::fromStdString(old.pw), when});
    }
    if (!history_.empty()) list_->setCurrentItem(list_->topLevelItem(0));
    EnableButtons();
}

std::vector<ardeko::T_PwHistory> HistoryPanel::TakeForLock() {
    // Unmasked, the items show the passwords: once the items are gone, these
    // copies are the last ones.
    std::vector<QString> shown;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        shown.push_back(list_->topLevelItem(i)->text(0));
    list_->clear();
    for (QString& text : shown)
        WipeText(text);
    EnableButtons();
    return std::exchange(history_, {});
}

int HistoryPanel::Selected() const {
    QTreeWidgetItem* item = list_->currentItem();
    return item ? list_->indexOfTopLevelItem(item) : -1;
}

void HistoryPanel::EnableButtons() {
    const bool chosen = Selected() >= 0;
    for (QPushButton* button : {copy_, restore_, forget_})
        button->setEnabled(chosen);
}

void HistoryPanel::CopySelected() {
    const int row = Selected();
    if (row >= 0) CopySecretToClipboard(QString::fromStdString(history_[size_t(row)].pw));
}

void HistoryPanel::RestoreSelected() {
    const int row = Selected();
    if (row < 0) return;
    const QString password = QString::fromStdString(history_[size_t(row)].pw);
    history_.erase(history_.begin() + row);
    Fill();
    emit restoreRequested(password);
}

void HistoryPanel::ForgetSelected() {
    const int row = Selected();
    if (row < 0) return;
    history_.erase(history_.begin() + row);
    Fill();
}

} // namespace qvs
