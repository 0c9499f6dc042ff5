#include "qvslite/file_follower.h"

#include "autotype/key_pair.h"
#include "frame/main_window_iface.h"
#include "frame/program_state.h"

#include <QApplication>
#include <QFileInfo>

#include <sys/stat.h>

namespace qvs {

namespace {

// Watcher signals come in bursts (temporary file, rename); one look after
// the burst is enough.
constexpr int kSettleMs = 250;
// A file read while it was being rewritten in place may not open; it is
// looked at once more after this pause before a problem is reported.
constexpr int kRetryMs = 1000;

} // namespace

FileStamp FileStamp::Of(const QString& path) {
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    return {true, qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            quint64(st.st_ino)};
}

FileFollower::FileFollower(Reporter report, QObject* parent)
    : QObject(parent), report_(std::move(report)) {
    settleTimer_.setSingleShot(true);
    settleTimer_.setInterval(kSettleMs);
    connect(&settleTimer_, &QTimer::timeout, this, &FileFollower::Check);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settleTimer_,
            qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settleTimer_,
            qOverload<>(&QTimer::start));
    checkTimer_.setInterval(kCheckMs);
    connect(&checkTimer_, &QTimer::timeout, this, &FileFollower::Check);
}

void FileFollower::Follow() {
    const QString name = QString::fromStdString(Store().Filename());
    if (name.isEmpty()) return;
    path_ = name;
    seen_ = FileStamp::Of(path_);
    failedOnce_ = {};
    problem_ = Problem::None;
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    watcher_.addPath(QFileInfo(path_).absolutePath());
    Watch();
    checkTimer_.start();
}

void FileFollower::FollowOpened() {
    const QString name = QString::fromStdString(Store().Filename());
    if (name.isEmpty() || (name == path_ && problem_ == Problem::None)) return;
    Follow();
}

// A file replaced by a rename is a new file: its watch is set again.
void FileFollower::Watch() {
    if (!watcher_.files().contains(path_) && QFileInfo::exists(path_)) watcher_.addPath(path_);
}

void FileFollower::Check() {
    if (path_.isEmpty() || checking_ || QApplication::activeModalWidget()) return;
    Watch();
    const FileStamp now = FileStamp::Of(path_);
    if (now == seen_) return;
    checking_ = true;
    if (!now.exists) {
        seen_ = now;
        Drop(Problem::Vanished);
    } else if (Reload()) {
        seen_ = now;
        failedOnce_ = {};
        problem_ = Problem::None;
        Refresh();
        emit Reloaded();
    } else if (now != failedOnce_) {
        failedOnce_ = now;
        failedAt_.start();
        QTimer::singleShot(kRetryMs, this, &FileFollower::Check);
    } else if (failedAt_.elapsed() >= kRetryMs) {
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
    if (!fresh->LoadFile(path_.toStdString(), app.currentFilePassword.toStdString(),
                         DefaultKeyVal()))
        return false;
    App().store = std::move(fresh);
    App().loadTime = QFileInfo(path_).lastModified();
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
    if (first && report_) report_(problem, path_);
}

void FileFollower::Refresh() {
    if (IMainWindow* window = CurrentMainWindow()) window->UpdateView(QString());
}

} // namespace qvs
