#include "app/disk_guard.h"

#include "app/common_version.h"
#include "app/file_commands.h"
#include "app/lock_controller.h"
#include "app/merge_file_command.h"
#include "app/program_start.h"
#include "app/text_ids.h"
#include "autotype/key_pair.h"
#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/message_box.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "frame/text_ids.h"
#include "store/legacy/legacy_file.h"
#include "store/merge/conflict_copies.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QTimer>

namespace qvs {

namespace {

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
    // What changed while locked is looked at once the file is open again.
    connect(&Locking(), &LockController::lockedChanged, this, [this](bool locked) {
        if (!locked) QTimer::singleShot(0, this, &DiskGuard::Check);
    });
}

DiskGuard::~DiskGuard() {
    if (current == this) current = nullptr;
}

DiskGuard* DiskGuard::Current() {
    return current;
}

void DiskGuard::SetTiming(const WatchTiming& timing) {
    watch_.SetTiming(timing);
    retry_.SetTiming(timing);
}

void DiskGuard::Follow() {
    const QString name = QString::fromStdString(Store().Filename());
    const bool file = !name.isEmpty() && !IsNewFileMarker(name);
    const bool opened = !file || name != watch_.Path();
    watch_.Watch(file ? name : QString());
    read_ = FileStamp::Of(watch_.Path());
    told_.reset();
    retry_.Reset();
    lockNoted_ = false;
    // Also what the file on disk opens with: a new password given since is
    // the file's only once saved.
    base_ = file ? std::make_unique<ardeko::clsPW>(Store()) : nullptr;
    if (opened) {
        toldCopies_.clear();
        keptBefore_ = file ? LoadCommonVersion(name, Store()) : nullptr;
    } else {
        keptBefore_.reset();
    }
    if (file) KeepCommonVersion(name);
}

const ardeko::clsPW* DiskGuard::ConflictBase() const {
    return keptBefore_ ? keptBefore_.get() : base_.get();
}

bool DiskGuard::Followed() const {
    return !watch_.Path().isEmpty() && Store().Filename() == watch_.Path().toStdString();
}

std::unique_ptr<ardeko::clsPW> DiskGuard::ReadDisk() const {
    if (!base_) return nullptr;
    auto theirs = std::make_unique<ardeko::clsPW>();
    if (!theirs->LoadFileAs(watch_.Path().toStdString(), *base_, DefaultKeyVal()) ||
        theirs->ErrNum() ==
            ardeko::Code(ardeko::StoreError::DamagedFile)) // lost records would read as deleted
        return nullptr;
    return theirs;
}

// Skipped while a window is modal: a question must not meet another one;
// the fallback check comes back when it has closed. Locked, nothing is read
// or asked: a question or a summary would show the entries' names, and
// Reload would let a change go without the password.
void DiskGuard::Check() {
    if (checking_ || !Followed() || QApplication::activeModalWidget()) return;
    watch_.Rearm();
    const FileStamp now = FileStamp::Of(watch_.Path());
    DiskFacts facts{now == read_, told_ == now, now.exists, true, Store().NotSaved()};
    if (Locking().IsLocked()) {
        if (!facts.sameAsRead && !facts.told && !lockNoted_) {
            Note(GetLocalText(text::kWaitsForUnlock));
            LogTestEvent("held");
        }
        lockNoted_ = lockNoted_ || !(facts.sameAsRead || facts.told);
        return;
    }
    lockNoted_ = false;
    Busy busy(checking_);
    if (!facts.sameAsRead && !facts.told) {
        std::unique_ptr<ardeko::clsPW> theirs = now.exists ? ReadDisk() : nullptr;
        facts.opens = theirs != nullptr;
        if (now.exists && !theirs && retry_.Again(now)) {
            QTimer::singleShot(retry_.RetryMs(), this, &DiskGuard::Check);
            return;
        }
        Handle(DecideOnChange(facts), std::move(theirs), now);
    }
    if (Followed() && !QApplication::activeModalWidget()) CheckConflictCopies();
}

void DiskGuard::CheckConflictCopies() {
    for (const std::string& found : ardeko::FindConflictCopies(watch_.Path().toStdString())) {
        const QString copy = QString::fromStdString(found);
        const FileStamp stamp = FileStamp::Of(copy);
        const auto told = toldCopies_.find(copy);
        if (told != toldCopies_.end() && told->second == stamp) continue;
        toldCopies_[copy] = stamp;
        LogTestEvent("conflict-copy", copy);
        OfferConflictCopy(copy);
    }
}

// Offered at once, as the copy holds changes the shown file lacks; Later
// leaves it until the file is opened again. Merged, the copy is renamed, so
// that neither machine offers it again, but kept.
void DiskGuard::OfferConflictCopy(const QString& copy) {
    const QString text = LocalTextWith(text::kConflictCopyQuestion, FileName(watch_.Path()))
                             .replace(QLatin1String("%n"), FileName(copy));
    if (ShowChoice(text, vbYesNo | vbExclamation,
                   {GetLocalText(text::kMergeCopyButton), GetLocalText(text::kLaterButton)},
                   ProgramName()) != vbYes)
        return;
    ardeko::clsPW other;
    if (!LoadOtherVersion(copy, other)) return;
    if (other.ErrNum() ==
        ardeko::Code(
            ardeko::StoreError::DamagedFile)) { // its missing entries would read as deleted
        ShowMessage(QString::fromStdString(other.ErrDescr()), vbExclamation, ProgramName());
        return;
    }
    if (!MergeIntoStore(BaseForOther(ConflictBase(), other), other, FileName(copy))) return;
    const std::string aside = ardeko::MoveConflictCopyAside(copy.toStdString());
    if (aside.empty()) {
        ShowMessage(LocalTextWith(text::kCopyNotMoved, FileName(copy)), vbExclamation,
                    ProgramName());
        return;
    }
    toldCopies_.erase(copy);
    const QString note =
        LocalTextWith(text::kCopyMovedNote, FileName(QString::fromStdString(aside)));
    Note(note);
    LogTestEvent("copy-merged", note);
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
        return Report(text::kFileVanished);
    case DiskAction::ReportUnreadable:
        told_ = now;
        return Report(text::kDiskPasswordChanged);
    case DiskAction::Ask:
        break;
    }
    told_ = now;
    LogTestEvent("asked");
    const int answer =
        ShowChoice(LocalTextWith(text::kChangedOnDiskQuestion, FileName(watch_.Path())),
                   vbYesNoCancel | vbQuestion,
                   {GetLocalText(text::kMergeButton), GetLocalText(text::kReloadButton),
                    GetLocalText(text::kKeepMineButton)},
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
    const QString note = LocalTextWith(text::kReloadedNote, at.toString(QStringLiteral("HH:mm")));
    Note(note);
    LogTestEvent("reloaded", note);
}

bool DiskGuard::Merge(std::unique_ptr<ardeko::clsPW> theirs, const FileStamp& now) {
    if (!MergeIntoStore(base_.get(), *theirs, FileName(watch_.Path()))) return false;
    base_ = std::move(theirs); // the version on disk now holds what both started from
    KeepCommonVersion(watch_.Path());
    read_ = now;
    told_.reset();
    LogTestEvent("merged");
    return true;
}

// Told once per version; the entries stay open and unsaved changes are
// not lost: Save as… is offered.
void DiskGuard::Report(int textId) {
    const int answer = ShowChoice(
        LocalTextWith(textId, FileName(watch_.Path())), vbYesNo | vbExclamation,
        {GetLocalText(text::kSaveAsButton), GetLocalText(text::kLaterButton)}, ProgramName());
    if (answer == vbYes) SaveDataFile(true);
}

bool DiskGuard::MaySave(const QString& target) {
    if (!Followed() || (!target.isEmpty() && target != watch_.Path())) return true;
    const FileStamp now = FileStamp::Of(watch_.Path());
    if (now == read_ || !now.exists) return true; // a vanished file is written anew
    const int answer =
        ShowChoice(LocalTextWith(text::kChangedBeforeSaveQuestion, FileName(watch_.Path())),
                   vbYesNoCancel | vbExclamation,
                   {GetLocalText(text::kMergeSaveButton), GetLocalText(text::kOverwriteButton),
                    GetLocalText(text::kCancel)},
                   ProgramName());
    if (answer == vbNo) return true;
    if (answer != vbYes) return false;
    std::unique_ptr<ardeko::clsPW> theirs = ReadDisk();
    if (!theirs) {
        told_ = now;
        ShowMessage(LocalTextWith(text::kDiskPasswordChanged, FileName(watch_.Path())),
                    vbExclamation, ProgramName());
        return false;
    }
    return Merge(std::move(theirs), now);
}

} // namespace qvs
