#include "app/program_start.h"

#include "app/command_line.h"
#include "app/file_commands.h"
#include "app/passed_command_line.h"
#include "app/single_instance.h"
#include "app/text_ids.h"
#include "frame/image_list.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "frame/settings_store.h"

#include <QApplication>
#include <QFile>

namespace qvs {

namespace {

// Fixed: there is no language table to take it from.
constexpr char kNoLanguageMessage[] = "Language DLL Not Found!";

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

QString ProgramCommandLine() {
    return CommandLineFromArguments(QCoreApplication::arguments());
}

bool OpenStartFile(const QString& name) {
    ProgramState& app = App();
    app.currentFileName = name;
    app.currentFilePassword.Clear();
    if (name.isEmpty()) return false;
    bool opened = false;
    if (!IsNewFileMarker(name)) {
        opened = OpenDataFile(name, QString());
        WaitUntilNoModal();
    }
    if (opened) return true;
    app.currentFileName.clear();
    app.loadTime = QDateTime::currentDateTime();
    return false;
}

void ConnectHandOver(SingleInstance& instance, const std::function<void()>& handled) {
    QObject::connect(&instance, &SingleInstance::CommandLineReceived,
                     [handled](const QByteArray& bytes) {
                         const char* event = bytes.isEmpty() ? "activated" : "handed";
                         ReceiveCommandLine(bytes, [event, handled] {
                             LogTestEvent(event);
                             if (handled) handled();
                         });
                     });
}

int HandOverToRunningCopy(const SingleInstance& instance) {
    if (instance.HandOver(HandOverCommandLine(ProgramCommandLine()))) return 0;
    // Nothing would show otherwise: the user would wait for a window in vain.
    if (LoadSettingsAndLanguage())
        ShowMessage(GetLocalText(text::kHandOverFailed), vbCritical, ProgramName());
    return kExitHandOverFailed;
}

void LogTestEvent(const char* event) {
    LogTestEvent(event, QString::fromStdString(Store().Filename()));
}

// Heard only by builds that carry the tests: a packaged program writes
// nothing where its environment says.
void LogTestEvent([[maybe_unused]] const char* event, [[maybe_unused]] const QString& detail) {
#ifdef QVS_TEST_HOOKS
    const QString path = qEnvironmentVariable(kTestEventLog);
    if (path.isEmpty()) return;
    QFile log(path);
    if (!log.open(QIODevice::Append | QIODevice::WriteOnly)) return;
    log.write(QByteArray(event) + ' ' + detail.toUtf8() + '\n');
#endif
}

} // namespace qvs
