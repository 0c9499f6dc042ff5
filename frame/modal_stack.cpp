#include "frame/modal_stack.h"

#include "frame/main_window_iface.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace qvs {

namespace {

std::vector<QPointer<QWidget>>& Stack() {
    static std::vector<QPointer<QWidget>> stack;
    return stack;
}

QWidget* MainWidget() {
    IMainWindow* main = CurrentMainWindow();
    return main ? main->MainWidget() : nullptr;
}

void SetTrayMenuEnabled(bool enabled) {
    if (IMainWindow* main = CurrentMainWindow()) main->SetMenuEnabled(enabled);
}

// After a window left the stack: the new top (or the main window and the
// tray menu) takes input again.
void EnableTop() {
    const auto& s = Stack();
    if (QWidget* top = s.empty() ? MainWidget() : s.back().data()) top->setEnabled(true);
    if (s.empty()) SetTrayMenuEnabled(true);
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
    if (wasEmpty) SetTrayMenuEnabled(false);
    s.emplace_back(window);
    // Disabling an owner also disables the windows it owns: this one must
    // stay usable.
    window->setEnabled(true);
}

void PopModal(QWidget* window, bool refresh, const QString& service) {
    auto& s = Stack();
    const auto it = std::find(s.begin(), s.end(), window);
    if (!window || it == s.end()) {
        DropDeleted();
        return;
    }
    s.erase(it);
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
