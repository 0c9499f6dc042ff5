#include "mainwin/popup_menus.h"

#include "autotype/entry_copies.h"
#include "frame/language.h"
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

// Each grid item runs the Edit or Entries command of the same name.
using G = GridCommand;
using E = EditCommand;
using P = PasswordCommand;
constexpr Enabling kAlways = Enabling::Always;
const MenuRow<G, EntryCommand> kGridItems[] = {
    {G::Favourite, 440, nullptr, {}, 0, Enabling::Fixed, P::Favourite},
    {G::SeparatorAfterFavourite, 0},
    {G::OpenAccessUrl, 127, nullptr, {}, 0, Enabling::AccessUrl, E::OpenAccessUrl},
    {G::OpenDeleteUrl, 128, nullptr, {}, 0, Enabling::DeleteUrl, E::OpenDeleteUrl},
    {G::OpenChangeUrl, 129, nullptr, {}, 0, Enabling::ChangeUrl, E::OpenChangeUrl},
    {G::SeparatorBeforeCut, 0},
    {G::Cut, 121, nullptr, {}, 0, kAlways, E::Cut},
    {G::Copy, 122, nullptr, {}, 0, kAlways, E::Copy},
    {G::Paste, 123, nullptr, {}, 0, Enabling::Pasteable, E::Paste},
    {G::SeparatorAfterPaste, 0},
    {G::CopyPassword, 124, nullptr, {}, 0, kAlways, E::CopyPassword},
    {G::CopyLogin, 125, nullptr, {}, 0, kAlways, E::CopyLogin},
    {G::CopyAccessUrl, 126, nullptr, {}, 0, kAlways, E::CopyAccessUrl},
    {G::CopyCode, 35100, nullptr, {}, 0, Enabling::Code, E::CopyCode},
    {G::TypeCode, 35141, nullptr, {}, 0, Enabling::TypeCode, E::TypeCode},
    {G::SeparatorBeforeAdd, 0},
    {G::Add, 161, nullptr, {}, 0, Enabling::Fixed, P::Add},
    {G::Edit, 162, nullptr, {}, 0, kAlways, P::Edit},
    {G::Delete, 163, nullptr, {}, 0, kAlways, P::Delete},
};

const MenuRow<SortOrderCommand> kHeaderItems[] = {
    {SortOrderCommand::Ascending, 148, nullptr, {}, kCheckable},
    {SortOrderCommand::Descending, 149, nullptr, {}, kCheckable},
};

// F2 and Delete on the tree rename and delete the selected node, as the
// pop-up shows.
using T = TreeCommand;
const MenuRow<T> kTreeItems[] = {
    {T::AddEntry, 161},
    {T::SeparatorAfterAddEntry, 0},
    {T::AddFolder, 855},
    {T::Rename, 860, nullptr, Qt::Key_F2},
    {T::Delete, 865, nullptr, QKeySequence::Delete},
    {T::Move, 870},
    {T::MoveEntries, 872},
};

// How the tree pop-up's folder commands look on one kind of node.
struct TreeRule {
    bool add;    // AddFolder shown (and enabled)
    int addText; // its caption
    bool edit;   // Rename and Delete enabled
    int renameText;
    int deleteText;
    int moveText;     // Move
    bool moveEntries; // MoveEntries shown
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

// The pop-up's keys work on the tree's selected node without the pop-up.
void AddTreeKey(CategoryTree& tree, QAction* shown, bool (*command)(const NodeRef&)) {
    auto* action = new QAction(&tree);
    action->setShortcut(shown->shortcut());
    action->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(action, &QAction::triggered, &tree,
                     [&tree, command] { command(ReadNodeKey(tree.SelectedKey())); });
    tree.addAction(action);
}

} // namespace

PopupMenus::PopupMenus(QWidget& parent, MainMenus& menus) : QObject(&parent), menus_(menus) {
    grid_ = {new QMenu(&parent), kGridItems, [this](GridCommand c) { gridChoice_ = c; }};
    header_ = {new QMenu(&parent), kHeaderItems, [this](SortOrderCommand c) { headerChoice_ = c; }};
    tree_ = {new QMenu(&parent), kTreeItems, [this](TreeCommand c) { treeChoice_ = c; }};
    for (QMenu* menu : {grid_.Menu(), header_.Menu(), tree_.Menu()})
        LocalizeForm(menu);
}

