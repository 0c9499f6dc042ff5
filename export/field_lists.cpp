#include "export/field_lists.h"

#include <QListWidget>

#include <memory>

namespace qvs {

namespace {

// The field an item stands for; its text is the field's name as shown.
QString Key(const QListWidgetItem* item) {
    return item->data(Qt::UserRole).toString();
}

// What stays highlighted after row left the list.
void HighlightNear(QListWidget* list, int row) {
    if (list->count() > 0) list->setCurrentRow(qMin(row, list->count() - 1));
}

} // namespace

FieldLists::FieldLists(QListWidget* all, QListWidget* selected, const QStringList& fields,
                       Label label)
    : QObject(all), all_(all), selected_(selected), fields_(fields), label_(label) {
    for (const QString& field : fields_)
        Append(all_, field);
    HighlightNear(all_, 0);
    connect(all_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { MoveRightAt(all_->row(item)); });
    connect(selected_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { MoveLeftAt(selected_->row(item)); });
}

void FieldLists::Choose(const QStringList& chosen) {
    MoveAllLeft();
    for (const QString& name : chosen) {
        for (int row = 0; row < all_->count(); ++row) {
            if (Key(all_->item(row)) != name) continue;
            selected_->addItem(all_->takeItem(row));
            break;
        }
    }
    HighlightNear(all_, 0);
    HighlightNear(selected_, 0);
}

QStringList FieldLists::Chosen() const {
    QStringList chosen;
    for (int i = 0; i < selected_->count(); ++i)
        chosen << Key(selected_->item(i));
    return chosen;
}

void FieldLists::MoveRight() {
    MoveRightAt(all_->currentRow());
}

void FieldLists::MoveRightAt(int row) {
    if (row < 0 || row >= all_->count()) return;
    selected_->addItem(all_->takeItem(row));
    selected_->setCurrentRow(selected_->count() - 1);
    HighlightNear(all_, row);
}

void FieldLists::MoveAllRight() {
    while (all_->count() > 0)
        MoveRightAt(0);
}

void FieldLists::MoveLeft() {
    MoveLeftAt(selected_->currentRow());
}

void FieldLists::MoveLeftAt(int row) {
    if (row < 0 || row >= selected_->count()) return;
    MoveBack(row);
    HighlightNear(selected_, row);
}

void FieldLists::MoveAllLeft() {
    while (selected_->count() > 0)
        MoveBack(0);
}

// A field goes back to its offered place, so the list keeps its order.
void FieldLists::MoveBack(int row) {
    std::unique_ptr<QListWidgetItem> item(selected_->takeItem(row));
    const int place = int(fields_.indexOf(Key(item.get())));
    int at = 0;
    while (at < all_->count() && fields_.indexOf(Key(all_->item(at))) < place)
        ++at;
    all_->insertItem(at, item.release());
    all_->setCurrentRow(at);
}

void FieldLists::Append(QListWidget* list, const QString& field) {
    auto* item = new QListWidgetItem(label_(field.toStdString()), list);
    item->setData(Qt::UserRole, field);
}

void FieldLists::MoveUp() {
    Shift(-1);
}

void FieldLists::MoveDown() {
    Shift(1);
}

void FieldLists::Shift(int by) {
    const int row = selected_->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= selected_->count()) return;
    selected_->insertItem(to, selected_->takeItem(row));
    selected_->setCurrentRow(to);
}

} // namespace qvs
