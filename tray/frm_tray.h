// Tray mode: the hidden controller that owns the tray icon, builds its menu
// from the open file, carries out the chosen item, and decides whether the
// program may close. The commands that open other windows reach it as
// actions set by the program's start-up, so the tray needs no window above
// its layer.
#pragma once

#include "autotype/send_keys.h"
#include "frame/main_window_iface.h"
#include "tray/frm_sys_tray.h"
#include "tray/tray_commands.h"
#include "tray/tray_menu.h"

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <vector>

namespace qvs {

struct TrayActions {
    // What each command of the menu does. A command without an action does
    // nothing.
    std::map<TrayCommand, std::function<void()>> commands;
    // Entry actions, given the service name.
    std::function<void(const QString&)> showEntry, editEntry, copyPassword, copyLogin,
        copyAccessUrl, openAccessUrl;
    // The login typed by the "type login" action, as strokes.
    std::function<KeyStrokes(const QString&)> typedLogin;
    // The password alone, for the "type password" action.
    std::function<QString(const QString&)> passwordOf;
    // The one-time code of this moment ("" for none), for the code actions.
    std::function<QString(const QString&)> codeOf;
    // Tells that an entry has no code to copy or type.
    std::function<void(const QString&)> noCode;
    // Types into a window; replaced by tests.
    Typist type = StartTyping;
    // When it answers a text, the menu starts with that item ("reopen").
    std::function<QString()> reopenCaption;
    // The window active when the menu opened; replaced by tests.
    std::function<std::uint64_t()> activeWindow = [] {
        return CurrentTypingBackend().ActiveWindow();
    };
    // Whether typing can reach other programs here; replaced by tests.
    std::function<TypingSupport()> typingSupport = CurrentTypingSupport;
};

// "SysTrayPWDefault": what choosing an entry in the menu does.
enum class TrayEntryAction {
    ShowEntry = 0,
    EditEntry = 1,
    CopyPassword = 2,
    CopyLogin = 3,
    CopyAccessUrl = 4,
    TypePassword = 5,
    TypeLogin = 6,
    OpenAccessUrl = 7,
    CopyCode = 8,
    TypeCode = 9,
};

class frmTray : public QObject, public IMainWindow {
    Q_OBJECT
public:
    explicit frmTray(TrayActions actions, bool fullProgram = true, QObject* parent = nullptr);
    ~frmTray() override;

    // Shows the icon with its menu; false (showing nothing) when the
    // desktop has no tray to put it in.
    bool Load();

    QWidget* MainWidget() override { return nullptr; }
    void UpdateView(const QString& selection) override;
    // The menu follows the settings at once (what it shows, its icons, what
    // an entry does).
    void OptionsChanged() override { UpdateView(QString()); }
    void SetMenuEnabled(bool enabled) override { menuEnabled_ = enabled; }
    bool MenuEnabled() const { return menuEnabled_; }

    frmSysTray& SysTray() { return sysTray_; }

    // While the file is locked the menu offers only "unlock" and "close".
    void SetLocked(bool locked);
    bool Locked() const { return locked_; }

    // Carries out a chosen menu item.
    void OnMenuClick(int index, const QString& key);
    // Types into the window that was active when the menu opened (where the
    // desktop cannot tell, into the one that has the focus once the menu has
    // closed); nothing when there was none or it has gone. The user is told
    // of a failure when the typing ends, which may be after a question.
    void SendKeysToPreviousWindow(const KeyStrokes& strokes);

    // The tray's messages (a reminder); false when the tray cannot show one.
    bool ShowMessage(const QString& title, const QString& text);

signals:
    // "close" was chosen: the program's start-up runs the close checks.
    void CloseRequested();
    // The user clicked a message shown by ShowMessage.
    void MessageClicked();

private:
    void RunEntryAction(const QString& service);
    void RunCodeAction(const QString& service);
    void RunCommand(TrayCommand command);
    // command: what a double-click runs; none for the right button.
    void OnIconClicked(std::optional<TrayCommand> command);
    // What the settings' entry action can do here.
    TypingSupport EntryTypingSupport() const;

    TrayActions actions_;
    bool fullProgram_;
    frmSysTray sysTray_;
    bool menuEnabled_ = false;
    bool locked_ = false;
    std::uint64_t previousWindow_ = 0;
    bool viewStale_ = false; // a rebuild is due when the open menu closes
};

} // namespace qvs
