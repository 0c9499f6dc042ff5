#include "qvslite/lite_program.h"

#include "app/command_line.h"
#include "app/dbus_session_lock.h"
#include "app/file_path.h"
#include "app/lock_command.h"
#include "app/lock_controller.h"
#include "app/program_start.h"
#include "frame/keyed_menu.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "qvslite/text_ids.h"
#include "tray/no_tray_text.h"

#include <QApplication>
#include <QProcess>

namespace qvs {

namespace {

// How long the program waits for a tray host, and how often it looks.
constexpr int kTrayWaitMs = 60000;
constexpr int kTrayPollMs = 1000;

// The service names the menu offers, for the tests' event log (names only:
// no other field of an entry goes there).
QString MenuServices(frmTray& tray) {
    KeyedMenu& menu = tray.SysTray().PopupMenuObject();
    QStringList names;
    for (int i = 1; i <= menu.Count(); ++i)
        if (!ServiceOfKey(menu.Key(i)).isEmpty() && !names.contains(menu.Caption(i)))
            names << menu.Caption(i);
    return names.join(u',');
}

} // namespace

QString LiteStartFile(const QString& commandLine) {
    const QString named = CleanFilePath(FileNameFromCommandLine(commandLine));
    if (!named.isEmpty()) return named;
    return Opt().LoadLastOpen ? Opt().FileName : CleanFilePath(Opt().FileToLoad);
}

LiteProgram::LiteProgram(ProgramLauncher launch, QObject* parent)
    : QObject(parent),
      follower_([this](FileFollower::Problem p, const QString& path) { Report(p, path); }) {
    tray_ = std::make_unique<frmTray>(LiteTrayActions(follower_, std::move(launch)), false);
    connect(tray_.get(), &frmTray::CloseRequested, this, &LiteProgram::Close);
    trayWait_.setInterval(kTrayPollMs);
    connect(&trayWait_, &QTimer::timeout, this, &LiteProgram::TryShowTray);
    const auto logMenu = [this] { LogTestEvent("menu", MenuServices(*tray_)); };
    connect(&follower_, &FileFollower::Reloaded, this, logMenu);
    connect(&follower_, &FileFollower::Dropped, this, logMenu);
}

LiteProgram::~LiteProgram() {
    Locking().SetTrayHook({});
    if (CurrentMainWindow() == tray_.get()) SetCurrentMainWindow(nullptr);
}

void LiteProgram::Start(const QString& commandLine) {
    App().inTrayMode = true;
    App().startingUp = true;
    if (OpenStartFile(LiteStartFile(commandLine))) follower_.Follow();
    TryShowTray();
}

void LiteProgram::TryShowTray() {
    if (!tray_->Load()) {
        if (!trayWait_.isActive()) trayWait_.start();
        trayWaitedMs_ += kTrayPollMs;
        if (trayWaitedMs_ <= kTrayWaitMs) return;
        trayWait_.stop();
        ShowMessage(NoTrayText(text::kNoTrayForLite), vbCritical, ProgramName());
        emit Finished(kExitNoTray);
        return;
    }
    trayWait_.stop();
    SetCurrentMainWindow(tray_.get());
    tray_->SetLocked(Locking().IsLocked());
    Locking().SetTrayHook([t = tray_.get()](bool locked) { t->SetLocked(locked); });
    App().startingUp = false;
    LogTestEvent("ready");
    LogTestEvent("menu", MenuServices(*tray_));
    emit Ready();
}

// Nothing to save but the settings: QVSLite never changes a data file.
void LiteProgram::Close() {
    if (ModalDepth() > 0) return;
    SaveOptions(App().currentFileName);
    Locking().SetTrayHook({});
    SetCurrentMainWindow(nullptr);
    emit Finished(0);
}

void LiteProgram::Report(FileFollower::Problem problem, const QString& path) {
    const bool vanished = problem == FileFollower::Problem::Vanished;
    LogTestEvent(vanished ? "vanished" : "unreadable", path);
    ShowMessage(
        LocalTextWith(vanished ? text::kFollowedFileVanished : text::kFollowedFileUnreadable, path),
        vbExclamation, ProgramName());
}

int RunLiteProgram() {
    SingleInstance instance{QLatin1String(kLiteInstanceName)};
    if (!instance.Claim()) return HandOverToRunningCopy(instance);
    SetProgramPaths();
    if (!LoadSettingsAndLanguage()) return kExitNoLanguage;
    // The expiry check belongs to QVS, where the entries can be changed.
    Opt().AutoCheck = false;
    Locking().SetSessionSource(std::make_unique<DBusSessionLock>());
    InstallLockCommand();
    LiteProgram program(
        [](const QString& p, const QStringList& a) { return QProcess::startDetached(p, a); });
    ConnectHandOver(instance, [&program] {
        program.Follower().FollowOpened();
        if (program.Tray()) LogTestEvent("menu", MenuServices(*program.Tray()));
    });
    QObject::connect(&program, &LiteProgram::Finished, qApp,
                     [](int code) { QCoreApplication::exit(code); });
    program.Start(ProgramCommandLine());
    return QApplication::exec();
}

} // namespace qvs
