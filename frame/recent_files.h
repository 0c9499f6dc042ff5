// The list of recently opened data files, most recent first, each path held
// once, and its stored form "NumFiles", "File-1", "File-2", ...
#pragma once

#include <QString>
#include <QStringList>

namespace qvs {

class SettingsStore;

// Stored in place of a name: the list ends before it.
inline constexpr char kEmptyRecentFile[] = "<Empty>";

class RecentFiles {
public:
    const QStringList& Paths() const { return paths_; }
    int Count() const { return int(paths_.size()); }
    bool IsEmpty() const { return paths_.isEmpty(); }
    void Clear() { paths_.clear(); }

    // Puts path first (moving it if already listed) and lets the oldest
    // entries go so that at most limit remain. Paths are kept clean (no "." or
    // ".." parts, no doubled separators), so two spellings of one file are
    // one entry; callers give absolute paths.
    void Add(const QString& path, int limit);

    // Reads "File-1", "File-2", ... up to limit names, stopping at the first
    // missing one or "<Empty>"; cleaned like Add.
    void Load(const SettingsStore& store, int limit);

    // Writes "NumFiles" and the first names, at most limit, and forgets
    // names stored beyond them so they cannot come back later.
    void Save(SettingsStore& store, int limit) const;

private:
    QStringList paths_;
};

} // namespace qvs
