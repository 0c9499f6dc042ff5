#include "qvs/startup.h"

#include "app/command_line.h"
#include "app/dbus_session_lock.h"
#include "app/disk_guard.h"
#include "app/file_path.h"
#include "app/lock_command.h"
#include "app/lock_controller.h"
#include "app/program_start.h"
#include "app/single_instance.h"
#include "browser/browser_filling.h"
#include "dialogs/entry/frm_pw.h"
#include "dialogs/frm_check_expire.h"
#include "dialogs/frm_splash.h"
#include "frame/image_list.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "mainwin/later_windows.h"
#include "qvs/window_switcher.h"

#include <QApplication>

#include <memory>

namespace qvs {

namespace {

// With "AutoLoadData" the file of the last run wins over the command line.
void OpenFirstFile(const QString& commandLine) {
    QString name = App().currentFileName;
    if (!Opt().AutoLoadData) name = CleanFilePath(FileNameFromCommandLine(commandLine));
    OpenStartFile(name);
}

} // namespace

int RunProgram() {
    SingleInstance instance;
    if (!instance.Claim()) return HandOverToRunningCopy(instance);
    ConnectHandOver(instance);
    SetProgramPaths();
    if (!LoadSettingsAndLanguage()) return kExitNoLanguage;
    Locking().SetSessionSource(std::make_unique<DBusSessionLock>());
    InstallLockCommand();
    App().currentFileName = Opt().FileName;
    if (Opt().ViewSplash) ShowSplash();
    App().store = std::make_unique<ardeko::clsPW>();
    App().startingUp = true;
    DiskGuard diskGuard; // follows the open file from its first open on
    SetExpiryEntryEditor(&PasswordEdit);
    // The socket qvs-proxy reaches joins it through ConnectBrowserSocket.
    browser::StartBrowserFilling();
    OpenFirstFile(ProgramCommandLine());
    App().switchingWindows = false;
    WindowSwitcher windows;
    windows.Start(Opt().StartupType >= kStartInTray);
    LogTestEvent("ready");
    return QApplication::exec();
}

} // namespace qvs
