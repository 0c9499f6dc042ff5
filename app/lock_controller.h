// Locks the open file while the user is away: on the Lock command, after a
// time without input, or when the desktop session locks. Locked, no window
// shows anything of the file and the copied password leaves the clipboard;
// the file password opens the view again as it was. The store's records
// (unsaved changes included) and the open editors' input are sealed all
// the while, under a key only the file password gives again.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qvs {

class SessionLockSource;
class frmPW;

// A window that shows the file: the main window, later the entry windows.
class ILockableView {
public:
    virtual ~ILockableView() = default;
    // Hides and empties everything that shows the file, remembering what
    // was shown.
    virtual void LockView() = 0;
    // Shows again what LockView hid.
    virtual void UnlockView() = 0;
};

class LockController : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    explicit LockController(QObject* parent = nullptr);
    ~LockController() override;

    // The view to lock; nullptr in tray mode. Not owned.
    void SetView(ILockableView* view) { view_ = view; }
    ILockableView* View() const { return view_; }
    // The tray controller's hook: told true on locking (its menu then offers
    // only Unlock and Exit) and false on unlocking.
    void SetTrayHook(std::function<void(bool locked)> hook) { trayHook_ = std::move(hook); }
    // Owned; replaces the one before. nullptr: no session locks are heard.
    void SetSessionSource(std::unique_ptr<SessionLockSource> source);
    bool SessionLockAvailable() const;
    // Tests give a clock of their own; the idle check reads it.
    void SetClock(Clock clock);

    // Only a file with a password locks: without one, anybody could open
    // it again.
    static bool CanLock();
    bool IsLocked() const { return locked_; }

    // Locks now. False when the file cannot lock, or when an open dialog
    // would not close (the lock then follows as soon as it has).
    bool Lock();
    // True, unlocked, when password is the file's password.
    bool Unlock(const QString& password);
    // Asks for the file password in a dialog (for the tray's Unlock).
    bool UnlockWithPrompt();

    // Locks when the settings' idle time has passed since the last input.
    void CheckIdle();
    // Input was seen now.
    void NoteInput();

signals:
    void lockedChanged(bool locked);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSessionLocked();
    bool CloseOpenDialogs();
    void HoldEditors();
    void ResumeEditors();
    void SealStore();
    bool UnsealStore(const QString& password);
    void RetryPendingLock();

    ILockableView* view_ = nullptr;
    std::function<void(bool)> trayHook_;
    std::unique_ptr<SessionLockSource> source_;
    Clock clock_;
    QDateTime lastInput_;
    QTimer idleTimer_;
    QTimer pendingTimer_;
    std::vector<QPointer<frmPW>> heldEditors_; // hidden by the lock, input kept
    // The editors' input when the store could not be sealed (no memory).
    std::vector<std::string> sealedTexts_;
    std::vector<std::size_t> heldTexts_; // how many texts each held editor gave
    bool locked_ = false;
};

// The program's one controller, created on first use.
LockController& Locking();

} // namespace qvs
