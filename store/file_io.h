// The file-system work of the data file: whole-file reads, crash-safe writes
// (temporary file, flush, rename over the target) and backup copies, with
// failures reported as the numbers and texts the store's callers show.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ardeko {

struct IoError {
    int num = 0;
    std::string descr;
};

bool CanOpenForReading(const std::string& path);
std::optional<IoError> ReadWholeFile(const std::string& path, std::string& out);
// Reads at most maxBytes from the start of the file.
std::optional<IoError> ReadFileHead(const std::string& path, std::size_t maxBytes,
                                    std::string& out);

// Writes data to a temporary file beside path, flushes it to disk, runs
// beforeReplace (for backups; it cannot fail the write), then renames the
// temporary file over path. On failure path is untouched and no temporary
// file remains. A new file is readable by its owner only; an existing one
// keeps its permissions.
std::optional<IoError> WriteFileAtomically(const std::string& path, std::string_view data,
                                           const std::function<void()>& beforeReplace);

// Keeps a copy of the file at path under backupPath, unless backupPath exists
// already or path does not exist (then nothing happens). The file at path
// stays in place, so a later failure cannot lose it.
bool KeepBackupCopy(const std::string& path, const std::string& backupPath);

// Creates the folder and its parents (owner-only permissions for new ones).
std::optional<IoError> MakeFolders(const std::string& path);

std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);

// The per-user data folder: $XDG_DATA_HOME, else ~/.local/share.
std::string UserDataFolder();

IoError ErrorFromErrno(int err, const std::string& path);

} // namespace ardeko