void PopupMenus::PrepareGridPopup(const QString& service) {
    grid_.SetText(GridCommand::Favourite, menus_.FavouriteCaptionId());
    grid_.Enable([&](Enabling rule) { return menus_.Allows(rule, service); });
}

void PopupMenus::PrepareHeaderPopup(int column) {
    headerColumn_ = column;
    const EntryGrid* grid = menus_.Grid();
    ShowSortOrder(header_, grid && grid->SortColumn() == column ? grid->SortOrder()
                                                                : std::optional<Qt::SortOrder>());
}

void PopupMenus::PrepareTreePopup(const NodeRef& node) {
    const NodeKind kind = node.kind;
    const TreeRule rule = TreeRuleFor(kind);
    tree_.SetVisible(T::AddFolder, rule.add);
    tree_.SetEnabled(T::AddFolder, rule.add);
    tree_.SetText(T::AddFolder, rule.addText);
    tree_.SetText(T::Rename, rule.renameText);
    tree_.SetText(T::Delete, rule.deleteText);
    tree_.SetText(T::Move, rule.moveText);
    tree_.SetEnabled(T::Rename, rule.edit);
    tree_.SetEnabled(T::Delete, rule.edit);
    // A category with subcategories cannot become a subcategory itself.
    const bool movable =
        rule.edit && (kind != NodeKind::Category || Store().SubCatNumber(node.codes.cat) == 0);
    tree_.SetEnabled(T::Move, movable);
    tree_.SetVisible(T::MoveEntries, rule.moveEntries);
    tree_.SetEnabled(T::MoveEntries, rule.moveEntries && rule.edit);
}

// The choice is kept until the menu has closed, and runs after.
template <typename Command>
std::optional<Command> PopupMenus::Exec(QMenu* menu, std::optional<Command>& choice,
                                        const QPoint& globalPos) {
    choice.reset();
    menu->exec(globalPos);
    return std::exchange(choice, std::nullopt);
}

void PopupMenus::ShowGridPopup(const QString& service, const QPoint& globalPos) {
    PrepareGridPopup(service);
    if (const auto chosen = Exec(grid_.Menu(), gridChoice_, globalPos)) RunGridItem(*chosen);
}

void PopupMenus::ShowHeaderPopup(int column, const QPoint& globalPos) {
    PrepareHeaderPopup(column);
    if (const auto chosen = Exec(header_.Menu(), headerChoice_, globalPos)) RunHeaderItem(*chosen);
}

void PopupMenus::ShowTreePopup(const QString& key, const QPoint& globalPos) {
    const NodeRef node = ReadNodeKey(key);
    PrepareTreePopup(node);
    if (const auto chosen = Exec(tree_.Menu(), treeChoice_, globalPos)) RunTreeItem(*chosen, node);
}

void PopupMenus::RunGridItem(GridCommand command) {
    menus_.Run(grid_.RunsOf(command));
}

void PopupMenus::RunHeaderItem(SortOrderCommand order) {
    EntryGrid* grid = menus_.Grid();
    if (!grid || headerColumn_ < 0) return;
    grid->SortGrid(headerColumn_, SortOrderOf(order));
}

void PopupMenus::RunTreeItem(TreeCommand command, const NodeRef& node) {
    switch (command) {
    case T::AddEntry:
        AddEntry(node);
        break;
    case T::AddFolder:
        TreeAddNode(node);
        break;
    case T::Rename:
        TreeRenameNode(node);
        break;
    case T::Delete:
        TreeDeleteNode(node);
        break;
    case T::Move:
        TreeMoveNode(node);
        break;
    case T::MoveEntries:
        TreeMoveSubCategoryEntries(node);
        break;
    default: // separators
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
    AddTreeKey(tree, popups.mnuTVPopup().Item(T::Rename), &TreeRenameNode);
    AddTreeKey(tree, popups.mnuTVPopup().Item(T::Delete), &TreeDeleteNode);
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
