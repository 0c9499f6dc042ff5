// The file-system work of the data file: whole-file reads, crash-safe writes
// (temporary file, flush, rename over the target) and backup copies, with
// failures reported as the numbers and texts the store's callers show.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ardeko {

struct IoError {
    int num = 0;
    std::string descr;
    int sysErr = 0; // errno of the failure, 0 when it was not the system's
};

// A file opened for reading, which must be a regular file: a FIFO would
// block the reader and a device might never end.
class InputFile {
public:
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();
    std::optional<IoError> Open(const std::string& path);
    std::uint64_t Size() const { return size_; }
    // Appends up to n more bytes (fewer only at the end of the file).
    std::optional<IoError> Read(std::size_t n, std::string& out);
    // Replaces out by up to n bytes from offset on, leaving the position of
    // Read alone (fewer only at the end of the file).
    std::optional<IoError> ReadAt(std::uint64_t offset, std::size_t n, std::string& out) const;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::string path_;
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
// keeps its owner and permissions. A path that is a symbolic link stays one:
// the file it names is written. Temporary files of earlier saves of the same
// file that were killed midway are removed. Where no temporary file can be
// made beside the file (a read-only folder) or the owner cannot be kept, the
// existing file is rewritten in place, after beforeReplace(true) (the backup
// must then be a real copy, not a link).
std::optional<IoError> WriteFileAtomically(const std::string& path, std::string_view data,
                                           const std::function<void(bool inPlace)>& beforeReplace);

// Keeps a copy of the file at path under backupPath, unless backupPath exists
// already or path does not exist (then nothing happens). The file at path
// stays in place, so a later failure cannot lose it. allowLink: a hard link
// will do (the original is about to be replaced, not rewritten). The copy is
// made under a temporary name and renamed, so a backup is never a cut file.
bool KeepBackupCopy(const std::string& path, const std::string& backupPath, bool allowLink = true);

// Creates the folder and its parents (owner-only permissions for new ones).
std::optional<IoError> MakeFolders(const std::string& path);

std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);

// The per-user data folder: $XDG_DATA_HOME, else ~/.local/share.
std::string UserDataFolder();

IoError ErrorFromErrno(int err, const std::string& path);

} // namespace ardeko
