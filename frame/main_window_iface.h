// What the dialogs and the modal-window stack need from the current main
// window: the full main window, or the hidden tray controller in tray mode.
#pragma once

#include <QString>

class QWidget;

namespace qvs {

class IMainWindow {
public:
    virtual ~IMainWindow() = default;

    // The window disabled while the first dialog is open; nullptr when the
    // main window has no visible window of its own (tray mode).
    virtual QWidget* MainWidget() = 0;

    // Rebuilds the view after a change; selection is what the closing dialog
    // was given by its caller (for the main window: the node to show).
    virtual void UpdateView(const QString& selection) = 0;

    // Rebuilds the recent-files menu after a file was opened. The tray
    // controller shows no such menu.
    virtual void ReloadMenu() {}

    // Tray mode: whether the tray menu may open. A full main window has no
    // such menu.
    virtual void SetMenuEnabled(bool enabled) { (void)enabled; }

    // The options were applied: settings that shape open windows (menu
    // icons, notes, caption, panes, password masking) take effect now.
    virtual void OptionsChanged() {}
};

// The current main window, or nullptr before start-up made one and while the
// windows are switched.
IMainWindow* CurrentMainWindow();
void SetCurrentMainWindow(IMainWindow* window);

} // namespace qvs
