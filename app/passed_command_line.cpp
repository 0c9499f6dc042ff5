#include "app/passed_command_line.h"

#include "app/command_line.h"
#include "app/file_commands.h"
#include "app/file_path.h"
#include "app/lock_controller.h"
#include "app/text_ids.h"
#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/modal_stack.h"
#include "frame/program_state.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace qvs {

namespace {

// How often a waiting hand-over looks whether the program is free again.
constexpr int kRetryMs = 250;

bool Busy() {
    return App().startingUp || !CurrentMainWindow() || ModalDepth() > 0 ||
           QApplication::activeModalWidget();
}

// A locked file is not swapped behind the lock screen: a named file waits
// for the unlock. Coming to the front does not.
bool MustWait(const QByteArray& bytes) {
    return Busy() || (!bytes.isEmpty() && Locking().IsLocked());
}

QString OpenOtherQuestion() {
    return LocalTextWith(text::kSaveBeforeOpenQuestion, QString::fromStdString(Store().Filename()));
}

void OpenPassedFile(const QString& name) {
    // The question belongs to a window the user can see.
    ActivateMainWindow();
    if (!SaveChangesPrompt(OpenOtherQuestion(), false)) return;
    ProgramState& app = App();
    const QString previous = app.currentFileName;
    app.currentFileName = name;
    // The name of a file that did not open must not pass for the open one.
    if (!OpenDataFile(name, QString())) app.currentFileName = previous;
    if (IMainWindow* window = CurrentMainWindow()) window->UpdateView(QString());
}

void Handle(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        ActivateMainWindow();
        return;
    }
    // A copy that sent a name relative to its own folder cannot be helped;
    // ours hand over absolute names.
    const QString name = CleanFilePath(FileNameFromCommandLine(QString::fromUtf8(bytes)));
    if (!name.isEmpty()) OpenPassedFile(name);
}

// Waits while the program is busy; only the first try brings the open
// dialogs forward, so that the wait does not take the focus again and again.
void Receive(const QByteArray& bytes, const std::function<void()>& handled, bool firstTry) {
    if (MustWait(bytes)) {
        // The user should see what keeps the program from answering.
        if (firstTry) Locking().IsLocked() ? ActivateMainWindow() : RaiseModalWindows();
        QTimer::singleShot(kRetryMs, qApp, [bytes, handled] { Receive(bytes, handled, false); });
        return;
    }
    Handle(bytes);
    if (handled) handled();
}

} // namespace

void ReceiveCommandLine(const QByteArray& bytes, const std::function<void()>& handled) {
    Receive(bytes, handled, true);
}

// Only the program's own windows for now; bringing another program's
// window forward comes with the auto-typing helpers.
void ActivateMainWindow() {
    IMainWindow* main = CurrentMainWindow();
    QWidget* window = main ? main->MainWidget() : nullptr;
    if (!window) return;
    if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    RaiseModalWindows();
}

} // namespace qvs
