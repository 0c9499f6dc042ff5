// The list the store fills with category or subcategory names (ControlCat,
// ControlSCat). The windows adapt their list widgets to it, so the store
// stays free of any toolkit.
#pragma once

#include <cstdint>
#include <string>

namespace ardeko {

class IListControl {
public:
    virtual ~IListControl() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const std::string& text) = 0; // appended at the end
    virtual int NewIndex() const = 0;                  // index of the item just added
    virtual void SetItemData(int index, std::int32_t value) = 0;
    virtual int ListCount() const = 0;
    virtual void SetListIndex(int index) = 0; // selects an item
};

} // namespace ardeko
