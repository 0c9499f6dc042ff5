// The main window of QVS: the window the program starts into, with the
// category tree (left) and the entry grid (right) divided by vbuSplitter, the
// status bar, its menus, its remembered layout and the close checks that run
// before the program ends.
#pragma once

#include "app/lock_controller.h"
#include "frame/main_window_iface.h"
#include "mainwin/indexed_menu.h"
#include "mainwin/text_ids.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QMenu;
class QSplitter;
class QStackedWidget;
class QToolBar;

namespace qvs {

class CategoryTree;
class EntryGrid;
class EntrySearch;
class LockedView;
class MainStatusBar;

class MainMenus;
class PopupMenus;

class frmMain : public QMainWindow, public IMainWindow, public ILockableView {
    Q_OBJECT
public:
    // Becomes the current main window.
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The window's load: its remembered place, the recent files, and while
    // the program starts up the tips, the start-up wizard and the start
    // state of the window.
    void Load();

    QWidget* MainWidget() override { return this; }
    // See IMainWindow: "" rebuilds the tree and shows its root; a service
    // lists the shown node's entries again, recounts the numbers and selects
    // that service's row.
    void UpdateView(const QString& service) override;
    void ReloadMenu() override;
    void CalcNumber(std::int16_t cat, std::int16_t scat) override;
    // The node, the selected entry and the sort stay, found again by name.
    void KeepPlaceAcross(const std::function<void()>& replace) override;
    void ShowNote(const QString& text) override;

    // Menu icons, caption, panes and grid follow the settings just applied.
    void OptionsChanged() override;

    // Locked, the tree, grid and notes are emptied and the window shows the
    // file name with a password box; every command waits for the unlock.
    void LockView() override;
    void UnlockView() override;
    LockedView* Locked() const { return lockedView_; }

    // Runs a File menu command; the toolbar uses it too. The number form
    // takes FileCommand's numbers, for callers that number the items.
    void mnuFile_Click(FileCommand command);
    void mnuFile_Click(int index);
    // Closes the window through its close checks, which end the program.
    void Exit();

    // The menus, for the toolbar and for tests. An unused command or number
    // has no item (nullptr).
    QMenu* mnuFileTop() const { return mnuFileTop_; }
    QAction* mnuFile(FileCommand command) const { return file_.Item(command); }
    QAction* mnuFile(int index) const;
    QMenu* mnuReload() const { return mnuReload_; }
    QMenu* mnuExport() const { return mnuExport_; }

    // The menu bar's menus, the pop-ups and the toolbar, all owned by the window.
    MainMenus& Menus() const { return *menus_; }
    PopupMenus& Popups() const { return *popups_; }
    QToolBar* ToolBar() const { return toolbar_; }

    CategoryTree* Tree() const { return tree_; }
    EntryGrid* Grid() const { return grid_; }
    // Ctrl+F and the toolbar's search button.
    void BeginSearch();
    EntrySearch* Search() const { return search_; }
    QSplitter* vbuSplitter() const { return vbuSplitter_; }
    MainStatusBar* StatusBar() const { return sbstatusbar_; }
    // The key of the tree's selected node (after a right click, the node its
    // pop-up menu is for; Tree()->ShownKey() is the node the grid lists);
    // "" with no file.
    QString SelectedNodeKey() const;
    QString SelectedService() const;
    // Text id of the favourite command's caption: 441 while the favourites
    // are shown, else 440. favouriteCaptionChanged tells of every change.
    int FavouriteCaptionId() const { return favouriteCaptionId_; }

    // The View menu's panes; the layout keeps them.
    bool TreeVisible() const;
    void SetTreeVisible(bool visible);
    bool NotesVisible() const;
    void SetNotesVisible(bool visible);
    bool StatusBarVisible() const;
    void SetStatusBarVisible(bool visible);

    // Writes and reads the layout; LoadLayout runs once, when the window is
    // built, SaveLayout when it closes.
    void SaveLayout();
    void LoadLayout();

signals:
    void favouriteCaptionChanged(int textId);
    // After LoadLayout: the View and column menus are to show their checks.
    void layoutLoaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildFileMenu();
    void BuildImportMenu();
    void BuildExportMenu();
    void EnableFileCommands(bool fileOpen);
    void BuildPanes();
    void BuildMenusAndToolbar();
    void ConnectPanes();
    QWidget* BuildGridPane(); // the search box above the grid
    void ShowTitle();
    void ShowNodeEntries(const QString& key);
    void RefreshShownNode(const QString& service);
    void ShowCounts();
    void BuildLockedView();
    bool ShowsLockedView() const;
    void LockCommand();
    void OnUnlockRequested(const QString& password);

    bool QueryUnload();
    void Unload();

    QMenu* mnuFileTop_ = nullptr;
    QMenu* mnuReload_ = nullptr;
    QMenu* mnuExport_ = nullptr;
    CommandMenu<FileCommand> file_;
    QSplitter* vbuSplitter_ = nullptr;
    CategoryTree* tree_ = nullptr;
    EntryGrid* grid_ = nullptr;
    EntrySearch* search_ = nullptr;
    MainStatusBar* sbstatusbar_ = nullptr;
    int favouriteCaptionId_ = text::kAddFavourite;
    MainMenus* menus_ = nullptr; // these three are owned by the window as children
    PopupMenus* popups_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QStackedWidget* panes_ = nullptr; // the splitter, or the locked view
    LockedView* lockedView_ = nullptr;
    bool treeFollowsOption_ = true; // the "ShowCatSub" the tree was last set by
    // What the lock hid, to show it again as it was.
    struct LockedState {
        QString shownKey;
        QString selectedKey;
        QString service;
        QList<QPointer<QAction>> disabled;
        QList<QPointer<QWidget>> disabledMenus;
    } lockedState_;
};

} // namespace qvs
