// Lets the store fill a combo box with category or subcategory names (item
// data = code), and finds items by the rules the dialogs share.
#pragma once

#include "store/list_control.h"

#include <cstdint>

class QComboBox;

namespace qvs {

class ComboListControl : public ardeko::IListControl {
public:
    explicit ComboListControl(QComboBox* combo) : combo_(combo) {}
    void Clear() override;
    void AddItem(const std::string& text) override;
    int NewIndex() const override;
    void SetItemData(int index, std::int32_t value) override;
    int ListCount() const override;
    void SetListIndex(int index) override;

private:
    QComboBox* combo_;
};

// The item whose text equals the box's text exactly (letter case counts);
// -1 when the typed text names no item.
int MatchingItem(const QComboBox* combo);
// The code (item data) of that item; 0 when there is none.
std::int16_t MatchingCode(const QComboBox* combo);
// Selects the item with this code; false (selection unchanged) when none has it.
bool SelectCode(QComboBox* combo, std::int16_t code);

} // namespace qvs
