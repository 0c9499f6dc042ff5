#include "qvs/window_switcher.h"

#include "app/file_commands.h"
#include "app/lock_controller.h"
#include "autotype/entry_copies.h"
#include "autotype/login_text.h"
#include "dialogs/categories/frm_category.h"
#include "dialogs/categories/frm_sub_category.h"
#include "dialogs/entry/frm_pw.h"
#include "dialogs/entry/frm_show_pw.h"
#include "dialogs/frm_about.h"
#include "dialogs/options/frm_options.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "mainwin/entry_commands.h"
#include "mainwin/text_ids.h"
#include "tray/entry_actions.h"
#include "tray/lock_commands.h"
#include "tray/maker_commands.h"
#include "tray/no_tray_text.h"
#include "tray/text_ids.h"

#include <QCoreApplication>

namespace qvs {

namespace {

// How often tray mode looks whether the tray host went away.
constexpr int kTrayWatchMs = 2000;
constexpr int kTrayMissesToLeave = 3;

// A window left behind by a move is deleted once its own event is over.
template <class W> void Retire(std::unique_ptr<W>& window) {
    if (window) window.release()->deleteLater();
}

} // namespace

TrayActions QvsTrayActions() {
    TrayActions a;
    AddEntryActions(a);
    a.editEntry = [](const QString& s) { PasswordEdit(s); };
    a.commands[TrayCommand::Open] = [] { GoToMainWindow(); };
    AddMakerPageCommands(a);
    AddLockCommands(a);
    a.commands[TrayCommand::About] = [] { ShowAbout(App().versionText); };
    a.commands[TrayCommand::Options] = [] { ShowOptions({Locking().SessionLockAvailable()}); };
    a.commands[TrayCommand::AddEntry] = [] { PasswordAdd(-1, -1); };
    a.commands[TrayCommand::AddCategory] = [] { ShowCategoryDialog(); };
    a.commands[TrayCommand::AddSubCategory] = [] {
        if (Store().Category().Empty())
            ShowMessage(GetLocalText(text::kAddCategoryFirst), vbInformation, ProgramName());
        else
            ShowSubCategoryDialog();
    };
    return a;
}

WindowSwitcher::WindowSwitcher() {
    SetWindowSwitch({[this] { ToTray(); }, [this] { ToMainWindow(); }});
    trayWatch_.setInterval(kTrayWatchMs);
    QObject::connect(&trayWatch_, &QTimer::timeout, [this] { CheckTrayStillThere(); });
    QObject::connect(&notification_, &DesktopNotification::Clicked, &reminders_,
                     &DueReminderService::OpenList);
}

WindowSwitcher::~WindowSwitcher() {
    SetWindowSwitch({});
}

void WindowSwitcher::Start(bool inTray) {
    App().inTrayMode = inTray;
    if (!(inTray && ShowTray())) {
        if (inTray)
            ShowMessage(NoTrayText(text::kNoTrayStaysInWindow), vbInformation, ProgramName());
        App().inTrayMode = false;
        ShowMainWindow();
    }
    reminders_.Start();
}

void WindowSwitcher::ShowMainWindow() {
    main_ = std::make_unique<frmMain>();
    // A locked file shows the lock screen from the first moment.
    if (Locking().IsLocked()) main_->LockView();
    main_->Load();
    reminders_.SetShow([this](const QString& title, const QString& text) {
        return notification_.Show(title, text);
    });
}

bool WindowSwitcher::ShowTray() {
    auto tray = std::make_unique<frmTray>(QvsTrayActions());
    if (!tray->Load()) return false;
    QObject::connect(tray.get(), &frmTray::CloseRequested, tray.get(), [this] { CloseFromTray(); });
    SetCurrentMainWindow(tray.get());
    tray->SetLocked(Locking().IsLocked());
    Locking().SetTrayHook([t = tray.get()](bool locked) { t->SetLocked(locked); });
    QObject::connect(tray.get(), &frmTray::MessageClicked, &reminders_,
                     &DueReminderService::OpenList);
    reminders_.SetShow([t = tray.get()](const QString& title, const QString& text) {
        return t->ShowMessage(title, text);
    });
    App().startingUp = false;
    tray_ = std::move(tray);
    trayMisses_ = 0;
    trayWatch_.start();
    return true;
}

// Never hide the program where nobody can reach it: without a tray the
// main window stays.
void WindowSwitcher::ToTray() {
    if (!main_ || ModalDepth() > 0) return;
    if (!frmSysTray::TrayAvailable()) {
        ShowMessage(NoTrayText(text::kNoTrayStaysInWindow), vbInformation, ProgramName());
        return;
    }
    App().switchingWindows = true;
    App().inTrayMode = true;
    main_->close();
    reminders_.SetShow({});
    Retire(main_);
    if (!ShowTray()) { // the tray went away meanwhile
        App().inTrayMode = false;
        ShowMainWindow();
    }
    App().switchingWindows = false;
}

void WindowSwitcher::ToMainWindow() {
    if (!tray_ || !tray_->MenuEnabled() || tray_->Locked()) return;
    LeaveTray();
}

// Without a tray host nothing reaches the program any more (a second start
// would only hand over to an invisible controller): it comes back to its
// window, as a start without a tray does, locked if it was.
// Only a tray missing at several checks in a row counts as gone: a busy or
// restarting tray host must not throw the program out of the tray.
void WindowSwitcher::CheckTrayStillThere() {
    if (!tray_ || ModalDepth() > 0) return;
    trayMisses_ = frmSysTray::TrayAvailable() ? 0 : trayMisses_ + 1;
    if (trayMisses_ >= kTrayMissesToLeave) LeaveTray();
}

void WindowSwitcher::LeaveTray() {
    trayWatch_.stop();
    Locking().SetTrayHook({});
    reminders_.SetShow({});
    App().switchingWindows = true;
    App().inTrayMode = false;
    SetCurrentMainWindow(nullptr);
    Retire(tray_);
    ShowMainWindow();
    App().switchingWindows = false;
}

void WindowSwitcher::CloseFromTray() {
    if (ModalDepth() > 0) return;
    SaveRecentFiles();
    if (!SaveChangesPrompt(GetLocalText(text::kExitSaveQuestion), Opt().AutoSaveData)) return;
    if (!Store().NotSaved() && ShowMessage(GetLocalText(text::kExitQuestion), vbYesNo | vbQuestion,
                                           ProgramName()) != vbYes)
        return;
    SaveOptions(QString::fromStdString(Store().Filename()));
    SetCurrentMainWindow(nullptr);
    Locking().SetTrayHook({});
    reminders_.SetShow({});
    trayWatch_.stop();
    Retire(tray_);
    QCoreApplication::quit();
}

} // namespace qvs
