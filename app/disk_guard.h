// QVS follows its open file on disk, as a file-sync tool or QVS on another
// machine may replace it at any time. A new version found while nothing is
// unsaved is read at once with the held password; with unsaved changes the
// user chooses once between merging, reloading and keeping theirs; a save
// never overwrites a version it has not read without the user's word. The
// version read last is kept as the base of three-way merges.
#pragma once

#include "frame/file_watch.h"
#include "frame/read_retry.h"
#include "store/pw.h"

#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <optional>

namespace qvs {

// What to do about the version of the open file found on disk now.
enum class DiskAction { Nothing, Reload, Ask, ReportVanished, ReportUnreadable };

struct DiskFacts {
    bool sameAsRead = true; // the version the store holds
    bool told = false;      // the user already heard of this version
    bool exists = true;
    bool opens = true; // with the password the file was opened with
    bool unsaved = false;
};

DiskAction DecideOnChange(const DiskFacts& facts);

class DiskGuard : public QObject {
    Q_OBJECT
public:
    // Becomes the one the file commands report to, for its lifetime.
    explicit DiskGuard(QObject* parent = nullptr);
    ~DiskGuard() override;
    static DiskGuard* Current();
    // The program keeps the default; tests shorten it.
    void SetTiming(const WatchTiming& timing);

    // The store now holds its file as it is on disk (opened or saved): that
    // version is the one read and the base of later merges. A store without
    // a file (a new one) is not followed.
    void Follow();
    // Before the store is saved to target ("" = its own file): true when the
    // save may go on: the file is the version read, or the user agreed to
    // overwrite it, or merged it in first.
    bool MaySave(const QString& target);
    // Looks at the file now (the watch does so on every change).
    void Check();

    const ardeko::clsPW* Base() const { return base_.get(); }
    // The base to merge another copy of the file against (a sync tool's
    // conflict copy, "Merge another file…"): the version kept from before
    // this opening, as such copies started from it rather than from the
    // file just read; else the version read last.
    const ardeko::clsPW* ConflictBase() const;
    // The lock seals the base with the open store.
    ardeko::clsPW* BaseForSealing() { return base_.get(); }

private:
    std::unique_ptr<ardeko::clsPW> ReadDisk() const;
    void Handle(DiskAction action, std::unique_ptr<ardeko::clsPW> theirs, const FileStamp& now);
    void Reload(std::unique_ptr<ardeko::clsPW> theirs, const FileStamp& now);
    bool Merge(std::unique_ptr<ardeko::clsPW> theirs, const FileStamp& now);
    void Report(int textId);
    bool Followed() const;
    // Sync tools' conflict copies beside the file: each is offered once per
    // version for merging.
    void CheckConflictCopies();
    void OfferConflictCopy(const QString& copy);

    FileWatch watch_;
    std::unique_ptr<ardeko::clsPW> base_;
    // The version kept from before this opening: the copies a sync tool left
    // meanwhile started from it rather than from the file just read.
    std::unique_ptr<ardeko::clsPW> keptBefore_;
    std::map<QString, FileStamp> toldCopies_;
    FileStamp read_; // the version the store holds: read, saved or merged with
    // A later version the user has already been told of (a vanished file
    // has a stamp too: the empty one).
    std::optional<FileStamp> told_;
    ReadRetry retry_;
    bool checking_ = false;
    bool lockNoted_ = false; // told, without names, that a change waits for the unlock
};

} // namespace qvs
