#include "dialogs/combo_list.h"

#include <QComboBox>

namespace qvs {

void ComboListControl::Clear() {
    combo_->clear();
}

void ComboListControl::AddItem(const std::string& text) {
    combo_->addItem(QString::fromStdString(text));
}

int ComboListControl::NewIndex() const {
    return combo_->count() - 1;
}

void ComboListControl::SetItemData(int index, std::int32_t value) {
    combo_->setItemData(index, value);
}

int ComboListControl::ListCount() const {
    return combo_->count();
}

void ComboListControl::SetListIndex(int index) {
    combo_->setCurrentIndex(index);
}

int MatchingItem(const QComboBox* combo) {
    return combo->findText(combo->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

std::int16_t MatchingCode(const QComboBox* combo) {
    const int index = MatchingItem(combo);
    return index < 0 ? 0 : static_cast<std::int16_t>(combo->itemData(index).toInt());
}

bool SelectCode(QComboBox* combo, std::int16_t code) {
    const int index = combo->findData(static_cast<int>(code));
    if (index < 0) return false;
    combo->setCurrentIndex(index);
    return true;
}

} // namespace qvs
