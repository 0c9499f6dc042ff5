// What the dialogs and the modal-window stack need from the current main
// window: the full main window, or the hidden tray controller in tray mode.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

namespace qvs {

class IMainWindow {
public:
    virtual ~IMainWindow() = default;

    // The window disabled while the first dialog is open; nullptr when the
    // main window has no visible window of its own (tray mode).
    virtual QWidget* MainWidget() = 0;

    // Rebuilds the view after a change. service names the entry a command
    // added, changed or removed: the shown entries are listed again with its
    // row selected. "" rebuilds the whole view (after open, new, import and
    // every category command).
    virtual void UpdateView(const QString& service) = 0;

    // Recounts the entries of the category and subcategory nodes after an
    // entry was saved into (or moved out of) them.
    virtual void CalcNumber(std::int16_t cat, std::int16_t scat) {
        (void)cat;
        (void)scat;
    }

    // Rebuilds the recent-files menu after a file was opened. The tray
    // controller shows no such menu.
    virtual void ReloadMenu() {}

    // Tray mode: whether the tray menu may open. A full main window has no
    // such menu.
    virtual void SetMenuEnabled(bool enabled) { (void)enabled; }

    // Runs replace, which puts another version of the open file into the
    // store (a reload, a merge), and shows the result keeping the shown
    // node, the selected entry and the sort as far as they still exist.
    virtual void KeepPlaceAcross(const std::function<void()>& replace) {
        replace();
        UpdateView(QString());
    }

    // A short note in the status bar ("Reloaded: …"); nowhere without one.
    virtual void ShowNote(const QString& text) { (void)text; }

    // The options were applied: settings that shape open windows (menu
    // icons, notes, caption, panes, password masking) take effect now.
    virtual void OptionsChanged() {}
};

// The current main window, or nullptr before start-up made one and while the
// windows are switched.
IMainWindow* CurrentMainWindow();
void SetCurrentMainWindow(IMainWindow* window);

// Switching between the main window and tray mode. The program's start-up,
// which knows both windows, sets the two moves; until then they do nothing.
struct WindowSwitch {
    std::function<void()> toTray;
    std::function<void()> toMainWindow;
};
void SetWindowSwitch(WindowSwitch moves);
void GoToTray();
void GoToMainWindow();

} // namespace qvs
