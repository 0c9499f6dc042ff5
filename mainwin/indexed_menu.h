// Menus built from one table each: every row names its command, and the
// menu's items, their shortcuts, icons and separators, which items need a
// file and what enables them come from the row. Items are kept by their
// command's value, separators included.
#pragma once

#include "mainwin/menu_commands.h"

#include <QKeySequence>
#include <QString>

#include <functional>
#include <span>
#include <variant>
#include <vector>

class QAction;
class QMenu;

namespace qvs {

// A shortcut as plain data: tables are built before the application exists.
struct MenuKey {
    constexpr MenuKey() = default;
    constexpr MenuKey(QKeySequence::StandardKey key) : standard(key) {}
    constexpr MenuKey(QKeyCombination key) : combined(key.toCombined()) {}
    constexpr MenuKey(Qt::Key key) : combined(int(key)) {}
    QKeySequence Sequence() const {
        return combined ? QKeySequence(combined) : QKeySequence(standard);
    }

    QKeySequence::StandardKey standard = QKeySequence::UnknownKey;
    int combined = 0;
};

// Row flags.
enum MenuFlag : unsigned {
    kSubmenu = 1,   // the item holds a submenu
    kFileOnly = 2,  // shown only while a file is open
    kCheckable = 4, // carries a check mark
    kChecked = 8,   // ... set at the start
};

// One row of a menu table. textId 0 makes a separator. runs is what the
// item forwards to, for menus that run another menu's commands.
template <typename Command, typename Runs = std::monostate> struct MenuRow {
    Command command;
    int textId;
    const char* icon = nullptr; // image key shown while menu icons are on
    MenuKey key = {};
    unsigned flags = 0;
    Enabling enabling = Enabling::Fixed;
    Runs runs = {};
};

// The items of one menu by number; what the typed menus below are built on.
class IndexedMenu {
public:
    IndexedMenu() = default;
    explicit IndexedMenu(QMenu* menu) : menu_(menu) {}

    // Adds an item (a separator for textId 0) at the end of the menu and
    // keeps it under index; onChoose runs when it is chosen.
    QAction* Add(int index, int textId, const char* icon, MenuKey key, unsigned flags,
                 const std::function<void()>& onChoose);

    QMenu* Menu() const { return menu_; }
    // nullptr for an index the menu does not use.
    QAction* Item(int index) const;
    // The submenu of a holder item; nullptr for other items.
    QMenu* SubMenu(int index) const;
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

// A menu whose items are named by Command and built from its table.
template <typename Command, typename Runs = std::monostate> class CommandMenu {
public:
    using Row = MenuRow<Command, Runs>;
    using CommandType = Command;

    CommandMenu() = default;
    // Adds the table's rows to menu in table order; onChoose gets the chosen
    // item's command. The table must outlive the menu.
    CommandMenu(QMenu* menu, std::span<const Row> rows,
                const std::function<void(Command)>& onChoose)
        : items_(menu), rows_(rows) {
        for (const Row& row : rows)
            items_.Add(Index(row.command), row.textId, row.icon, row.key, row.flags,
                       [onChoose, command = row.command] { onChoose(command); });
    }

    QMenu* Menu() const { return items_.Menu(); }
    // nullptr for a command the table does not list.
    QAction* Item(Command command) const { return items_.Item(Index(command)); }
    QMenu* SubMenu(Command command) const { return items_.SubMenu(Index(command)); }
    void SetEnabled(Command command, bool on) const { items_.SetEnabled(Index(command), on); }
    void SetVisible(Command command, bool on) const { items_.SetVisible(Index(command), on); }
    void SetText(Command command, int textId) const { items_.SetText(Index(command), textId); }
    void ShowIcons(bool on) const { items_.ShowIcons(on); }
    std::span<const Row> Rows() const { return rows_; }

    // The items that need a file show only while one is open.
    void ShowForFile(bool fileOpen) const {
        for (const Row& row : rows_)
            if (row.flags & kFileOnly) SetVisible(row.command, fileOpen);
    }
    // Each item with an enabling rule is enabled as allows answers for it.
    template <typename Allows> void Enable(const Allows& allows) const {
        for (const Row& row : rows_)
            if (row.enabling != Enabling::Fixed) SetEnabled(row.command, allows(row.enabling));
    }
    // What the item of command forwards to; empty when it lists none.
    Runs RunsOf(Command command) const {
        for (const Row& row : rows_)
            if (row.command == command) return row.runs;
        return {};
    }

private:
    static int Index(Command command) { return static_cast<int>(command); }

    IndexedMenu items_;
    std::span<const Row> rows_;
};

// The text id as the item's text, replaced when the window is localised.
QString TextIdCaption(int textId);

} // namespace qvs
