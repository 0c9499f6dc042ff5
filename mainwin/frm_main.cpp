#include "mainwin/frm_main.h"

#include "app/file_commands.h"
#include "dialogs/frm_tips.h"
#include "frame/image_list.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "frame/window_placement.h"
#include "mainwin/main_menus.h"
#include "mainwin/popup_menus.h"
#include "mainwin/text_ids.h"
#include "mainwin/toolbar.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>

namespace qvs {

namespace {

constexpr char kPlacementName[] = "frmMain";
// The smallest size at which the panes stay usable.
constexpr QSize kMinimumSize(500, 300);
constexpr QSize kFirstSize(800, 560);

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QLatin1String(kPlacementName));
    setWindowIcon(KeyIcon(QStringLiteral("QVS")));
    setMinimumSize(kMinimumSize);
    resize(kFirstSize);
    BuildFileMenu();
    BuildPanes();
    BuildMenusAndToolbar(); // before LoadLayout, which restores the toolbar's state
    LocalizeForm(this);
    ReloadMenu(); // after localising: paths are never taken for text ids
    LoadLayout(); // the grid's columns exist by now
    SetCurrentMainWindow(this);
    Locking().SetView(this);
    treeFollowsOption_ = Opt().ShowCatSub;
    UpdateView(QString());
}

void frmMain::BuildMenusAndToolbar() {
    menus_ = BuildMainMenus(*this, {[this] { return SelectedNodeKey(); },
                                    [this] { return SelectedService(); }, [this] { return Tree(); },
                                    [this] { return Grid(); },
                                    [this] {
                                        SaveLayout();
                                        ShowTitle();
                                    }});
    toolbar_ = BuildToolbar(*this, *menus_);
    // The pop-ups also carry the grid's and tree's key commands.
    popups_ = new PopupMenus(*this, *menus_);
    ConnectPopups(*Tree(), *Grid(), *popups_);
}

frmMain::~frmMain() {
    if (CurrentMainWindow() == this) SetCurrentMainWindow(nullptr);
    if (Locking().View() == this) Locking().SetView(nullptr);
}

void frmMain::Load() {
    if (Opt().AutoLoadWin) RestoreWindowPlacement(this, QLatin1String(kPlacementName));
    ProgramState& app = App();
    if (!app.startingUp) {
        UpdateView(QString());
        show();
        return;
    }
    show();
    app.startingUp = false;
    const bool windowStart = Opt().StartupType < kStartInTray;
    if (Opt().ViewTips && windowStart) {
        ShowTips();
        WaitUntilNoModal();
    }
    if (Store().Filename().empty() && windowStart && Opt().ViewWizard) OpenWithDialog(true);
    UpdateView(QString());
    if (Opt().StartupType == kStartMinimised) setWindowState(windowState() | Qt::WindowMinimized);
}

// The program's name, then the open file's full path while "ViewFileName"
// is on: the path tells two files of the same name apart.
void frmMain::ShowTitle() {
    const QString file = FromStd(Store().Filename());
    const bool withFile = Opt().ViewFileName && !file.isEmpty();
    setWindowTitle(withFile ? ProgramName() + QStringLiteral(" - ") + file : ProgramName());
}

void frmMain::Exit() {
    close();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // An open dialog still works on the store: it has to be finished first.
    if (ModalDepth() > 0 || !QueryUnload()) {
        RaiseModalWindows();
        event->ignore();
        return;
    }
    Unload();
    event->accept();
    if (!App().switchingWindows) QCoreApplication::quit();
}

bool frmMain::QueryUnload() {
    if (App().inTrayMode) return true;
    if (!SaveChangesPrompt(GetLocalText(text::kExitSaveQuestion), Opt().AutoSaveData)) return false;
    if (Store().NotSaved()) return true; // the user chose to let the changes go
    return ShowMessage(GetLocalText(text::kExitQuestion), vbYesNo | vbQuestion, ProgramName()) ==
           vbYes;
}

void frmMain::Unload() {
    SaveLayout();
    if (Opt().AutoSaveWin) SaveWindowPlacement(this, QLatin1String(kPlacementName));
    SaveOptions(FromStd(Store().Filename()));
    // Nothing may reach a closed window, such as a late hand-over.
    if (CurrentMainWindow() == this) SetCurrentMainWindow(nullptr);
    if (Locking().View() == this) Locking().SetView(nullptr);
}

} // namespace qvs
