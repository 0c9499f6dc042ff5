#include "qvslite/file_follower.h"

#include "autotype/key_pair.h"
#include "frame/main_window_iface.h"
#include "frame/program_state.h"
#include "store/legacy/legacy_file.h"

#include <QApplication>
#include <QFileInfo>

#include <string>
#include <vector>

namespace qvs {

FileFollower::FileFollower(Reporter report, QObject* parent)
    : QObject(parent), report_(std::move(report)) {
    connect(&watch_, &FileWatch::MaybeChanged, this, &FileFollower::Check);
}

void FileFollower::SetTiming(const WatchTiming& timing) {
    watch_.SetTiming(timing);
    retry_.SetTiming(timing);
}

void FileFollower::Follow() {
    const QString name = QString::fromStdString(Store().Filename());
    if (name.isEmpty()) return;
    seen_ = FileStamp::Of(name);
    retry_.Reset();
    problem_ = Problem::None;
    watch_.Watch(name);
}

void FileFollower::FollowOpened() {
    const QString name = QString::fromStdString(Store().Filename());
    if (name.isEmpty() || (name == Path() && problem_ == Problem::None)) return;
    Follow();
}

void FileFollower::Check() {
    if (Path().isEmpty() || checking_ || QApplication::activeModalWidget()) return;
    watch_.Rearm();
    const FileStamp now = FileStamp::Of(Path());
    if (now == seen_) return;
    checking_ = true;
    if (!now.exists) {
        seen_ = now;
        Drop(Problem::Vanished);
    } else if (Reload()) {
        seen_ = now;
        retry_.Reset();
        problem_ = Problem::None;
        Refresh();
        emit Reloaded();
    } else if (retry_.Again(now)) {
        QTimer::singleShot(retry_.RetryMs(), this, &FileFollower::Check);
    } else {
        seen_ = now;
        Drop(Problem::Unreadable);
    }
    checking_ = false;
}

// Read into a store of its own: the shown one stays whole when this fails.
bool FileFollower::Reload() {
    auto fresh = std::make_unique<ardeko::clsPW>();
    const ProgramState& app = App();
    // A save under the key held (same salt and parameters) costs no new
    // key derivation; a new password is still found out.
    if (app.store) fresh->AdoptKey(*app.store);
    // A file cut short (caught mid-write) would show only some entries.
    if (!fresh->LoadFile(Path().toStdString(), app.currentFilePassword.View(), DefaultKeyVal()) ||
        fresh->ErrNum() == ardeko::StoreError::DamagedFile)
        return false;
    // Locked, the shown store is sealed: so is the version that replaces it.
    std::vector<std::string> none;
    if (app.store && app.store->Sealed()) fresh->Seal(none);
    App().store = std::move(fresh);
    App().loadTime = QFileInfo(Path()).lastModified();
    return true;
}

// Entries that can no longer be read from the file are not shown from
// memory either: they may be out of date, or the password was changed for
// a reason.
void FileFollower::Drop(Problem problem) {
    const bool first = problem_ == Problem::None;
    problem_ = problem;
    App().store = std::make_unique<ardeko::clsPW>();
    Refresh();
    emit Dropped();
    if (first && report_) report_(problem, Path());
}

void FileFollower::Refresh() {
    if (IMainWindow* window = CurrentMainWindow()) window->UpdateView(QString());
}

} // namespace qvs
