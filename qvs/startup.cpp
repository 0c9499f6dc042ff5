#include "qvs/startup.h"

#include "app/command_line.h"
#include "app/dbus_session_lock.h"
#include "app/file_commands.h"
#include "app/file_path.h"
#include "app/lock_controller.h"
#include "app/passed_command_line.h"
#include "app/single_instance.h"
#include "dialogs/frm_check_expire.h"
#include "dialogs/frm_pw.h"
#include "dialogs/frm_splash.h"
#include "frame/image_list.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "frame/settings_store.h"
#include "mainwin/later_windows.h"
#include "qvs/window_switcher.h"

#include <QApplication>
#include <QFile>

#include <memory>

namespace qvs {

namespace {

constexpr int kNewFileText = 30002;
// Fixed: there is no language table to take it from.
constexpr char kNoLanguageMessage[] = "Language DLL Not Found!";
// Set only by the tests of start-up and hand-over: a file that gets one line
// per event, with the name of the open data file.
constexpr char kTestEventLog[] = "QVS_TEST_EVENT_LOG";

void LogTestEvent(const char* event) {
    const QString path = qEnvironmentVariable(kTestEventLog);
    if (path.isEmpty()) return;
    QFile log(path);
    if (!log.open(QIODevice::Append | QIODevice::WriteOnly)) return;
    log.write(QByteArray(event) + ' ' + QByteArray::fromStdString(Store().Filename()) + '\n');
}

QString CommandLine() {
    return CommandLineFromArguments(QCoreApplication::arguments());
}

void SetProgramPaths() {
    App().versionText =
        ProgramName() + QStringLiteral(" V") + QCoreApplication::applicationVersion();
    App().programFolder = QCoreApplication::applicationDirPath();
}

bool LoadSettingsAndLanguage() {
    LoadOptions();
    // A copy: the fallback to "ENG" must not replace the user's choice.
    QString code = Opt().Language;
    if (LoadLanguage(code)) return true;
    ShowMessage(QLatin1String(kNoLanguageMessage), vbCritical, ProgramName());
    return false;
}

bool IsNewFileMarker(const QString& name) {
    return name == GetLocalText(kNewFileText) || name == QLatin1String(ardeko::kNewFileName);
}

// With "AutoLoadData" the file of the last run wins over the command line.
void OpenFirstFile(const QString& commandLine) {
    ProgramState& app = App();
    if (!Opt().AutoLoadData)
        app.currentFileName = CleanFilePath(FileNameFromCommandLine(commandLine));
    app.currentFilePassword.clear();
    if (app.currentFileName.isEmpty()) return;
    bool opened = false;
    if (!IsNewFileMarker(app.currentFileName)) {
        opened = OpenDataFile(app.currentFileName, QString());
        WaitUntilNoModal();
    }
    if (opened) return;
    app.currentFileName.clear();
    app.loadTime = QDateTime::currentDateTime();
}

void ConnectHandOver(SingleInstance& instance) {
    QObject::connect(&instance, &SingleInstance::CommandLineReceived, [](const QByteArray& bytes) {
        const char* event = bytes.isEmpty() ? "activated" : "handed";
        ReceiveCommandLine(bytes, [event] { LogTestEvent(event); });
    });
}

} // namespace

void SetApplicationIdentity(QApplication& app, const QString& version) {
    app.setOrganizationName(QLatin1String(kSettingsOrganisation));
    app.setApplicationName(ProgramName());
    app.setApplicationVersion(version);
    app.setWindowIcon(KeyIcon(QStringLiteral("QVS")));
    // The program ends by its Exit command or the main window's close
    // checks, never because a dialog was the last window to close.
    app.setQuitOnLastWindowClosed(false);
}

int RunProgram() {
    SingleInstance instance;
    if (!instance.Claim()) {
        instance.HandOver(HandOverCommandLine(CommandLine()));
        return 0;
    }
    ConnectHandOver(instance);
    SetProgramPaths();
    if (!LoadSettingsAndLanguage()) return kExitNoLanguage;
    Locking().SetSessionSource(std::make_unique<DBusSessionLock>());
    App().currentFileName = Opt().FileName;
    if (Opt().ViewSplash) ShowSplash();
    App().store = std::make_unique<ardeko::clsPW>();
    App().startingUp = true;
    SetExpiryEntryEditor(&PasswordEdit);
    OpenFirstFile(CommandLine());
    App().switchingWindows = false;
    WindowSwitcher windows;
    windows.Start(Opt().StartupType >= kStartInTray);
    LogTestEvent("ready");
    return QApplication::exec();
}

} // namespace qvs
