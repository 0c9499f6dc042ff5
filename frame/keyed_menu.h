// A pop-up menu whose items are reached by 1-based index or by key, with
// submenus, icons from an image list, a bold default mark, check marks and a
// blocking show that reports the chosen item. The tray menu is built on it.
#pragma once

#include "frame/image_list.h"

#include <QKeySequence>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QMenu;

namespace qvs {

// One item to add, built in steps:
//   MenuItem("Open", "open").WithIcon(0).AsDefault()
// parent is the index of the item it hangs under (0 = top level); icon is an
// index into the menu's image list (-1 = none). An item without a key is a
// separator, whatever its caption ("-" by custom): an entry named "-" stays
// an item.
struct MenuItem {
    MenuItem(const QString& itemCaption, const QString& itemKey)
        : caption(itemCaption), key(itemKey) {}

    MenuItem& Under(int parentIndex) { return parent = parentIndex, *this; }
    MenuItem& WithIcon(int iconIndex) { return icon = iconIndex, *this; }
    MenuItem& AsDefault(bool on = true) { return isDefault = on, *this; }
    MenuItem& Checked(bool on = true) { return checked = on, *this; }
    MenuItem& Enabled(bool on) { return enabled = on, *this; }
    MenuItem& WithData(const QVariant& value) { return data = value, *this; }
    // Shown when the pointer rests on the item, enabled or not (to say why
    // it is disabled, say).
    MenuItem& WithToolTip(const QString& text) { return toolTip = text, *this; }
    // Shown beside the caption; it also chooses the item while the menu is
    // open.
    MenuItem& WithShortcut(const QKeySequence& key) { return shortcut = key, *this; }

    QString caption;
    QString key;
    int parent = 0;
    int icon = -1;
    bool isDefault = false;
    bool checked = false;
    bool enabled = true;
    QVariant data;
    QString toolTip;
    QKeySequence shortcut;
};

// A name from a data file as a caption shown as it is: "&" is no mnemonic
// mark, and a tab would push the rest into the shortcut column.
QString NameCaption(const QString& name);

class KeyedMenu : public QObject {
    Q_OBJECT
public:
    explicit KeyedMenu(QObject* parent = nullptr);
    ~KeyedMenu() override;

    // Icons of items (present and later ones) come from this list by index.
    void SetImageList(std::optional<ImageList> list);

    // Returns the new item's index, or 0 (adding nothing) when parent is
    // neither 0 nor a valid index or is a separator.
    int Add(const MenuItem& item);
    // Removes the item with everything under it; later items move up.
    bool Remove(int index);
    void Clear();

    int Count() const { return static_cast<int>(entries_.size()); }
    bool IsValid(int index) const { return index >= 1 && index <= Count(); }
    // 0 when no item has that key (the first one wins when several have).
    int IndexOf(const QString& key) const;
    // Empty for an invalid index.
    QString Key(int index) const;
    QString Caption(int index) const;
    // The index of the item it hangs under (0 = top level, or invalid index).
    int Parent(int index) const { return IsValid(index) ? At(index).item.parent : 0; }
    QVariant Data(int index) const;
    QString ToolTip(int index) const;

    // Setters fail, changing nothing, for an invalid index; getters of an
    // invalid index answer false.
    bool SetEnabled(int index, bool enabled);
    bool IsEnabled(int index) const;
    bool SetDefault(int index, bool isDefault);
    bool IsDefault(int index) const;
    bool SetChecked(int index, bool checked);
    bool IsChecked(int index) const;

    // Shows the menu at a screen point and waits; the chosen item's index,
    // or 0 when the menu was closed without a choice.
    int Exec(const QPoint& globalPos);

    // The menu itself, kept in step with the items (for hosts that show it
    // themselves, such as a tray icon's context menu).
    QMenu* Menu() const { return root_.get(); }

signals:
    // An item was chosen, whichever way the menu was shown.
    void Triggered(int index, const QString& key);

protected:
    // A top-level item's shortcut chooses it while the menu is open: an
    // open pop-up menu takes the keys, and Qt only reads its mnemonics.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        MenuItem item;
        QAction* action = nullptr; // owned by the menu it sits in
        QMenu* submenu = nullptr;  // created with its first child
    };

    Entry& At(int index) { return entries_[size_t(index - 1)]; }
    const Entry& At(int index) const { return entries_[size_t(index - 1)]; }
    QMenu* MenuFor(int parent);
    std::vector<bool> Subtree(int index) const;
    void Renumber(const std::vector<bool>& removed);
    void DropEmptySubmenu(int parent);
    void ApplyIcon(Entry& entry) const;
    static void ApplyDefault(const Entry& entry);
    static void DeleteObjects(Entry& entry);
    int IndexOfAction(const QAction* action) const;
    void OnTriggered(QAction* action);

    std::unique_ptr<QMenu> root_;
    std::vector<Entry> entries_;
    std::optional<ImageList> images_;
};

} // namespace qvs
