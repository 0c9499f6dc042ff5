// The main window's pop-up menus: on a grid row, on a column header and on a
// tree node. Each is prepared for what was clicked (enabling and captions),
// shown, and the chosen item runs once the menu has closed.
#pragma once

#include "mainwin/indexed_menu.h"
#include "mainwin/node_key.h"

#include <QObject>
#include <QPoint>

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

    const IndexedMenu& mnuPopup() const { return grid_; }
    const IndexedMenu& mnuPopupCol() const { return header_; }
    const IndexedMenu& mnuTVPopup() const { return tree_; }

    void PrepareGridPopup(const QString& service);
    void PrepareHeaderPopup(int column);
    void PrepareTreePopup(const NodeRef& node);

    // Prepare, show at globalPos, then run the chosen item.
    void ShowGridPopup(const QString& service, const QPoint& globalPos);
    void ShowHeaderPopup(int column, const QPoint& globalPos);
    void ShowTreePopup(const QString& key, const QPoint& globalPos);

    void RunGridItem(int index);
    void RunHeaderItem(int index);
    void RunTreeItem(int index, const NodeRef& node);

private:
    int Exec(const IndexedMenu& menu, const QPoint& globalPos);

    MainMenus& menus_;
    IndexedMenu grid_;
    IndexedMenu header_;
    IndexedMenu tree_;
    int headerColumn_ = -1;
    int chosen_ = -1; // the item chosen in the last pop-up
};

// Opens the pop-ups from the tree's and the grid's right button, and runs
// the grid's keys and default action on the selected entry.
void ConnectPopups(CategoryTree& tree, EntryGrid& grid, PopupMenus& popups);

// The grid's default action (setting "DefaultGridAction") on service.
void RunDefaultAction(int action, const QString& service);

} // namespace qvs
