#include "mainwin/main_menus.h"

#include "app/file_password.h"
#include "app/lock_controller.h"
#include "autotype/entry_copies.h"
#include "dialogs/categories/frm_category.h"
#include "dialogs/categories/frm_sub_category.h"
#include "dialogs/frm_about.h"
#include "dialogs/frm_check_expire.h"
#include "dialogs/frm_health.h"
#include "dialogs/maker_info.h"
#include "dialogs/options/frm_options.h"
#include "frame/help.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/one_time_code.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "frame/web_address.h"
#include "mainwin/category_tree.h"
#include "mainwin/entry_commands.h"
#include "mainwin/entry_grid.h"
#include "mainwin/later_windows.h"
#include "mainwin/node_key.h"

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QUrl>
#include <QVersionNumber>

namespace qvs {

namespace {

constexpr int kNoCategoryText = 30008;
constexpr int kAddFavouriteText = 440;
constexpr int kRemoveFavouriteText = 441;
constexpr int kExpiryStateText = 31003;
constexpr int kChangeStateText = 31004;

const IndexedItem kEditItems[] = {
    {0, 121, QKeySequence::Cut, false, "CUT"},
    {1, 122, QKeySequence::Copy, false, "COPY"},
    {2, 123, QKeySequence::Paste, false, "PASTE"},
    {3, 0},
    {4, 124, QKeySequence::UnknownKey, false, "PW"},
    {5, 125},
    {6, 126, QKeySequence::UnknownKey, false, "WEB"},
    {11, 35100},
    {12, 35141},
    {7, 0},
    {8, 127, QKeySequence::UnknownKey, false, "WEBOPEN"},
    {9, 128},
    {10, 129},
};

// Index 7 holds the sort order, which needs a file as much as the sort.
const IndexedItem kViewItems[] = {
    {0, 141, QKeySequence::UnknownKey, false, "TOOLBAR"},
    {1, 142, QKeySequence::UnknownKey, false, "STATUSBAR"},
    {2, 143, QKeySequence::UnknownKey, false, "TREEVIEW"},
    {3, 144},
    {4, 0},
    {5, 145, QKeySequence::UnknownKey, true},
    {6, 146, QKeySequence::UnknownKey, true},
    {7, 147, QKeySequence::UnknownKey, true},
};
constexpr int kViewFileItems[] = {3, 4, 5, 6, 7};
constexpr int kColumnsMenu = 5;
constexpr int kSortMenu = 6;
constexpr int kSortOrderMenu = 7;

// Index 4 is not used.
const IndexedItem kPasswordItems[] = {
    {0, 161, QKeySequence::UnknownKey, false, "PADD", Qt::Key_Insert},
    {1, 162, QKeySequence::UnknownKey, false, "PEDIT"},
    {2, 163, QKeySequence::UnknownKey, false, "PDELETE"},
    {3, 0},
    {5, 164, QKeySequence::UnknownKey, false, "CAT"},
    {6, 165, QKeySequence::UnknownKey, false, "SUBCAT"},
    {7, 0},
    {8, 166, QKeySequence::UnknownKey, false, "WARNING"},
    {9, 0},
    {10, 440, QKeySequence::UnknownKey, false, "FAVOURITES"},
};

const IndexedItem kToolsItems[] = {
    {0, 37001},
};

const IndexedItem kOptionItems[] = {
    {0, 181, QKeySequence::Preferences, false, "CONFIG"}, {1, 182}, {2, 0}, {3, 183}, {4, 184},
};

const IndexedItem kHelpItems[] = {
    {0, 191, QKeySequence::UnknownKey, false, "HELP"},
    {1, 192, QKeySequence::UnknownKey, false, "HELP_PTR"},
    {2, 0},
    {3, 193, QKeySequence::UnknownKey, true, "WEB"},
    {4, 0},
    {5, 198, QKeySequence::UnknownKey, false, "QVS"},
};

const IndexedItem kHelpWebItems[] = {
    {0, 194},
    {1, 195},
    {2, 196},
    {3, 197, QKeySequence::UnknownKey, false, "MAIL"},
};

const IndexedItem kSortOrderItems[] = {
    {0, 148, QKeySequence::UnknownKey, false, "SASC"},
    {1, 149, QKeySequence::UnknownKey, false, "SDESC"},
};

// A column's caption in the View menu: its header text, or for an icon
// column (no header text) a name of its own.
int ColumnTextId(int column) {
    if (column == GridColumn::Expire) return kExpiryStateText;
    if (column == GridColumn::Change) return kChangeStateText;
    return kGridColumns[size_t(column)].textId;
}

} // namespace

MainMenus::MainMenus(QMainWindow& window, MenuAccess access)
    : QObject(&window), window_(window), access_(std::move(access)) {
    edit_ = IndexedMenu(AddTopMenu(120), kEditItems, [this](int i) { mnuEdit_Click(i); });
    view_ = IndexedMenu(AddTopMenu(140), kViewItems, [this](int i) { mnuView_Click(i); });
    password_ =
        IndexedMenu(AddTopMenu(160), kPasswordItems, [this](int i) { mnuPassword_Click(i); });
    tools_ = IndexedMenu(AddTopMenu(37000), kToolsItems, [this](int i) { mnuTools_Click(i); });
    option_ = IndexedMenu(AddTopMenu(180), kOptionItems, [this](int i) { mnuOption_Click(i); });
    help_ = IndexedMenu(AddTopMenu(190), kHelpItems, [this](int i) { mnuHelp_Click(i); });
    helpWeb_ = IndexedMenu(help_.SubMenu(3), kHelpWebItems, [this](int i) { mnuHelpWeb_Click(i); });
    BuildViewLists();
    connect(edit_.Menu(), &QMenu::aboutToShow, this, &MainMenus::PrepareEditMenu);
    connect(password_.Menu(), &QMenu::aboutToShow, this, &MainMenus::PreparePasswordMenu);
    connect(view_.Menu(), &QMenu::aboutToShow, this, &MainMenus::ShowPaneChecks);
    for (int index : {0, 1, 2, 3}) {
        view_.Item(index)->setCheckable(true);
        view_.Item(index)->setChecked(true);
    }
    for (QMenu* menu : {edit_.Menu(), view_.Menu(), password_.Menu(), tools_.Menu(), option_.Menu(),
                        help_.Menu(), helpWeb_.Menu(), mnuSortOrder()})
        LocalizeForm(menu);
    ReInitMenu();
    EnableFileCommands(false);
}

QMenu* MainMenus::AddTopMenu(int textId) {
    QMenu* menu = window_.menuBar()->addMenu(GetLocalText(textId));
    return menu;
}

QMenu* MainMenus::mnuColumns() const {
    return view_.SubMenu(kColumnsMenu);
}

QMenu* MainMenus::mnuSort() const {
    return view_.SubMenu(kSortMenu);
}

QMenu* MainMenus::mnuSortOrder() const {
    return view_.SubMenu(kSortOrderMenu);
}

// Columns and sort list what the grid has when they open.
void MainMenus::BuildViewLists() {
    sortOrder_ = IndexedMenu(mnuSortOrder(), kSortOrderItems, [this](int order) {
        if (EntryGrid* grid = Grid(); grid && grid->IsSorted())
            grid->SortGrid(grid->SortColumn(),
                           order == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    });
    for (int order : {0, 1})
        sortOrder_.Item(order)->setCheckable(true);
    connect(mnuSortOrder(), &QMenu::aboutToShow, this, [this] {
        const EntryGrid* grid = Grid();
        const bool sorted = grid && grid->IsSorted();
        sortOrder_.Item(0)->setChecked(sorted && grid->SortOrder() == Qt::AscendingOrder);
        sortOrder_.Item(1)->setChecked(sorted && grid->SortOrder() == Qt::DescendingOrder);
    });
    connect(mnuColumns(), &QMenu::aboutToShow, this, &MainMenus::FillColumnsMenu);
    connect(mnuSort(), &QMenu::aboutToShow, this, &MainMenus::FillSortMenu);
}

void MainMenus::FillColumnsMenu() {
    mnuColumns()->clear();
    EntryGrid* grid = Grid();
    if (!grid) return;
    for (int column = GridColumn::Service; column < GridColumn::Count; ++column) {
        QAction* item = mnuColumns()->addAction(GetLocalText(ColumnTextId(column)));
        item->setCheckable(true);
        item->setChecked(grid->ColumnVisible(column));
        connect(item, &QAction::toggled, grid,
                [grid, column](bool on) { grid->SetColumnVisible(column, on); });
    }
}

void MainMenus::FillSortMenu() {
    mnuSort()->clear();
    EntryGrid* grid = Grid();
    if (!grid) return;
    for (int column = GridColumn::Service; column < GridColumn::Count; ++column) {
        if (kGridColumns[size_t(column)].textId == 0) continue; // icons do not sort
        QAction* item = mnuSort()->addAction(GetLocalText(ColumnTextId(column)));
        item->setData(GridColumnKey(column));
        item->setCheckable(true);
        item->setChecked(grid->SortColumn() == column);
        connect(item, &QAction::triggered, grid,
                [grid, column] { grid->SortGrid(column, grid->SortOrder()); });
    }
}

void MainMenus::mnuEdit_Click(int index) {
    if (!fileOpen_) return; // shortcuts outlive the hidden menu
    const QString service = SelectedService();
    switch (index) {
    case 0:
        if (clipboard_.Cut(service, Tree())) EnablePaste();
        break;
    case 1:
        if (clipboard_.Copy(service)) EnablePaste();
        break;
    case 2:
        clipboard_.Paste();
        break;
    default:
        if (service.isEmpty()) return; // the rest act on a selected row
        if (index == 4) CopyPasswordToClipboard(service);
        if (index == 5) CopyLoginToClipboard(service);
        if (index == 6) CopyAccessUrlToClipboard(service);
        if (index == 11 && !CopyCodeToClipboard(service)) ShowNoCodeMessage(service);
        if (index == 12) TypeCode(service);
        if (index == 8) OpenEntryUrl(service, EntryUrl::Access);
        if (index == 9) OpenEntryUrl(service, EntryUrl::Delete);
        if (index == 10) OpenEntryUrl(service, EntryUrl::Change);
        break;
    }
}

void MainMenus::PrepareEditMenu() {
    const QString service = SelectedService();
    const bool access = !EntryUrlOf(service, EntryUrl::Access).isEmpty();
    edit_.SetEnabled(6, access);
    edit_.SetEnabled(8, access);
    edit_.SetEnabled(9, !EntryUrlOf(service, EntryUrl::Delete).isEmpty());
    edit_.SetEnabled(10, !EntryUrlOf(service, EntryUrl::Change).isEmpty());
    edit_.SetEnabled(11, EntryHasCode(service));
    edit_.SetEnabled(12, CanTypeCode(service));
    EnablePaste();
}

bool MainMenus::CanTypeCode(const QString& service) {
    return EntryHasCode(service) && CurrentTypingSupport() != TypingSupport::None;
}

// Into the window the user worked in before ours, as the tray types.
void MainMenus::TypeCode(const QString& service) {
    const QString code = CurrentCodeText(service);
    if (code.isEmpty()) {
        ShowNoCodeMessage(service);
        return;
    }
    ReportTypingResult(type_(previousWindow_.Window(), {{KeyStroke::Kind::Text, code}}));
}

// Paste stays usable as long as an entry was copied, also after the view was
// refreshed, so one copied entry can be pasted more than once.
void MainMenus::EnablePaste() {
    edit_.SetEnabled(2, clipboard_.HasEntry());
}

void MainMenus::mnuView_Click(int index) {
    if (QWidget* pane = Pane(index)) pane->setVisible(view_.Item(index)->isChecked());
}

// The toolbar, status bar, tree and notes panes by View menu index.
QWidget* MainMenus::Pane(int index) const {
    if (index == 0) return toolbar_;
    if (index == 1) return window_.statusBar();
    if (index == 2) return Tree();
    if (index == 3 && Grid()) return Grid()->txtNotes();
    return nullptr;
}

// The checks show the panes as they are, also after the layout was loaded.
void MainMenus::ShowPaneChecks() {
    for (int index : {0, 1, 2, 3})
        if (const QWidget* pane = Pane(index)) view_.Item(index)->setChecked(!pane->isHidden());
}

void MainMenus::mnuPassword_Click(int index) {
    if (!fileOpen_) return;
    const QString service = SelectedService();
    switch (index) {
    case 0:
        AddEntry(ReadNodeKey(SelectedNodeKey()));
        break;
    case 1:
        EditEntry(service);
        break;
    case 2:
        if (!service.isEmpty()) DeleteEntry(service, Tree());
        break;
    case 5:
        ShowCategoryDialog();
        break;
    case 6:
        if (Store().CatNumber() == 0)
            ShowMessage(GetLocalText(kNoCategoryText), vbInformation, QStringLiteral("QVS"));
        else
            ShowSubCategoryDialog();
        break;
    case 8:
        View_Expires(true);
        break;
    case 10:
        if (!service.isEmpty()) ToggleFavourite(service, SelectedNodeKey(), Tree());
        break;
    default:
        break;
    }
}

void MainMenus::PreparePasswordMenu() {
    const bool row = !SelectedService().isEmpty();
    password_.SetEnabled(1, row);
    password_.SetEnabled(2, row);
    password_.SetText(10, FavouriteCaptionId());
}

void MainMenus::mnuTools_Click(int index) {
    if (!fileOpen_) return;
    if (index == 0) ShowPasswordHealth();
}

void MainMenus::mnuOption_Click(int index) {
    if (index == 0) ShowOptions({Locking().SessionLockAvailable()});
    if (index == 1 && fileOpen_) ChangeFilePassword();
    if (index == 3 && access_.saveLayout) access_.saveLayout();
    if (index == 4) GotoSysTray();
}

// Both help commands open the contents: the help window has its own search.
void MainMenus::mnuHelp_Click(int index) {
    if (index == 0 || index == 1) ShowHelp(0, &window_);
    if (index == 5) ShowAbout(App().versionText);
}

void MainMenus::mnuHelpWeb_Click(int index) {
    const QString url = MakerPageUrl(index);
    if (!url.isEmpty()) OpenDocument(url);
}

void MainMenus::EnableFileCommands(bool fileOpen) {
    fileOpen_ = fileOpen;
    edit_.Menu()->menuAction()->setVisible(fileOpen);
    password_.Menu()->menuAction()->setVisible(fileOpen);
    tools_.Menu()->menuAction()->setVisible(fileOpen);
    for (int index : kViewFileItems)
        view_.SetVisible(index, fileOpen);
    option_.SetVisible(1, fileOpen);
    for (QAction* button : fileButtons_)
        button->setEnabled(fileOpen);
    EnablePaste();
}

void MainMenus::AddFileButton(QAction* button) {
    fileButtons_.push_back(button);
    button->setEnabled(fileOpen_);
}

void MainMenus::ReInitMenu() {
    const bool on = Opt().ViewMenuIcon;
    for (const IndexedMenu* menu :
         {&edit_, &view_, &password_, &tools_, &option_, &help_, &helpWeb_, &sortOrder_})
        menu->ShowIcons(on);
}

QString MainMenus::SelectedService() const {
    return access_.selectedService ? access_.selectedService() : QString();
}

QString MainMenus::SelectedNodeKey() const {
    return access_.selectedNodeKey ? access_.selectedNodeKey() : QString();
}

CategoryTree* MainMenus::Tree() const {
    return access_.tree ? access_.tree() : nullptr;
}

EntryGrid* MainMenus::Grid() const {
    return access_.grid ? access_.grid() : nullptr;
}

int MainMenus::FavouriteCaptionId() const {
    return SelectedNodeKey() == QLatin1String(kFavouritesKey) ? kRemoveFavouriteText
                                                              : kAddFavouriteText;
}

MainMenus* BuildMainMenus(QMainWindow& window, MenuAccess access) {
    return new MainMenus(window, std::move(access));
}

} // namespace qvs
