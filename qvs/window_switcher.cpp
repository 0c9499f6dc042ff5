#include "qvs/window_switcher.h"

#include "app/file_commands.h"
#include "app/lock_controller.h"
#include "autotype/entry_copies.h"
#include "autotype/login_text.h"
#include "dialogs/frm_about.h"
#include "dialogs/frm_options.h"
#include "dialogs/frm_pw.h"
#include "dialogs/frm_show_pw.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "frame/web_address.h"
#include "mainwin/entry_commands.h"
#include "mainwin/later_windows.h"
#include "mainwin/main_menus.h"

#include <QCoreApplication>

#include <iterator>

namespace qvs {

namespace {

constexpr int kExitSaveQuestion = 9002;
constexpr int kExitQuestion = 9003;
constexpr int kNoCategoryText = 30008;
constexpr int kNoTrayText = 31802;

// A window left behind by a move is deleted once its own event is over.
template <class W> void Retire(std::unique_ptr<W>& window) {
    if (window) window.release()->deleteLater();
}

} // namespace

TrayActions QvsTrayActions() {
    TrayActions a;
    a.showEntry = [](const QString& s) { OpenShowPW(Store(), s, Opt().SecurityLevel); };
    a.editEntry = [](const QString& s) { PasswordEdit(s); };
    a.copyPassword = [](const QString& s) { CopyPasswordToClipboard(s); };
    a.copyLogin = [](const QString& s) { CopyLoginToClipboard(s); };
    a.copyAccessUrl = [](const QString& s) { CopyAccessUrlToClipboard(s); };
    a.openAccessUrl = [](const QString& s) { OpenEntryUrl(s, EntryUrl::Access); };
    a.passwordOf = [](const QString& s) { return EntryText(ardeko::E_GetPw::pword, s); };
    a.typedLogin = BuildTypedLogin;
    a.commands.insert(QStringLiteral("open"), [] { GoToMainWindow(); });
    // The maker's pages, as the Help menu's web items open them.
    const char* const pages[] = {"home", "check", "forum", "email"};
    for (int i = 0; i < int(std::size(pages)); ++i)
        a.commands.insert(QLatin1String(pages[i]), [i] { OpenDocument(MakerPageUrl(i)); });
    a.commands.insert(QStringLiteral("unlock"), [] { Locking().UnlockWithPrompt(); });
    a.commands.insert(QStringLiteral("about"), [] { ShowAbout(App().versionText); });
    a.commands.insert(QStringLiteral("option"),
                      [] { ShowOptions({Locking().SessionLockAvailable()}); });
    a.commands.insert(QStringLiteral("addpw"), [] { PasswordAdd(-1, -1); });
    a.commands.insert(QStringLiteral("addcat"), [] { ShowCategoryDialog(); });
    a.commands.insert(QStringLiteral("addscat"), [] {
        if (Store().Category().Empty())
            ShowMessage(GetLocalText(kNoCategoryText), vbInformation, ProgramName());
        else
            ShowSubCategoryDialog();
    });
    return a;
}

WindowSwitcher::WindowSwitcher() {
    SetWindowSwitch({[this] { ToTray(); }, [this] { ToMainWindow(); }});
}

WindowSwitcher::~WindowSwitcher() {
    SetWindowSwitch({});
}

void WindowSwitcher::Start(bool inTray) {
    App().inTrayMode = inTray;
    if (inTray && ShowTray()) return;
    if (inTray) ShowMessage(GetLocalText(kNoTrayText), vbInformation, ProgramName());
    App().inTrayMode = false;
    ShowMainWindow();
}

void WindowSwitcher::ShowMainWindow() {
    main_ = std::make_unique<frmMain>();
    main_->Load();
}

bool WindowSwitcher::ShowTray() {
    auto tray = std::make_unique<frmTray>(QvsTrayActions());
    if (!tray->Load()) return false;
    QObject::connect(tray.get(), &frmTray::CloseRequested, tray.get(), [this] { CloseFromTray(); });
    SetCurrentMainWindow(tray.get());
    tray->SetLocked(Locking().IsLocked());
    Locking().SetTrayHook([t = tray.get()](bool locked) { t->SetLocked(locked); });
    App().startingUp = false;
    tray_ = std::move(tray);
    return true;
}

// Never hide the program where nobody can reach it: without a tray the
// main window stays.
void WindowSwitcher::ToTray() {
    if (!main_ || ModalDepth() > 0) return;
    if (!frmSysTray::TrayAvailable()) {
        ShowMessage(GetLocalText(kNoTrayText), vbInformation, ProgramName());
        return;
    }
    App().switchingWindows = true;
    App().inTrayMode = true;
    main_->close();
    Retire(main_);
    if (!ShowTray()) { // the tray went away meanwhile
        App().inTrayMode = false;
        ShowMainWindow();
    }
    App().switchingWindows = false;
}

void WindowSwitcher::ToMainWindow() {
    if (!tray_ || !tray_->MenuEnabled() || tray_->Locked()) return;
    Locking().SetTrayHook({});
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
    if (!SaveChangesPrompt(GetLocalText(kExitSaveQuestion), Opt().AutoSaveData)) return;
    if (!Store().NotSaved() &&
        ShowMessage(GetLocalText(kExitQuestion), vbYesNo | vbQuestion, ProgramName()) != vbYes)
        return;
    SaveOptions(QString::fromStdString(Store().Filename()));
    SetCurrentMainWindow(nullptr);
    Locking().SetTrayHook({});
    Retire(tray_);
    QCoreApplication::quit();
}

} // namespace qvs
