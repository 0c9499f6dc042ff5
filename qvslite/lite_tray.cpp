#include "qvslite/lite_tray.h"

#include "app/file_commands.h"
#include "dialogs/files/choose_data_file.h"
#include "dialogs/frm_about.h"
#include "dialogs/options/frm_lite_options.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/options.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "qvslite/file_follower.h"
#include "qvslite/text_ids.h"
#include "tray/entry_actions.h"
#include "tray/lock_commands.h"
#include "tray/maker_commands.h"

#include <QDir>
#include <QFileInfo>

namespace qvs {

namespace {

void Refresh() {
    if (IMainWindow* window = CurrentMainWindow()) window->UpdateView(QString());
}

void LoadOtherFile(FileFollower& follower) {
    const QString chosen = ChooseDataFile(false);
    if (chosen.isEmpty() || IsNewFileMarker(chosen)) return;
    OpenAndFollow(chosen, follower);
}

} // namespace

QString QvsProgramPath() {
    return QDir(App().programFolder).filePath(QStringLiteral("qvs"));
}

void StartQvs(const ProgramLauncher& launch) {
    const QString program = QvsProgramPath();
    QStringList arguments;
    if (!App().currentFileName.isEmpty()) arguments << App().currentFileName;
    const QFileInfo info(program);
    if (info.isFile() && info.isExecutable() && launch && launch(program, arguments)) return;
    ShowMessage(LocalTextWith(text::kNoQvs, program), vbCritical, ProgramName());
}

bool OpenAndFollow(const QString& path, FileFollower& follower) {
    if (!OpenDataFile(path, QString())) return false;
    follower.Follow();
    Refresh();
    return true;
}

TrayActions LiteTrayActions(FileFollower& follower, ProgramLauncher launch) {
    TrayActions a;
    AddEntryActions(a);
    a.commands[TrayCommand::Open] = [launch] { StartQvs(launch); };
    a.commands[TrayCommand::Load] = [&follower] { LoadOtherFile(follower); };
    a.commands[TrayCommand::Reopen] = [&follower] { OpenAndFollow(follower.Path(), follower); };
    // The menu shows applied tray settings (icons, what it lists) at once.
    a.commands[TrayCommand::Options] = [] {
        frmLiteOptions().Run();
        Refresh();
    };
    a.commands[TrayCommand::About] = [] { ShowAbout(App().versionText); };
    AddLockCommands(a);
    AddMakerPageCommands(a);
    a.reopenCaption = [&follower] {
        if (follower.CurrentProblem() == FileFollower::Problem::None) return QString();
        return LocalTextWith(text::kReopenFile, QFileInfo(follower.Path()).fileName());
    };
    return a;
}

} // namespace qvs
