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
#include "mainwin/text_ids.h"

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QVersionNumber>

namespace qvs {

namespace {

using E = EditCommand;
const MenuRow<E> kEditItems[] = {
    {E::Cut, 121, "CUT", QKeySequence::Cut},
    {E::Copy, 122, "COPY", QKeySequence::Copy},
    {E::Paste, 123, "PASTE", QKeySequence::Paste, 0, Enabling::Pasteable},
    {E::SeparatorAfterPaste, 0},
    {E::CopyPassword, 124, "PW"},
    {E::CopyLogin, 125},
    {E::CopyAccessUrl, 126, "WEB", {}, 0, Enabling::AccessUrl},
    {E::CopyCode, 35100, nullptr, {}, 0, Enabling::Code},
    {E::TypeCode, 35141, nullptr, {}, 0, Enabling::TypeCode},
    {E::SeparatorBeforeOpen, 0},
    {E::OpenAccessUrl, 127, "WEBOPEN", {}, 0, Enabling::AccessUrl},
    {E::OpenDeleteUrl, 128, nullptr, {}, 0, Enabling::DeleteUrl},
    {E::OpenChangeUrl, 129, nullptr, {}, 0, Enabling::ChangeUrl},
};

// The sort order needs a file as much as the sort.
using V = ViewCommand;
constexpr unsigned kPane = kCheckable | kChecked;
const MenuRow<V> kViewItems[] = {
    {V::Toolbar, 141, "TOOLBAR", {}, kPane},
    {V::StatusBar, 142, "STATUSBAR", {}, kPane},
    {V::Tree, 143, "TREEVIEW", {}, kPane},
    {V::Notes, 144, nullptr, {}, kPane | kFileOnly},
    {V::SeparatorBeforeColumns, 0, nullptr, {}, kFileOnly},
    {V::Columns, 145, nullptr, {}, kSubmenu | kFileOnly},
    {V::Sort, 146, nullptr, {}, kSubmenu | kFileOnly},
    {V::SortOrder, 147, nullptr, {}, kSubmenu | kFileOnly},
};
constexpr ViewCommand kPanes[] = {V::Toolbar, V::StatusBar, V::Tree, V::Notes};

using P = PasswordCommand;
const MenuRow<P> kPasswordItems[] = {
    {P::Add, 161, "PADD", Qt::Key_Insert},
    {P::Edit, 162, "PEDIT", {}, 0, Enabling::Row},
    {P::Delete, 163, "PDELETE", {}, 0, Enabling::Row},
    {P::SeparatorAfterDelete, 0},
    {P::Categories, 164, "CAT"},
    {P::SubCategories, 165, "SUBCAT"},
    {P::SeparatorBeforeExpiry, 0},
    {P::CheckExpiry, 166, "WARNING"},
    {P::SeparatorBeforeFavourite, 0},
    {P::Favourite, text::kAddFavourite, "FAVOURITES"},
};

const MenuRow<ToolsCommand> kToolsItems[] = {
    {ToolsCommand::PasswordHealth, 37001},
};

using O = OptionCommand;
const MenuRow<O> kOptionItems[] = {
    {O::Options, 181, "CONFIG", QKeySequence::Preferences},
    {O::FilePassword, 182, nullptr, {}, kFileOnly},
    {O::SeparatorAfterPassword, 0},
    {O::SaveLayout, 183},
    {O::GoToTray, 184},
};

using H = HelpCommand;
const MenuRow<H> kHelpItems[] = {
    {H::Contents, 191, "HELP"},         {H::Search, 192, "HELP_PTR"}, {H::SeparatorAfterSearch, 0},
    {H::Web, 193, "WEB", {}, kSubmenu}, {H::SeparatorBeforeAbout, 0}, {H::About, 198, "QVS"},
};

const MenuRow<HelpWebCommand> kHelpWebItems[] = {
    {HelpWebCommand::Home, 194},
    {HelpWebCommand::VersionCheck, 195},
    {HelpWebCommand::Forum, 196},
    {HelpWebCommand::Mail, 197, "MAIL"},
};

const MenuRow<SortOrderCommand> kSortOrderItems[] = {
    {SortOrderCommand::Ascending, 148, "SASC", {}, kCheckable},
    {SortOrderCommand::Descending, 149, "SDESC", {}, kCheckable},
};

// A column's caption in the View menu: its header text, or for an icon
// column (no header text) a name of its own.
int ColumnTextId(int column) {
    if (column == GridColumn::Expire) return text::kExpiryState;
    if (column == GridColumn::Change) return text::kChangeState;
    return kGridColumns[size_t(column)].textId;
}

} // namespace

MainMenus::MainMenus(QMainWindow& window, MenuAccess access)
    : QObject(&window), window_(window), access_(std::move(access)) {
    edit_ = {AddTopMenu(120), kEditItems, [this](EditCommand c) { mnuEdit_Click(c); }};
    view_ = {AddTopMenu(140), kViewItems, [this](ViewCommand c) { mnuView_Click(c); }};
    password_ = {AddTopMenu(160), kPasswordItems,
                 [this](PasswordCommand c) { mnuPassword_Click(c); }};
    tools_ = {AddTopMenu(37000), kToolsItems, [this](ToolsCommand c) { mnuTools_Click(c); }};
    option_ = {AddTopMenu(180), kOptionItems, [this](OptionCommand c) { mnuOption_Click(c); }};
    help_ = {AddTopMenu(190), kHelpItems, [this](HelpCommand c) { mnuHelp_Click(c); }};
    helpWeb_ = {help_.SubMenu(HelpCommand::Web), kHelpWebItems,
                [this](HelpWebCommand c) { mnuHelpWeb_Click(c); }};
    BuildViewLists();
    connect(edit_.Menu(), &QMenu::aboutToShow, this, &MainMenus::PrepareEditMenu);
    connect(password_.Menu(), &QMenu::aboutToShow, this, &MainMenus::PreparePasswordMenu);
    connect(view_.Menu(), &QMenu::aboutToShow, this, &MainMenus::ShowPaneChecks);
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
    return view_.SubMenu(ViewCommand::Columns);
}

QMenu* MainMenus::mnuSort() const {
    return view_.SubMenu(ViewCommand::Sort);
}

QMenu* MainMenus::mnuSortOrder() const {
    return view_.SubMenu(ViewCommand::SortOrder);
}

// Columns and sort list what the grid has when they open.
void MainMenus::BuildViewLists() {
    sortOrder_ = {mnuSortOrder(), kSortOrderItems, [this](SortOrderCommand order) {
                      if (EntryGrid* grid = Grid(); grid && grid->IsSorted())
                          grid->SortGrid(grid->SortColumn(), SortOrderOf(order));
                  }};
    connect(mnuSortOrder(), &QMenu::aboutToShow, this, [this] {
        const EntryGrid* grid = Grid();
        ShowSortOrder(sortOrder_, grid && grid->IsSorted() ? grid->SortOrder()
                                                           : std::optional<Qt::SortOrder>());
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

void MainMenus::mnuEdit_Click(EditCommand command) {
    if (!fileOpen_) return; // shortcuts outlive the hidden menu
    const QString service = SelectedService();
    switch (command) {
    case EditCommand::Cut:
        if (clipboard_.Cut(service, Tree())) EnablePaste();
        return;
    case EditCommand::Copy:
        if (clipboard_.Copy(service)) EnablePaste();
        return;
    case EditCommand::Paste:
        clipboard_.Paste();
        return;
    default:
        break;
    }
    if (service.isEmpty()) return; // the rest act on a selected row
    switch (command) {
    case EditCommand::CopyPassword:
        CopyPasswordToClipboard(service);
        break;
    case EditCommand::CopyLogin:
        CopyLoginToClipboard(service);
        break;
    case EditCommand::CopyAccessUrl:
        CopyAccessUrlToClipboard(service);
        break;
    case EditCommand::CopyCode:
        if (!CopyCodeToClipboard(service)) ShowNoCodeMessage(service);
        break;
    case EditCommand::TypeCode:
        TypeCode(service);
        break;
    case EditCommand::OpenAccessUrl:
        OpenEntryUrl(service, EntryUrl::Access);
        break;
    case EditCommand::OpenDeleteUrl:
        OpenEntryUrl(service, EntryUrl::Delete);
        break;
    case EditCommand::OpenChangeUrl:
        OpenEntryUrl(service, EntryUrl::Change);
        break;
    default: // separators
        break;
    }
}

void MainMenus::PrepareEditMenu() {
    const QString service = SelectedService();
    edit_.Enable([&](Enabling rule) { return Allows(rule, service); });
}

bool MainMenus::Allows(Enabling rule, const QString& service) const {
    switch (rule) {
    case Enabling::Row:
        return !service.isEmpty();
    case Enabling::Pasteable:
        return clipboard_.HasEntry();
    case Enabling::AccessUrl:
        return !EntryUrlOf(service, EntryUrl::Access).isEmpty();
    case Enabling::DeleteUrl:
        return !EntryUrlOf(service, EntryUrl::Delete).isEmpty();
    case Enabling::ChangeUrl:
        return !EntryUrlOf(service, EntryUrl::Change).isEmpty();
    case Enabling::Code:
        return EntryHasCode(service);
    case Enabling::TypeCode:
        return CanTypeCode(service);
    case Enabling::Fixed:
    case Enabling::Always:
        break;
    }
    return true;
}

void MainMenus::Run(const EntryCommand& command) {
    if (const auto* edit = std::get_if<EditCommand>(&command)) mnuEdit_Click(*edit);
    if (const auto* entry = std::get_if<PasswordCommand>(&command)) mnuPassword_Click(*entry);
}

bool MainMenus::CanTypeCode(const QString& service) {
    return EntryHasCode(service) && CurrentTypingSupport() != TypingSupport::None;
}

// Into the window the user worked in before ours, as the tray types. Where
// the desktop does not say which window that was, the main window steps
// aside, so that the desktop gives the focus back to it, and the code goes to
// whichever window then has the focus.
void MainMenus::TypeCode(const QString& service) {
    const QString code = CurrentCodeText(service);
    if (code.isEmpty()) {
        ShowNoCodeMessage(service);
        return;
    }
    const KeyStrokes strokes{{KeyStroke::Kind::Text, code}};
    const std::uint64_t window = previousWindow_.Window();
    if (window != kFocusedWindow) {
        type_(window, strokes, ReportTypingOutcome);
        return;
    }
    window_.showMinimized();
    // The desktop moves the focus in its own time.
    constexpr int kFocusSettleMs = 500;
    QTimer::singleShot(kFocusSettleMs, this,
                       [this, strokes] { type_(kFocusedWindow, strokes, ReportTypingOutcome); });
}

// Paste stays usable as long as an entry was copied, also after the view was
// refreshed, so one copied entry can be pasted more than once.
void MainMenus::EnablePaste() {
    edit_.SetEnabled(EditCommand::Paste, clipboard_.HasEntry());
}

void MainMenus::mnuView_Click(ViewCommand command) {
    if (QWidget* pane = Pane(command)) pane->setVisible(view_.Item(command)->isChecked());
}

// The toolbar, status bar, tree and notes panes by their View commands.
QWidget* MainMenus::Pane(ViewCommand command) const {
    switch (command) {
    case ViewCommand::Toolbar:
        return toolbar_;
    case ViewCommand::StatusBar:
        return window_.statusBar();
    case ViewCommand::Tree:
        return Tree();
    case ViewCommand::Notes:
        return Grid() ? Grid()->txtNotes() : nullptr;
    default:
        return nullptr;
    }
}

// The checks show the panes as they are, also after the layout was loaded.
void MainMenus::ShowPaneChecks() {
    for (ViewCommand command : kPanes)
        if (const QWidget* pane = Pane(command)) view_.Item(command)->setChecked(!pane->isHidden());
}

void MainMenus::mnuPassword_Click(PasswordCommand command) {
    if (!fileOpen_) return;
    const QString service = SelectedService();
    switch (command) {
    case PasswordCommand::Add:
        AddEntry(ReadNodeKey(SelectedNodeKey()));
        break;
    case PasswordCommand::Edit:
        EditEntry(service);
        break;
    case PasswordCommand::Delete:
        if (!service.isEmpty()) DeleteEntry(service, Tree());
        break;
    case PasswordCommand::Categories:
        ShowCategoryDialog();
        break;
    case PasswordCommand::SubCategories:
        if (Store().CatNumber() == 0)
            ShowMessage(GetLocalText(text::kAddCategoryFirst), vbInformation,
                        QStringLiteral("QVS"));
        else
            ShowSubCategoryDialog();
        break;
    case PasswordCommand::CheckExpiry:
        View_Expires(true);
        break;
    case PasswordCommand::Favourite:
        if (!service.isEmpty()) ToggleFavourite(service, SelectedNodeKey(), Tree());
        break;
    default: // separators
        break;
    }
}

void MainMenus::PreparePasswordMenu() {
    const QString service = SelectedService();
    password_.Enable([&](Enabling rule) { return Allows(rule, service); });
    password_.SetText(PasswordCommand::Favourite, FavouriteCaptionId());
}

void MainMenus::mnuTools_Click(ToolsCommand command) {
    if (!fileOpen_) return;
    if (command == ToolsCommand::PasswordHealth) ShowPasswordHealth();
}

void MainMenus::mnuOption_Click(OptionCommand command) {
    switch (command) {
    case OptionCommand::Options:
        ShowOptions({Locking().SessionLockAvailable()});
        break;
    case OptionCommand::FilePassword:
        if (fileOpen_) ChangeFilePassword();
        break;
    case OptionCommand::SaveLayout:
        if (access_.saveLayout) access_.saveLayout();
        break;
    case OptionCommand::GoToTray:
        GotoSysTray();
        break;
    default: // separators
        break;
    }
}

// Both help commands open the contents: the help window has its own search.
void MainMenus::mnuHelp_Click(HelpCommand command) {
    if (command == HelpCommand::Contents || command == HelpCommand::Search) ShowHelp(0, &window_);
    if (command == HelpCommand::About) ShowAbout(App().versionText);
}

// The maker's pages are numbered as the Help > Web menu lists them.
void MainMenus::mnuHelpWeb_Click(HelpWebCommand command) {
    const QString url = MakerPageUrl(static_cast<int>(command));
    if (!url.isEmpty()) OpenDocument(url);
}

void MainMenus::EnableFileCommands(bool fileOpen) {
    fileOpen_ = fileOpen;
    edit_.Menu()->menuAction()->setVisible(fileOpen);
    password_.Menu()->menuAction()->setVisible(fileOpen);
    tools_.Menu()->menuAction()->setVisible(fileOpen);
    view_.ShowForFile(fileOpen);
    option_.ShowForFile(fileOpen);
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
    edit_.ShowIcons(on);
    view_.ShowIcons(on);
    password_.ShowIcons(on);
    tools_.ShowIcons(on);
    option_.ShowIcons(on);
    help_.ShowIcons(on);
    helpWeb_.ShowIcons(on);
    sortOrder_.ShowIcons(on);
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
    return SelectedNodeKey() == QLatin1String(kFavouritesKey) ? text::kRemoveFavourite
                                                              : text::kAddFavourite;
}

Qt::SortOrder SortOrderOf(SortOrderCommand command) {
    return command == SortOrderCommand::Ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
}

void ShowSortOrder(const CommandMenu<SortOrderCommand>& menu, std::optional<Qt::SortOrder> order) {
    for (SortOrderCommand command : {SortOrderCommand::Ascending, SortOrderCommand::Descending})
        menu.Item(command)->setChecked(order == SortOrderOf(command));
}

MainMenus* BuildMainMenus(QMainWindow& window, MenuAccess access) {
    return new MainMenus(window, std::move(access));
}

} // namespace qvs
