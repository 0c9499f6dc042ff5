// The main window's panes: the category tree beside the entry grid, the
// status bar, how UpdateView refreshes them, and their remembered layout.
#include "mainwin/frm_main.h"

#include "frame/options.h"
#include "frame/program_state.h"
#include "mainwin/category_tree.h"
#include "mainwin/entry_grid.h"
#include "mainwin/entry_search.h"
#include "mainwin/main_layout.h"
#include "mainwin/main_menus.h"
#include "mainwin/node_counts.h"
#include "mainwin/status_bar.h"

#include <QPlainTextEdit>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolBar>

namespace qvs {

namespace {

constexpr char kLayoutSection[] = "frmMain";
// The tree's first width; the grid takes the rest and every later change.
constexpr int kTreeWidth = 220;
constexpr int kGridWidth = 580;
// Notes are a few lines: the grid gets most of the height.
constexpr int kGridHeight = 400;
constexpr int kNotesHeight = 90;

} // namespace

void frmMain::BuildPanes() {
    vbuSplitter_ = new QSplitter(Qt::Horizontal, this);
    vbuSplitter_->setObjectName(QStringLiteral("vbuSplitter"));
    tree_ = new CategoryTree(vbuSplitter_);
    tree_->setObjectName(QStringLiteral("tvtreeview"));
    vbuSplitter_->addWidget(tree_);
    vbuSplitter_->addWidget(BuildGridPane());
    // Hiding is the View menu's business; a pane dragged to nothing would be
    // hidden without its menu item saying so.
    vbuSplitter_->setChildrenCollapsible(false);
    vbuSplitter_->setStretchFactor(0, 0);
    vbuSplitter_->setStretchFactor(1, 1);
    vbuSplitter_->setSizes({kTreeWidth, kGridWidth});
    grid_->vbuSplitter2()->setSizes({kGridHeight, kNotesHeight});
    panes_ = new QStackedWidget(this);
    panes_->addWidget(vbuSplitter_);
    setCentralWidget(panes_);
    BuildLockedView();
    sbstatusbar_ = new MainStatusBar(this);
    setStatusBar(sbstatusbar_);
    ConnectPanes();
}

void frmMain::ConnectPanes() {
    connect(tree_, &CategoryTree::nodeActivated, this, &frmMain::ShowNodeEntries);
    connect(tree_, &CategoryTree::favouriteCaptionChanged, this, [this](int textId) {
        favouriteCaptionId_ = textId;
        emit favouriteCaptionChanged(textId);
    });
    connect(vbuSplitter_, &QSplitter::splitterMoved, grid_, &EntryGrid::ResizeGrid);
    connect(search_, &EntrySearch::resultsShown, sbstatusbar_, &MainStatusBar::ShowShown);
}

void frmMain::UpdateView(const QString& service) {
    ShowTitle();
    // Also while locked: a file opened meanwhile must not be searched
    // through the previous file's index.
    search_->StoreChanged();
    if (ShowsLockedView()) return; // the unlock rebuilds it
    const bool fileOpen = !Store().Filename().empty();
    if (!fileOpen) {
        search_->Leave();
        tree_->LoadTree(); // empties it
        grid_->Clear();
        sbstatusbar_->ShowNoFile();
    } else if (service.isEmpty() || !(search_->Showing() || tree_->FindNode(tree_->ShownKey()))) {
        tree_->LoadTree();
        // The root, reported to the grid, unless a search goes on.
        if (!search_->Reshow()) tree_->SelectNode(tree_->SelectedKey());
        ShowCounts();
    } else {
        RefreshShownNode(service);
    }
    EnableFileCommands(fileOpen);
}

void frmMain::CalcNumber(std::int16_t cat, std::int16_t scat) {
    tree_->CalcNumber(cat, scat);
}

void frmMain::RefreshShownNode(const QString& service) {
    tree_->CalcNumber();
    if (search_->Showing())
        search_->Refresh();
    else
        grid_->ShowNode(tree_->ShownKey());
    grid_->SelectService(service);
    ShowCounts();
}

void frmMain::ShowNodeEntries(const QString& key) {
    if (search_->Showing()) search_->Leave();
    grid_->ShowNode(key);
    sbstatusbar_->ShowShown(grid_->model()->rowCount());
}

void frmMain::ShowCounts() {
    sbstatusbar_->ShowShown(grid_->model()->rowCount());
    sbstatusbar_->ShowCounts(CountNodes(Store()));
}

void frmMain::OptionsChanged() {
    menus_->ReInitMenu();
    ShowTitle();
    // The View menu may have hidden the tree since: only a changed setting
    // overrules it.
    if (Opt().ShowCatSub != treeFollowsOption_) {
        treeFollowsOption_ = Opt().ShowCatSub;
        SetTreeVisible(treeFollowsOption_);
    }
    if (!Store().Filename().empty() && !ShowsLockedView())
        RefreshShownNode(SelectedService()); // masking and note rows
}

QString frmMain::SelectedNodeKey() const {
    return tree_->SelectedKey();
}

QString frmMain::SelectedService() const {
    return grid_->SelectedService();
}

bool frmMain::TreeVisible() const {
    return !tree_->isHidden();
}

void frmMain::SetTreeVisible(bool visible) {
    tree_->setHidden(!visible);
}

bool frmMain::NotesVisible() const {
    return !grid_->txtNotes()->isHidden();
}

void frmMain::SetNotesVisible(bool visible) {
    grid_->txtNotes()->setHidden(!visible);
}

bool frmMain::StatusBarVisible() const {
    return !sbstatusbar_->isHidden();
}

void frmMain::SetStatusBarVisible(bool visible) {
    sbstatusbar_->setHidden(!visible);
}

void frmMain::SaveLayout() {
    SaveMainLayout({vbuSplitter_, grid_, sbstatusbar_, findChild<QToolBar*>()},
                   QLatin1String(kLayoutSection));
}

void frmMain::LoadLayout() {
    LoadMainLayout({vbuSplitter_, grid_, sbstatusbar_, findChild<QToolBar*>()},
                   QLatin1String(kLayoutSection));
    emit layoutLoaded();
}

} // namespace qvs
