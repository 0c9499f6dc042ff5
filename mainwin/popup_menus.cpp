#include "mainwin/popup_menus.h"

#include "autotype/entry_copies.h"
#include "frame/language.h"
#include "frame/one_time_code.h"
#include "frame/program_state.h"
#include "mainwin/category_tree.h"
#include "mainwin/drop_commands.h"
#include "mainwin/entry_commands.h"
#include "mainwin/entry_grid.h"
#include "mainwin/later_windows.h"
#include "mainwin/main_menus.h"
#include "mainwin/node_key.h"
#include "mainwin/tree_commands.h"

#include <QAction>
#include <QMenu>

namespace qvs {

namespace {

const IndexedItem kGridItems[] = {
    {0, 440},    {1, 0},   {2, 127},  {3, 128},  {4, 129},  {5, 0},    {6, 121},
    {7, 122},    {8, 123}, {9, 0},    {10, 124}, {11, 125}, {12, 126}, {17, 35100},
    {18, 35141}, {13, 0},  {14, 161}, {15, 162}, {16, 163},
};
// Grid pop-up items and the Edit or Password menu item each runs.
struct Forward {
    int item;
    bool password;
    int index;
};
constexpr Forward kGridForwards[] = {
    {0, true, 10}, {2, false, 8}, {3, false, 9},  {4, false, 10},  {6, false, 0},
    {7, false, 1}, {8, false, 2}, {10, false, 4}, {11, false, 5},  {12, false, 6},
    {14, true, 0}, {15, true, 1}, {16, true, 2},  {17, false, 11}, {18, false, 12},
};
constexpr int kAlwaysEnabledGridItems[] = {6, 7, 10, 11, 12, 15, 16};

const IndexedItem kHeaderItems[] = {{0, 148}, {1, 149}};

const IndexedItem kTreeItems[] = {
    {0, 161}, {1, 0}, {2, 855}, {3, 860}, {4, 865}, {5, 870}, {6, 872},
};

// How the tree pop-up's items 2 to 6 look on one kind of node.
struct TreeRule {
    bool add;    // item 2 shown (and enabled)
    int addText; // its caption
    bool edit;   // items 3 and 4 enabled
    int renameText;
    int deleteText;
    int moveText;     // item 5
    bool moveEntries; // item 6 shown
};

TreeRule TreeRuleFor(NodeKind kind) {
    switch (kind) {
    case NodeKind::Category:
        return {true, 856, true, 860, 865, 870, false};
    case NodeKind::SubCategory:
        return {false, 856, true, 861, 866, 871, true};
    case NodeKind::NoSubCategory:
        return {false, 856, false, 861, 866, 871, true};
    case NodeKind::NoCategory:
    case NodeKind::Unknown: // the search results: entries can be added, nothing else
        return {false, 855, false, 860, 865, 870, false};
    default: // root, favourites, state folders
        return {true, 855, false, 860, 865, 870, false};
    }
}

// F2 and Delete on the tree rename and delete the selected node, as the
// pop-up's items 3 and 4 do (they show the keys).
void AddTreeKey(CategoryTree& tree, QAction* shown, bool (*command)(const NodeRef&)) {
    auto* action = new QAction(&tree);
    action->setShortcut(shown->shortcut());
    action->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(action, &QAction::triggered, &tree,
                     [&tree, command] { command(ReadNodeKey(tree.SelectedKey())); });
    tree.addAction(action);
}

bool HasUrl(const QString& service, EntryUrl which) {
    return !EntryUrlOf(service, which).isEmpty();
}

} // namespace

PopupMenus::PopupMenus(QWidget& parent, MainMenus& menus) : QObject(&parent), menus_(menus) {
    const auto choose = [this](int index) { chosen_ = index; };
    grid_ = IndexedMenu(new QMenu(&parent), kGridItems, choose);
    header_ = IndexedMenu(new QMenu(&parent), kHeaderItems, choose);
    tree_ = IndexedMenu(new QMenu(&parent), kTreeItems, choose);
    for (int order : {0, 1})
        header_.Item(order)->setCheckable(true);
    tree_.Item(3)->setShortcut(QKeySequence(Qt::Key_F2));
    tree_.Item(4)->setShortcut(QKeySequence::Delete);
    for (const IndexedMenu* menu : {&grid_, &header_, &tree_})
        LocalizeForm(menu->Menu());
}

void PopupMenus::PrepareGridPopup(const QString& service) {
    grid_.SetText(0, menus_.FavouriteCaptionId());
    grid_.SetEnabled(2, HasUrl(service, EntryUrl::Access));
    grid_.SetEnabled(3, HasUrl(service, EntryUrl::Delete));
    grid_.SetEnabled(4, HasUrl(service, EntryUrl::Change));
    for (int index : kAlwaysEnabledGridItems)
        grid_.SetEnabled(index, true);
    grid_.SetEnabled(8, menus_.Clipboard().HasEntry());
    grid_.SetEnabled(17, EntryHasCode(service));
    grid_.SetEnabled(18, MainMenus::CanTypeCode(service));
}

void PopupMenus::PrepareHeaderPopup(int column) {
    headerColumn_ = column;
    const EntryGrid* grid = menus_.Grid();
    const bool sorted = grid && grid->SortColumn() == column;
    header_.Item(0)->setChecked(sorted && grid->SortOrder() == Qt::AscendingOrder);
    header_.Item(1)->setChecked(sorted && grid->SortOrder() == Qt::DescendingOrder);
}

void PopupMenus::PrepareTreePopup(const NodeRef& node) {
    const NodeKind kind = node.kind;
    const TreeRule rule = TreeRuleFor(kind);
    tree_.SetVisible(2, rule.add);
    tree_.SetEnabled(2, rule.add);
    tree_.SetText(2, rule.addText);
    tree_.SetText(3, rule.renameText);
    tree_.SetText(4, rule.deleteText);
    tree_.SetText(5, rule.moveText);
    tree_.SetEnabled(3, rule.edit);
    tree_.SetEnabled(4, rule.edit);
    // A category with subcategories cannot become a subcategory itself.
    const bool movable =
        rule.edit && (kind != NodeKind::Category || Store().SubCatNumber(node.codes.cat) == 0);
    tree_.SetEnabled(5, movable);
    tree_.SetVisible(6, rule.moveEntries);
    tree_.SetEnabled(6, rule.moveEntries && rule.edit);
}

int PopupMenus::Exec(const IndexedMenu& menu, const QPoint& globalPos) {
    chosen_ = -1;
    menu.Menu()->exec(globalPos);
    return chosen_;
}

void PopupMenus::ShowGridPopup(const QString& service, const QPoint& globalPos) {
    PrepareGridPopup(service);
    RunGridItem(Exec(grid_, globalPos));
}

void PopupMenus::ShowHeaderPopup(int column, const QPoint& globalPos) {
    PrepareHeaderPopup(column);
    RunHeaderItem(Exec(header_, globalPos));
}

void PopupMenus::ShowTreePopup(const QString& key, const QPoint& globalPos) {
    const NodeRef node = ReadNodeKey(key);
    PrepareTreePopup(node);
    RunTreeItem(Exec(tree_, globalPos), node);
}

void PopupMenus::RunGridItem(int index) {
    for (const Forward& f : kGridForwards)
        if (f.item == index)
            f.password ? menus_.mnuPassword_Click(f.index) : menus_.mnuEdit_Click(f.index);
}

void PopupMenus::RunHeaderItem(int index) {
    EntryGrid* grid = menus_.Grid();
    if (!grid || headerColumn_ < 0 || index < 0) return;
    grid->SortGrid(headerColumn_, index == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void PopupMenus::RunTreeItem(int index, const NodeRef& node) {
    switch (index) {
    case 0:
        AddEntry(node);
        break;
    case 2:
        TreeAddNode(node);
        break;
    case 3:
        TreeRenameNode(node);
        break;
    case 4:
        TreeDeleteNode(node);
        break;
    case 5:
        TreeMoveNode(node);
        break;
    case 6:
        TreeMoveSubCategoryEntries(node);
        break;
    default:
        break;
    }
}

void ConnectPopups(CategoryTree& tree, EntryGrid& grid, PopupMenus& popups) {
    QObject::connect(&tree, &CategoryTree::contextMenuRequested, &popups,
                     &PopupMenus::ShowTreePopup, Qt::QueuedConnection);
    QObject::connect(&grid, &EntryGrid::rowContextMenuRequested, &popups,
                     &PopupMenus::ShowGridPopup, Qt::QueuedConnection);
    QObject::connect(&grid, &EntryGrid::headerContextMenuRequested, &popups,
                     &PopupMenus::ShowHeaderPopup, Qt::QueuedConnection);
    AddTreeKey(tree, popups.mnuTVPopup().Item(3), &TreeRenameNode);
    AddTreeKey(tree, popups.mnuTVPopup().Item(4), &TreeDeleteNode);
    CategoryTree* t = &tree;
    QObject::connect(&grid, &EntryGrid::deleteRequested, &popups,
                     [t](const QString& service) { DeleteEntry(service, t); });
    QObject::connect(&grid, &EntryGrid::favouriteRemoveRequested, &popups,
                     [t](const QString& service) {
                         ToggleFavourite(service, QLatin1String(kFavouritesKey), t);
                     });
    QObject::connect(&grid, &EntryGrid::editRequested, &popups, &EditEntry);
    QObject::connect(&grid, &EntryGrid::defaultActionRequested, &popups, &RunDefaultAction);
    ConnectDrops(tree);
}

void RunDefaultAction(int action, const QString& service) {
    if (action == 1) EditEntry(service);
    if (action == 2) CopyPasswordToClipboard(service);
    if (action == 3) CopyLoginToClipboard(service);
    if (action == 4) CopyAccessUrlToClipboard(service);
    if (action == 5) OpenEntryUrl(service, EntryUrl::Access);
}

} // namespace qvs
