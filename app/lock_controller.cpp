#include "app/lock_controller.h"

#include "app/disk_guard.h"
#include "app/session_lock_source.h"
#include "app/text_ids.h"
#include "autotype/secret_clipboard.h"
#include "dialogs/entry/frm_pw.h"
#include "dialogs/entry/frm_show_pw.h"
#include "dialogs/files/frm_file_pw.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "frame/wipe_text.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QEvent>
#include <QMimeData>

#include <utility>

namespace qvs {

namespace {

// Idle time is counted in minutes: a check every quarter minute is close
// enough and costs nothing.
constexpr int kIdleCheckMs = 15'000;
// A dialog that would not close is asked again this often.
constexpr int kPendingRetryMs = 500;
constexpr qint64 kMsPerMinute = 60'000;

// Only what the program put there as a secret: anything else on the
// clipboard is the user's and stays.
bool IsInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
        return true;
    default:
        return false;
    }
}

// The stores beside the open one that hold the file's records: the version
// merges start from.
std::vector<ardeko::clsPW*> StoresBeside() {
    DiskGuard* guard = DiskGuard::Current();
    return {guard ? guard->BaseForSealing() : nullptr};
}

} // namespace

LockController::LockController(QObject* parent)
    : QObject(parent), clock_([] { return QDateTime::currentDateTimeUtc(); }) {
    lastInput_ = clock_();
    if (qApp) qApp->installEventFilter(this);
    connect(&idleTimer_, &QTimer::timeout, this, &LockController::CheckIdle);
    idleTimer_.start(kIdleCheckMs);
    pendingTimer_.setSingleShot(true);
    pendingTimer_.setInterval(kPendingRetryMs);
    connect(&pendingTimer_, &QTimer::timeout, this, &LockController::RetryPendingLock);
}

LockController::~LockController() = default;

void LockController::SetSessionSource(std::unique_ptr<SessionLockSource> source) {
    source_ = std::move(source);
    if (source_)
        connect(source_.get(), &SessionLockSource::sessionLocked, this,
                &LockController::OnSessionLocked);
}

bool LockController::SessionLockAvailable() const {
    return source_ && source_->Available();
}

void LockController::SetClock(Clock clock) {
    clock_ = std::move(clock);
    lastInput_ = clock_();
}

bool LockController::CanLock() {
    return !Store().Filename().empty() && !Store().CheckFilePW(std::string());
}

bool LockController::Lock() {
    if (locked_) return true;
    if (!CanLock()) return false;
    if (!CloseOpenDialogs()) {
        pendingTimer_.start();
        return false;
    }
    pendingTimer_.stop();
    HoldEditors();
    SealStore();
    ClearSecretFromClipboard(); // ours only: another program's copy is not ours to drop
    locked_ = true;
    if (view_) view_->LockView();
    if (trayHook_) trayHook_(true);
    emit lockedChanged(true);
    return true;
}

bool LockController::Unlock(const QString& password) {
    if (!locked_) return true;
    if (!UnsealStore(password)) return false;
    locked_ = false;
    NoteInput();
    if (view_) view_->UnlockView();
    if (trayHook_) trayHook_(false);
    ResumeEditors();
    emit lockedChanged(false);
    return true;
}

bool LockController::UnlockWithPrompt() {
    if (!locked_) return true;
    frmFilePW prompt;
    QString password = prompt.controlla();
    if (prompt.Cancelled()) return false;
    const bool unlocked = Unlock(password);
    WipeText(password);
    if (unlocked) return true;
    ShowMessage(GetLocalText(text::kWrongPassword), vbExclamation);
    return false;
}

void LockController::CheckIdle() {
    const int minutes = Opt().LockIdleMinutes;
    if (locked_ || minutes <= 0 || !CanLock()) return;
    if (lastInput_.msecsTo(clock_()) >= minutes * kMsPerMinute) Lock();
}

void LockController::NoteInput() {
    lastInput_ = clock_();
}

bool LockController::eventFilter(QObject* watched, QEvent* event) {
    if (IsInput(event->type())) NoteInput();
    return QObject::eventFilter(watched, event);
}

void LockController::OnSessionLocked() {
    if (Opt().LockOnSessionLock) Lock();
}

// Open dialogs and entry windows show the file's contents and would stay
// above the locked window: they are cancelled or closed. A dialog that cannot
// be cancelled (a question that needs its answer) stays, and the lock waits
// for it. Editors are not cancelled: that would ask about their changes.
bool LockController::CloseOpenDialogs() {
    while (QWidget* popup = QApplication::activePopupWidget()) // an open menu
        if (!popup->close()) break;
    bool allClosed = true;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || qobject_cast<frmPW*>(window)) continue;
        if (auto* dialog = qobject_cast<QDialog*>(window))
            dialog->reject();
        else if (qobject_cast<frmShowPW*>(window))
            window->close();
        else
            continue;
        allClosed = allClosed && !window->isVisible();
    }
    return allClosed;
}

void LockController::HoldEditors() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* editor = qobject_cast<frmPW*>(window);
        if (!editor || !editor->isVisible()) continue;
        editor->HoldForLock();
        heldEditors_.emplace_back(editor);
    }
}

// Locked means sealed: the records, unsaved changes and everything the held
// editors hold of their entries go under a key only the file password gives
// again.
void LockController::SealStore() {
    std::vector<std::string> texts;
    heldTexts_.clear();
    for (const QPointer<frmPW>& editor : heldEditors_) {
        std::vector<std::string> taken =
            editor ? editor->TakeForLock() : std::vector<std::string>();
        heldTexts_.push_back(taken.size());
        for (std::string& text : taken)
            texts.push_back(std::move(text));
    }
    // Without memory for the seal the lock still hides everything.
    if (!Store().Seal(texts, StoresBeside())) sealedTexts_ = std::move(texts);
}

bool LockController::UnsealStore(const QString& password) {
    std::vector<std::string> texts;
    if (Store().Sealed()) {
        if (!Store().Unseal(Utf8Secret(password), texts, StoresBeside())) return false;
    } else {
        if (!Store().CheckFilePW(Utf8Secret(password))) return false;
        texts = std::exchange(sealedTexts_, {});
    }
    // Each editor gets its own texts back; one closed meanwhile is passed over.
    std::size_t next = 0;
    for (std::size_t i = 0; i < heldEditors_.size() && i < heldTexts_.size(); ++i) {
        std::vector<std::string> own;
        for (std::size_t t = 0; t < heldTexts_[i] && next < texts.size(); ++t, ++next)
            own.push_back(std::move(texts[next]));
        if (heldEditors_[i]) heldEditors_[i]->PutBackAfterLock(own);
        for (std::string& rest : own)
            ardeko::WipeString(rest);
    }
    for (std::string& rest : texts)
        ardeko::WipeString(rest);
    return true;
}

void LockController::ResumeEditors() {
    for (const QPointer<frmPW>& editor : std::exchange(heldEditors_, {}))
        if (editor) editor->ResumeAfterLock();
}

void LockController::RetryPendingLock() {
    Lock();
}

LockController& Locking() {
    // Parented to the application, so it goes before the application does.
    static QPointer<LockController> controller;
    if (!controller) controller = new LockController(qApp);
    return *controller;
}

} // namespace qvs
