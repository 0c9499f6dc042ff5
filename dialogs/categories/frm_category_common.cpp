#include "dialogs/categories/frm_category_common.h"

#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"
#include "frame/named_widget.h"
#include "frame/window_placement.h"

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qvs {

void ListWidgetControl::Clear() {
    list_->clear();
}

void ListWidgetControl::AddItem(const std::string& text) {
    list_->addItem(QString::fromStdString(text));
}

int ListWidgetControl::NewIndex() const {
    return list_->count() - 1;
}

void ListWidgetControl::SetItemData(int index, std::int32_t value) {
    if (QListWidgetItem* item = list_->item(index)) item->setData(Qt::UserRole, value);
}

int ListWidgetControl::ListCount() const {
    return list_->count();
}

void ListWidgetControl::SetListIndex(int index) {
    list_->setCurrentRow(index);
}

QPushButton* CategoryButton(const char* name, int textId, QWidget* parent) {
    return Named(new QPushButton(QString::number(textId), parent), name);
}

std::string TypedName(const QLineEdit* box) {
    return box->text().trimmed().toStdString();
}

std::string SelectedName(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item->text().toStdString() : std::string();
}

std::optional<bool> AskKeepEntries(int firstText, int secondText, int entries) {
    QString question = GetLocalText(firstText) + QLatin1Char('\r') + GetLocalText(secondText);
    question.replace(QLatin1String("%n"), QString::number(entries));
    const int answer = ShowMessage(question, vbYesNoCancel | vbQuestion);
    if (answer == vbYes) return true;
    if (answer == vbNo) return false;
    return std::nullopt;
}

QVBoxLayout* ButtonColumn(std::initializer_list<QPushButton*> commands, QPushButton* ok) {
    auto* column = new QVBoxLayout;
    for (QPushButton* b : commands) {
        b->setAutoDefault(false);
        column->addWidget(b);
    }
    column->addStretch();
    ok->setAutoDefault(false);
    column->addWidget(ok);
    return column;
}

void ShowRefusal(int textId, const QString& storeReason) {
    QString text = GetLocalText(textId);
    if (!storeReason.isEmpty()) text += QLatin1Char('\r') + storeReason;
    ShowMessage(text, vbOKOnly | vbCritical);
}

void ShowMissingInput() {
    ShowMessage(GetLocalText(text::kCategoryMissingInput), vbOKOnly);
}

int ExecCategoryWindow(QDialog& dialog, const QString& placementName,
                       const std::function<bool()>& changed) {
    // Centring needs the size the layout gives, which a window not yet shown lacks.
    dialog.adjustSize();
    RestoreWindowPlacement(&dialog, placementName);
    ModalStackEntry entry(&dialog);
    const int result = dialog.exec();
    SaveWindowPlacement(&dialog, placementName);
    entry.SetRefresh(changed());
    return result;
}

} // namespace qvs
