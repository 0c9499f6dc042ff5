// QVSLite shows the file QVS edits, so it follows QVS's saves: when the
// file changes on disk (FileWatch tells) it is read again with the password
// it was opened with and the menu is rebuilt, without asking.
//
// A file that vanished, or that no longer opens with the held password, is
// reported once: its entries leave the menu, which then offers to open the
// file again. Should the file come back as it was, it is shown again.
#pragma once

#include "frame/file_watch.h"
#include "frame/read_retry.h"

#include <QObject>
#include <QString>

#include <functional>

namespace qvs {

class FileFollower : public QObject {
    Q_OBJECT
public:
    enum class Problem { None, Vanished, Unreadable };
    // Tells the user about a problem with path; called once per problem.
    using Reporter = std::function<void(Problem problem, const QString& path)>;

    explicit FileFollower(Reporter report, QObject* parent = nullptr);

    // The program keeps the default; tests shorten it.
    void SetTiming(const WatchTiming& timing);

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

    QString Path() const { return watch_.Path(); }
    Problem CurrentProblem() const { return problem_; }

signals:
    // The store was replaced by the file as it is now on disk.
    void Reloaded();
    // The file's entries were dropped: it must be opened again.
    void Dropped();

private:
    bool Reload();
    void Drop(Problem problem);
    void Refresh();

    Reporter report_;
    FileWatch watch_;
    FileStamp seen_;
    ReadRetry retry_;
    Problem problem_ = Problem::None;
    bool checking_ = false;
};

} // namespace qvs
