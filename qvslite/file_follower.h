// QVSLite shows the file QVS edits, so it follows QVS's saves: when the
// file changes on disk it is read again with the password it was opened
// with and the menu is rebuilt, without asking. QVS saves by writing a new
// file and renaming it over the old one, which ends a watch on the file
// itself: the folder is watched as well and the file's watch is set again
// after each change, and a check every few seconds catches whatever a
// watcher misses (network folders).
//
// A file that vanished, or that no longer opens with the held password, is
// reported once: its entries leave the menu, which then offers to open the
// file again. Should the file come back as it was, it is shown again.
#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

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

class FileFollower : public QObject {
    Q_OBJECT
public:
    // The fallback check's period.
    static constexpr int kCheckMs = 3000;

    enum class Problem { None, Vanished, Unreadable };
    // Tells the user about a problem with path; called once per problem.
    using Reporter = std::function<void(Problem problem, const QString& path)>;

    explicit FileFollower(Reporter report, QObject* parent = nullptr);

    // Follows the file the store holds now, as it is on disk now. Nothing
    // changes when the store holds no file (an open that failed).
    void Follow();
    // Follow(), but only when the store holds another file than the one
    // followed, or the followed one was opened again after a problem: a
    // change not yet read must not be taken as seen.
    void FollowOpened();
    // Looks at the file now and reloads it when it changed. Skipped while a
    // modal window is open: a save question or a report must not be met by
    // another.
    void Check();

    QString Path() const { return path_; }
    Problem CurrentProblem() const { return problem_; }

signals:
    // The store was replaced by the file as it is now on disk.
    void Reloaded();
    // The file's entries were dropped: it must be opened again.
    void Dropped();

private:
    void Watch();
    bool Reload();
    void Drop(Problem problem);
    void Refresh();

    Reporter report_;
    QFileSystemWatcher watcher_;
    QTimer checkTimer_;
    QTimer settleTimer_;
    QString path_;
    FileStamp seen_;
    FileStamp failedOnce_; // the version that did not open at the first try
    QElapsedTimer failedAt_;
    Problem problem_ = Problem::None;
    bool checking_ = false;
};

} // namespace qvs
