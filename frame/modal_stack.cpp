#include "frame/modal_stack.h"

#include "frame/main_window_iface.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace qvs {

namespace {

// Marks a window this stack made modal (see PushModal).
constexpr char kMadeModal[] = "qvsMadeModal";

std::vector<QPointer<QWidget>>& Stack() {
    static std::vector<QPointer<QWidget>> stack;
    return stack;
}

QWidget* MainWidget() {
    IMainWindow* main = CurrentMainWindow();
    return main ? main->MainWidget() : nullptr;
}

void BringDialogsForward() {
    RaiseModalWindows();
    if (QWidget* top = TopModal()) top->activateWindow();
}

// While dialogs are open, activating the main window (a click on it, the
// task bar, the window switcher) brings them back above it: a dialog hidden
// behind the window it disables would leave the program seemingly dead.
class ActivationWatch : public QObject {
public:
    void Watch(QWidget* window) {
        if (watched_ == window) return;
        if (watched_) watched_->removeEventFilter(this);
        watched_ = window;
        if (window) window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // After the activation is over, or it would take the focus back.
        if (event->type() == QEvent::WindowActivate)
            QMetaObject::invokeMethod(this, &BringDialogsForward, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> watched_;
};

ActivationWatch& Watch() {
    static ActivationWatch watch;
    return watch;
}

void SetTrayMenuEnabled(bool enabled) {
    if (IMainWindow* main = CurrentMainWindow()) main->SetMenuEnabled(enabled);
}

// After a window left the stack: the new top (or the main window and the
// tray menu) takes input again.
void EnableTop() {
    const auto& s = Stack();
    if (QWidget* top = s.empty() ? MainWidget() : s.back().data()) top->setEnabled(true);
    if (s.empty()) {
        SetTrayMenuEnabled(true);
        Watch().Watch(nullptr);
    }
}

// A window may be deleted without leaving the stack (its owner went first);
// the windows below it must not stay disabled.
void DropDeleted() {
    auto& s = Stack();
    const auto end =
        std::remove_if(s.begin(), s.end(), [](const QPointer<QWidget>& w) { return w.isNull(); });
    if (end == s.end()) return;
    s.erase(end, s.end());
    EnableTop();
}

} // namespace

void PushModal(QWidget* window) {
    DropDeleted();
    auto& s = Stack();
    if (!window || std::find(s.begin(), s.end(), window) != s.end()) return;
    const bool wasEmpty = s.empty();
    if (QWidget* below = wasEmpty ? MainWidget() : s.back().data()) below->setEnabled(false);
    if (wasEmpty) {
        SetTrayMenuEnabled(false);
        Watch().Watch(MainWidget());
    }
    s.emplace_back(window);
    // Disabling an owner also disables the windows it owns: this one must
    // stay usable.
    window->setEnabled(true);
    // Above a dialog that runs its own loop, Qt gives every activation to the
    // topmost modal window it knows of; a plain window stacked on it must be
    // modal too, or a click on the main window brings the lower one back over
    // it. Undone when it leaves, so that it never blocks the tray on its own.
    if (QApplication::activeModalWidget() && !window->isVisible() &&
        window->windowModality() == Qt::NonModal) {
        window->setWindowModality(Qt::ApplicationModal);
        window->setProperty(kMadeModal, true);
    }
}

void PopModal(QWidget* window, bool refresh, const QString& service) {
    auto& s = Stack();
    const auto it = std::find(s.begin(), s.end(), window);
    if (!window || it == s.end()) {
        DropDeleted();
        return;
    }
    s.erase(it);
    if (window->property(kMadeModal).toBool()) {
        window->setProperty(kMadeModal, QVariant());
        if (!window->isVisible()) window->setWindowModality(Qt::NonModal);
    }
    DropDeleted();
    EnableTop();
    if (refresh) {
        if (IMainWindow* main = CurrentMainWindow()) main->UpdateView(service);
        QCoreApplication::processEvents();
    }
}

int ModalDepth() {
    DropDeleted();
    return static_cast<int>(Stack().size());
}

QWidget* TopModal() {
    DropDeleted();
    return Stack().empty() ? nullptr : Stack().back().data();
}

QWidget* DialogOwner() {
    QWidget* top = TopModal();
    return top ? top : MainWidget();
}

QWidget* MainOwner() {
    return MainWidget();
}

void RaiseModalWindows() {
    DropDeleted();
    for (const auto& w : Stack()) {
        if (w->isMinimized()) w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->raise();
    }
    // The one that takes input gets the focus, or the user still cannot
    // answer it (the program was reached from its tray icon, say).
    if (!Stack().empty()) Stack().back()->activateWindow();
}

int ExecModal(QDialog& dialog, bool refresh, const QString& service) {
    ModalStackEntry entry(&dialog);
    entry.SetRefresh(refresh, service);
    return dialog.exec();
}

void WaitUntilNoModal() {
    while (ModalDepth() > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

ModalStackEntry::ModalStackEntry(QWidget* window) : window_(window) {
    PushModal(window);
}

ModalStackEntry::~ModalStackEntry() {
    PopModal(window_, refresh_, service_);
}

void ModalStackEntry::SetRefresh(bool refresh, const QString& service) {
    refresh_ = refresh;
    service_ = service;
}

} // namespace qvs
