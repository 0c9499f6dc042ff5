// The main window's pop-up menus: on a grid row, on a column header and on a
// tree node. Each is prepared for what was clicked (enabling and captions),
// shown, and the chosen item runs once the menu has closed.
#pragma once

#include "mainwin/indexed_menu.h"
#include "mainwin/node_key.h"

#include <QObject>
#include <QPoint>

#include <optional>

class QMenu;
class QWidget;

namespace qvs {

class CategoryTree;
class EntryGrid;
class MainMenus;

class PopupMenus : public QObject {
    Q_OBJECT
public:
    // The menus belong to parent; commands run through menus.
    PopupMenus(QWidget& parent, MainMenus& menus);

    const CommandMenu<GridCommand, EntryCommand>& mnuPopup() const { return grid_; }
    const CommandMenu<SortOrderCommand>& mnuPopupCol() const { return header_; }
    const CommandMenu<TreeCommand>& mnuTVPopup() const { return tree_; }

    void PrepareGridPopup(const QString& service);
    void PrepareHeaderPopup(int column);
    void PrepareTreePopup(const NodeRef& node);

    // Prepare, show at globalPos, then run the chosen item.
    void ShowGridPopup(const QString& service, const QPoint& globalPos);
    void ShowHeaderPopup(int column, const QPoint& globalPos);
    void ShowTreePopup(const QString& key, const QPoint& globalPos);

    void RunGridItem(GridCommand command);
    void RunHeaderItem(SortOrderCommand order);
    void RunTreeItem(TreeCommand command, const NodeRef& node);

private:
    template <typename Command>
    static std::optional<Command> Exec(QMenu* menu, std::optional<Command>& choice,
                                       const QPoint& globalPos);

    MainMenus& menus_;
    CommandMenu<GridCommand, EntryCommand> grid_;
    CommandMenu<SortOrderCommand> header_;
    CommandMenu<TreeCommand> tree_;
    int headerColumn_ = -1;
    // The item chosen in the last pop-up of each kind, none when closed
    // without a choice.
    std::optional<GridCommand> gridChoice_;
    std::optional<SortOrderCommand> headerChoice_;
    std::optional<TreeCommand> treeChoice_;
};

// Opens the pop-ups from the tree's and the grid's right button, and runs
// the grid's keys and default action on the selected entry.
void ConnectPopups(CategoryTree& tree, EntryGrid& grid, PopupMenus& popups);

// The grid's default action (setting "DefaultGridAction") on service.
void RunDefaultAction(int action, const QString& service);

} // namespace qvs
