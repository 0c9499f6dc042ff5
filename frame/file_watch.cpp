#include "frame/file_watch.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace qvs {

FileStamp FileStamp::Of(const QString& path) {
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    return {true, qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            quint64(st.st_ino)};
}

FileWatch::FileWatch(QObject* parent) : QObject(parent) {
    // Watcher signals come in bursts (temporary file, rename); one look
    // after the burst is enough.
    settleTimer_.setSingleShot(true);
    connect(&settleTimer_, &QTimer::timeout, this, &FileWatch::MaybeChanged);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settleTimer_,
            qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settleTimer_,
            qOverload<>(&QTimer::start));
    connect(&checkTimer_, &QTimer::timeout, this, &FileWatch::MaybeChanged);
    SetTiming(WatchTiming());
}

void FileWatch::SetTiming(const WatchTiming& timing) {
    settleTimer_.setInterval(timing.settleMs);
    checkTimer_.setInterval(timing.checkMs);
}

void FileWatch::Watch(const QString& path) {
    path_ = path;
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    if (path_.isEmpty()) {
        checkTimer_.stop();
        settleTimer_.stop();
        return;
    }
    watcher_.addPath(QFileInfo(path_).absolutePath());
    Rearm();
    checkTimer_.start();
}

void FileWatch::Rearm() {
    if (!path_.isEmpty() && !watcher_.files().contains(path_) && QFileInfo::exists(path_))
        watcher_.addPath(path_);
}

} // namespace qvs
