// A menu whose items are addressed by fixed index, separators included, as
// the main window's commands number them. Built from a table of items.
#pragma once

#include <QKeySequence>
#include <QString>

#include <functional>
#include <span>
#include <vector>

class QAction;
class QMenu;

namespace qvs {

// One row of a menu table. textId 0 makes a separator; a submenu holder
// carries its text id and submenu set.
struct IndexedItem {
    int index;
    int textId;
    // Plain data only: tables are built before the application exists.
    QKeySequence::StandardKey key = QKeySequence::UnknownKey;
    bool submenu = false;
    const char* icon = nullptr; // image key shown while menu icons are on
    int plainKey = 0;           // a single key, when there is no standard one
};

class IndexedMenu {
public:
    IndexedMenu() = default;
    // Adds the table's items to menu in table order; onChoose gets the index
    // of a chosen item. Indexes missing from the table stay empty.
    IndexedMenu(QMenu* menu, std::span<const IndexedItem> items,
                const std::function<void(int)>& onChoose);

    QMenu* Menu() const { return menu_; }
    // nullptr for an index the menu does not use.
    QAction* Item(int index) const;
    // The submenu of a holder item; nullptr for other items.
    QMenu* SubMenu(int index) const;
    int Count() const { return static_cast<int>(items_.size()); }
    // The index of an item of this menu, -1 for others (and for nullptr).
    int IndexOf(const QAction* action) const;

    void SetEnabled(int index, bool enabled) const;
    void SetVisible(int index, bool visible) const;
    void SetText(int index, int textId) const;
    // Shows or removes the items' icons.
    void ShowIcons(bool on) const;

private:
    QMenu* menu_ = nullptr;
    std::vector<QAction*> items_;
    std::vector<QString> icons_;
};

// The text id as the item's text, replaced when the window is localised.
QString TextIdCaption(int textId);

} // namespace qvs
