#include "app/disk_guard.h"

#include "app/file_commands.h"
#include "app/merge_file_command.h"
#include "app/program_start.h"
#include "autotype/key_pair.h"
#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/message_box.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "store/datafile.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QTimer>

namespace qvs {

namespace {

constexpr int kReloadedNote = 34500;
constexpr int kChangedQuestion = 34501;
constexpr int kMergeButton = 34502;
constexpr int kReloadButton = 34503;
constexpr int kKeepButton = 34504;
constexpr int kVanished = 34505;
constexpr int kPasswordChanged = 34506;
constexpr int kSaveAsButton = 34507;
constexpr int kLaterButton = 34508;
constexpr int kSaveQuestion = 34509;
constexpr int kMergeSaveButton = 34510;
constexpr int kOverwriteButton = 34511;
constexpr int kCancelText = 11;
// A file read while another program rewrote it in place may not open; it
// is looked at once more after this pause.
constexpr int kRetryMs = 1000;

DiskGuard* current = nullptr;

QString FileName(const QString& path) {
    return QFileInfo(path).fileName();
}

// Runs replace with the view kept, or bare when there is no window.
void KeepPlace(const std::function<void()>& replace) {
    if (IMainWindow* window = CurrentMainWindow())
        window->KeepPlaceAcross(replace);
    else
        replace();
}

void Note(const QString& text) {
    if (IMainWindow* window = CurrentMainWindow()) window->ShowNote(text);
}

// Checks run from timers; this keeps one from starting inside another.
class Busy {
public:
    explicit Busy(bool& flag) : flag_(flag) { flag_ = true; }
    ~Busy() { flag_ = false; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    bool& flag_;
};

} // namespace

DiskAction DecideOnChange(const DiskFacts& f) {
    if (f.sameAsRead || f.told) return DiskAction::Nothing;
    if (!f.exists) return DiskAction::ReportVanished;
    if (!f.opens) return DiskAction::ReportUnreadable;
    return f.unsaved ? DiskAction::Ask : DiskAction::Reload;
}

DiskGuard::DiskGuard(QObject* parent) : QObject(parent) {
    current = this;
    connect(&watch_, &FileWatch::MaybeChanged, this, &DiskGuard::Check);
}

DiskGuard::~DiskGuard() {
    if (current == this) current = nullptr;
}

DiskGuard* DiskGuard::Current() {
    return current;
}

void DiskGuard::Follow() {
    const QString name = QString::fromStdString(Store().Filename());
    const bool file = !name.isEmpty() && !IsNewFileMarker(name);
    watch_.Watch(file ? name : QString());
    read_ = FileStamp::Of(watch_.Path());
    told_.reset();
    retried_ = {};
    // Also what the file on disk opens with: a new password given since is
    // the file's only once saved.
    base_ = file ? std::make_unique<ardeko::clsPW>(Store()) : nullptr;
}

bool DiskGuard::Followed() const {
    return !watch_.Path().isEmpty() && Store().Filename() == watch_.Path().toStdString();
}

std::unique_ptr<ardeko::clsPW> DiskGuard::ReadDisk() const {
    if (!base_) return nullptr;
    auto theirs = std::make_unique<ardeko::clsPW>();
    if (!theirs->LoadFileAs(watch_.Path().toStdString(), *base_, DefaultKeyVal()) ||
        theirs->ErrNum() == ardeko::kErrDamagedFile) // lost records would read as deleted
        return nullptr;
    return theirs;
}

// Skipped while a window is modal: a question must not meet another one;
// the fallback check comes back when it has closed.
void DiskGuard::Check() {
    if (checking_ || !Followed() || QApplication::activeModalWidget()) return;
    watch_.Rearm();
    const FileStamp now = FileStamp::Of(watch_.Path());
    DiskFacts facts{now == read_, told_ == now, now.exists, true, Store().NotSaved()};
    if (facts.sameAsRead || facts.told) return;
    Busy busy(checking_);
    std::unique_ptr<ardeko::clsPW> theirs = now.exists ? ReadDisk() : nullptr;
    facts.opens = theirs != nullptr;
    if (now.exists && !theirs && now != retried_) {
        retried_ = now;
        QTimer::singleShot(kRetryMs, this, &DiskGuard::Check);
        return;
    }
    Handle(DecideOnChange(facts), std::move(theirs), now);
}

void DiskGuard::Handle(DiskAction action, std::unique_ptr<ardeko::clsPW> theirs,
                       const FileStamp& now) {
    switch (action) {
    case DiskAction::Nothing:
        return;
    case DiskAction::Reload:
        return Reload(std::move(theirs), now);
    case DiskAction::ReportVanished:
        told_ = now;
        return Report(kVanished);
    case DiskAction::ReportUnreadable:
        told_ = now;
        return Report(kPasswordChanged);
    case DiskAction::Ask:
        break;
    }
    told_ = now;
    LogTestEvent("asked");
    const int answer = ShowChoice(
        LocalTextWith(kChangedQuestion, FileName(watch_.Path())), vbYesNoCancel | vbQuestion,
        {GetLocalText(kMergeButton), GetLocalText(kReloadButton), GetLocalText(kKeepButton)},
        ProgramName());
    if (answer == vbYes)
        Merge(std::move(theirs), now);
    else if (answer == vbNo)
        Reload(std::move(theirs), now);
    // Keep mine: the file stays unread, so the next save asks first.
}

void DiskGuard::Reload(std::unique_ptr<ardeko::clsPW> theirs, const FileStamp& now) {
    KeepPlace([&] {
        App().store = std::move(theirs);
        App().loadTime = QFileInfo(watch_.Path()).lastModified();
    });
    Follow();
    read_ = now;
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(now.modifiedNs / 1000000);
    const QString note = LocalTextWith(kReloadedNote, at.toString(QStringLiteral("HH:mm")));
    Note(note);
    LogTestEvent("reloaded", note);
}

bool DiskGuard::Merge(std::unique_ptr<ardeko::clsPW> theirs, const FileStamp& now) {
    if (!MergeIntoStore(base_.get(), *theirs, FileName(watch_.Path()))) return false;
    base_ = std::move(theirs); // the version on disk now holds what both started from
    read_ = now;
    told_.reset();
    LogTestEvent("merged");
    return true;
}

// Told once per version; the entries stay open and unsaved changes are
// not lost: Save as… is offered.
void DiskGuard::Report(int textId) {
    const int answer =
        ShowChoice(LocalTextWith(textId, FileName(watch_.Path())), vbYesNo | vbExclamation,
                   {GetLocalText(kSaveAsButton), GetLocalText(kLaterButton)}, ProgramName());
    if (answer == vbYes) SaveDataFile(true);
}

bool DiskGuard::MaySave(const QString& target) {
    if (!Followed() || (!target.isEmpty() && target != watch_.Path())) return true;
    const FileStamp now = FileStamp::Of(watch_.Path());
    if (now == read_ || !now.exists) return true; // a vanished file is written anew
    const int answer = ShowChoice(
        LocalTextWith(kSaveQuestion, FileName(watch_.Path())), vbYesNoCancel | vbExclamation,
        {GetLocalText(kMergeSaveButton), GetLocalText(kOverwriteButton), GetLocalText(kCancelText)},
        ProgramName());
    if (answer == vbNo) return true;
    if (answer != vbYes) return false;
    std::unique_ptr<ardeko::clsPW> theirs = ReadDisk();
    if (!theirs) {
        told_ = now;
        ShowMessage(LocalTextWith(kPasswordChanged, FileName(watch_.Path())), vbExclamation,
                    ProgramName());
        return false;
    }
    return Merge(std::move(theirs), now);
}

} // namespace qvs
