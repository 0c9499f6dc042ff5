// The program-wide stack of open dialogs. Every dialog of both programs is
// shown through it: while a dialog is open the window below it (the previous
// dialog, or the main window; in tray mode the tray menu) takes no input, and
// closing it may refresh the main window.
#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace qvs {

// Disables the window below and puts window on top. A window already on the
// stack is left where it is.
void PushModal(QWidget* window);

// Takes window off the stack. When it was on top, the window below (or the
// main window) takes input again; with refresh set the main window then runs
// UpdateView(service): service is the entry the dialog worked on, "" for none.
void PopModal(QWidget* window, bool refresh = false, const QString& service = QString());

int ModalDepth();
QWidget* TopModal();

// The owner for a new dialog: the top of the stack, else the main window.
QWidget* DialogOwner();

// The main window (nullptr in tray mode), for a window that must outlive
// the dialogs it was opened from.
QWidget* MainOwner();

// Brings every open dialog to the front, in stack order (the program was
// activated).
void RaiseModalWindows();

// Shows dialog through the stack and returns its exec() result once closed.
int ExecModal(QDialog& dialog, bool refresh = false, const QString& service = QString());

// Runs the event loop until every dialog on the stack is closed.
void WaitUntilNoModal();

// Keeps a modeless window on the stack for its own lifetime.
class ModalStackEntry {
public:
    explicit ModalStackEntry(QWidget* window);
    ~ModalStackEntry();
    ModalStackEntry(const ModalStackEntry&) = delete;
    ModalStackEntry& operator=(const ModalStackEntry&) = delete;

    // What the pop asks of the main window when the entry ends.
    void SetRefresh(bool refresh, const QString& service = QString());

private:
    QWidget* window_;
    bool refresh_ = false;
    QString service_;
};

} // namespace qvs
