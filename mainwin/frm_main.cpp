#include "frm_main.h"

#include "file_commands.h"
#include "frm_tips.h"
#include "image_list.h"
#include "language.h"
#include "message_box.h"
#include "modal_stack.h"
#include "options.h"
#include "program_identity.h"
#include "program_state.h"
#include "window_placement.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace qvs {

namespace {

constexpr char kPlacementName[] = "frmMain";
constexpr int kExitSaveQuestion = 9002;
constexpr int kExitQuestion = 9003;
constexpr int kNoFileText = 30101;
constexpr int kFileStateText = 30102;
// The smallest size at which the panes stay usable.
constexpr QSize kMinimumSize(500, 300);
constexpr QSize kFirstSize(800, 560);

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// The file's name without folder and extension, as the title shows it.
QString TitleName() {
    const std::optional<std::string> root = Store().RootName();
    if (root) return FromStd(*root).trimmed();
    return QFileInfo(FromStd(Store().Filename())).fileName();
}

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QLatin1String(kPlacementName));
    setWindowIcon(KeyIcon(QStringLiteral("QVS")));
    setMinimumSize(kMinimumSize);
    resize(kFirstSize);
    BuildFileMenu();
    // Stands in for the tree and the grid until they exist.
    lblFileState_ = new QLabel(this);
    lblFileState_->setObjectName(QStringLiteral("lblFileState"));
    lblFileState_->setAlignment(Qt::AlignCenter);
    lblFileState_->setWordWrap(true);
    setCentralWidget(lblFileState_);
    LocalizeForm(this);
    ReloadMenu(); // after localising: paths are never taken for text ids
    SetCurrentMainWindow(this);
    UpdateView(QString());
}

frmMain::~frmMain() {
    if (CurrentMainWindow() == this) SetCurrentMainWindow(nullptr);
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

void frmMain::UpdateView(const QString& selection) {
    (void)selection; // the node to show, once there is a tree
    const QString name = TitleName();
    setWindowTitle(name.isEmpty() ? ProgramName() : name + QStringLiteral(" - ") + ProgramName());
    ShowFileState();
    EnableFileCommands(!Store().Filename().empty());
}

void frmMain::ShowFileState() {
    const std::string& file = Store().Filename();
    if (file.empty()) {
        lblFileState_->setText(GetLocalText(kNoFileText));
        return;
    }
    QString text = GetLocalText(kFileStateText);
    // The count first: a path may itself hold "%n".
    text.replace(QLatin1String("%n"), QString::number(Store().Password().Count()));
    text.replace(QLatin1String("%s"), QDir::toNativeSeparators(FromStd(file)));
    lblFileState_->setText(text);
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
    if (!SaveChangesPrompt(GetLocalText(kExitSaveQuestion), Opt().AutoSaveData)) return false;
    if (Store().NotSaved()) return true; // the user chose to let the changes go
    return ShowMessage(GetLocalText(kExitQuestion), vbYesNo | vbQuestion, ProgramName()) == vbYes;
}

void frmMain::Unload() {
    SaveLayout();
    if (Opt().AutoSaveWin) SaveWindowPlacement(this, QLatin1String(kPlacementName));
    SaveOptions(FromStd(Store().Filename()));
    // Nothing may reach a closed window, such as a late hand-over.
    if (CurrentMainWindow() == this) SetCurrentMainWindow(nullptr);
}

// The tree, grid and toolbar keep their layout here once they exist; the
// placeholder view has nothing to keep.
void frmMain::SaveLayout() {}

} // namespace qvs
