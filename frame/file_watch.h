// Following one file on disk for both programs: the file and its folder are
// watched (a save that writes a new file and renames it over the old one
// ends a watch on the file itself, so the file's watch is set again after
// every change), bursts of signals are settled into one look, and a check
// every few seconds catches whatever a watcher misses (network folders).
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace qvs {

// What identifies one version of a file on disk: a rename over it changes
// the inode, a rewrite in place the time or size.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 inode = 0;

    static FileStamp Of(const QString& path);
    bool operator==(const FileStamp&) const = default;
};

// How often a followed file is looked at. The programs keep these; tests
// shorten them so that they wait for the change rather than for the clock.
struct WatchTiming {
    int checkMs = 3000;     // the fallback check's period
    int settleMs = 250;     // the quiet that ends a burst of watcher signals
    int retryMs = 1000;     // a read that failed is tried again after this,
    int unchangedMs = 2000; // as long as the file changed within this
};

class FileWatch : public QObject {
    Q_OBJECT
public:
    explicit FileWatch(QObject* parent = nullptr);

    void SetTiming(const WatchTiming& timing);

    // Watches path from now on ("" stops watching).
    void Watch(const QString& path);
    QString Path() const { return path_; }
    // Sets the file's watch again, should a rename have replaced the file.
    void Rearm();

signals:
    // The file may have changed: after a settled burst of watcher signals,
    // and at every fallback check. Compare stamps to know.
    void MaybeChanged();

private:
    QFileSystemWatcher watcher_;
    QTimer checkTimer_;
    QTimer settleTimer_;
    QString path_;
};

} // namespace qvs
