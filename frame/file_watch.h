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

class FileWatch : public QObject {
    Q_OBJECT
public:
    // The fallback check's period.
    static constexpr int kCheckMs = 3000;

    explicit FileWatch(QObject* parent = nullptr);

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
