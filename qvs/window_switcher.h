// QVS's current window: the main window, or the tray controller in tray
// mode, and the moves between them. The one owner of both, so that each
// is unloaded before the other takes over.
#pragma once

#include "mainwin/frm_main.h"
#include "tray/desktop_notification.h"
#include "tray/due_reminder_service.h"
#include "tray/frm_tray.h"

#include <QTimer>

#include <memory>

namespace qvs {

class WindowSwitcher {
public:
    WindowSwitcher();
    ~WindowSwitcher();
    WindowSwitcher(const WindowSwitcher&) = delete;
    WindowSwitcher& operator=(const WindowSwitcher&) = delete;

    // The first window: tray mode where a tray exists, else the main window.
    void Start(bool inTray);

private:
    void ShowMainWindow();
    bool ShowTray();
    void ToTray();
    void ToMainWindow();
    void LeaveTray();
    void CheckTrayStillThere();
    void CloseFromTray();

    // Reminders go through the tray icon in tray mode, else through the
    // desktop's notification service (none where the desktop has none).
    DueReminderService reminders_;
    DesktopNotification notification_;
    std::unique_ptr<frmMain> main_;
    std::unique_ptr<frmTray> tray_;
    // In tray mode: whether the tray host is still there to reach us by.
    QTimer trayWatch_;
    int trayMisses_ = 0; // tray checks in a row that found no tray
};

// The tray's actions as QVS carries them out.
TrayActions QvsTrayActions();

} // namespace qvs
