#include "store/io/file_io.h"

#include "store/errors.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace ardeko {

namespace {

// Closes a descriptor when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { Close(); }
    int Get() const { return fd_; }
    int Close() {
        int rc = 0;
        if (fd_ >= 0) rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::optional<IoError> ReadFrom(const std::string& path, std::size_t maxBytes, std::string& out) {
    out.clear();
    InputFile f;
    if (auto err = f.Open(path)) return err;
    const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(f.Size(), maxBytes));
    if (auto err = f.Read(size, out)) return err;
    // A file that grew since it was measured: read on to the limit.
    while (out.size() < maxBytes) {
        const std::size_t before = out.size();
        if (auto err = f.Read(std::min<std::size_t>(65536, maxBytes - out.size()), out)) return err;
        if (out.size() == before) break;
    }
    return std::nullopt;
}

void SyncFolder(const std::string& folder) {
    Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0) ::fsync(fd.Get());
}

// Copies to a temporary name beside `to` and links it into place, so `to`
// appears whole or not at all, and an existing `to` is never replaced.
bool CopyExclusive(const std::string& from, const std::string& to) {
    std::string data;
    if (ReadWholeFile(from, data)) return false;
    std::string temp = FolderOf(to) + "/." + FileNameOf(to) + ".XXXXXX";
    Fd out(::mkostemp(temp.data(), O_CLOEXEC));
    if (out.Get() < 0) return false;
    bool ok = WriteAll(out.Get(), data) && ::fsync(out.Get()) == 0;
    ok = out.Close() == 0 && ok;
    // A file system without hard links still renames; the check above makes
    // losing a race to another backup of the same second very unlikely.
    ok = ok && (::link(temp.c_str(), to.c_str()) == 0 ||
                (errno != EEXIST && ::access(to.c_str(), F_OK) != 0 &&
                 ::rename(temp.c_str(), to.c_str()) == 0));
    ::unlink(temp.c_str());
    return ok;
}

// Temporary files of this file left by saves that were killed midway: the
// names mkostemp makes from the pattern ".NAME.XXXXXX".
void RemoveStaleTemporaries(const std::string& folder, const std::string& name) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) return;
    const std::string prefix = "." + name + ".";
    const uid_t me = ::geteuid();
    while (const dirent* e = ::readdir(dir.get())) {
        const std::string_view entry(e->d_name);
        if (entry.size() != prefix.size() + 6 || !entry.starts_with(prefix)) continue;
        struct stat st {};
        const std::string full = folder + "/" + std::string(entry);
        if (::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == me)
            ::unlink(full.c_str());
    }
}

// Rewrites an existing file where it stands: for a folder where no
// temporary file can be made. Not crash-safe, so only as a fallback.
std::optional<IoError> WriteInPlace(const std::string& target, const std::string& path,
                                    std::string_view data) {
    Fd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (fd.Get() < 0) return ErrorFromErrno(errno, path);
    if (!WriteAll(fd.Get(), data) || ::ftruncate(fd.Get(), static_cast<off_t>(data.size())) != 0 ||
        ::fsync(fd.Get()) != 0)
        return ErrorFromErrno(errno, path);
    if (fd.Close() != 0) return ErrorFromErrno(errno, path);
    return std::nullopt;
}

} // namespace

IoError ErrorFromErrno(int err, const std::string& path) {
    int num = Code(StoreError::DeviceIo);
    const char* text = "Device I/O error";
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        num = Code(StoreError::PathNotFound);
        text = "Path not found";
        break;
    case EACCES:
    case EPERM:
        num = Code(StoreError::PermissionDenied);
        text = "Permission denied";
        break;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        num = Code(StoreError::DiskFull);
        text = "Disk full";
        break;
    case EROFS:
    case EISDIR:
    case EBUSY:
    case ETXTBSY:
        num = Code(StoreError::PathFileAccess);
        text = "Path/File access error";
        break;
    case ENAMETOOLONG:
        num = Code(StoreError::BadFileName);
        text = "Bad file name or number";
        break;
    default:
        break;
    }
    return {num, std::string(text) + ": " + path + " (" + std::strerror(err) + ")", err};
}

bool CanOpenForReading(const std::string& path) {
    InputFile f;
    return !f.Open(path);
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<IoError> InputFile::Open(const std::string& path) {
    path_ = path;
    // Non-blocking, so that opening a FIFO cannot wait for a writer.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) return ErrorFromErrno(errno, path);
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return ErrorFromErrno(errno, path);
    if (S_ISDIR(st.st_mode)) return ErrorFromErrno(EISDIR, path);
    if (!S_ISREG(st.st_mode))
        return IoError{Code(StoreError::PathFileAccess),
                       "Path/File access error: " + path + " is not a regular file", 0};
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    size_ = static_cast<std::uint64_t>(st.st_size);
    return std::nullopt;
}

std::optional<IoError> InputFile::Read(std::size_t n, std::string& out) {
    const std::size_t start = out.size();
    out.resize(start + n);
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd_, out.data() + start + got, n - got);
        if (r < 0) {
            if (errno == EINTR) continue;
            out.resize(start + got);
            return ErrorFromErrno(errno, path_);
        }
        if (r == 0) break;
        got += static_cast<std::size_t>(r);
    }
    out.resize(start + got);
    return std::nullopt;
}

std::optional<IoError> InputFile::ReadAt(std::uint64_t offset, std::size_t n,
                                         std::string& out) const {
    out.resize(n);
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::pread(fd_, out.data() + got, n - got, static_cast<off_t>(offset + got));
        if (r < 0) {
            if (errno == EINTR) continue;
            out.resize(got);
            return ErrorFromErrno(errno, path_);
        }
        if (r == 0) break;
        got += static_cast<std::size_t>(r);
    }
    out.resize(got);
    return std::nullopt;
}

std::optional<IoError> ReadWholeFile(const std::string& path, std::string& out) {
    return ReadFrom(path, static_cast<std::size_t>(-1), out);
}

std::optional<IoError> ReadFileHead(const std::string& path, std::size_t maxBytes,
                                    std::string& out) {
    return ReadFrom(path, maxBytes, out);
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<IoError> WriteFileAtomically(const std::string& path, std::string_view data,
                                           const std::function<void(bool)>& beforeReplace) {
    // Write through a symbolic link to the file it names, not over the link.
    std::string target = path;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        struct stat lst {};
        if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) target = resolved;
        std::free(resolved);
    }
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return ErrorFromErrno(EISDIR, path);
    if (exists && !S_ISREG(existing.st_mode))
        return IoError{Code(StoreError::PathFileAccess),
                       "Path/File access error: " + path + " is not a regular file", 0};
    // Replacing by rename ignores the file's own permissions; a file its
    // owner made read-only must stay as it is.
    if (exists && ::access(target.c_str(), W_OK) != 0) return ErrorFromErrno(errno, path);

    const std::string folder = FolderOf(target);
    RemoveStaleTemporaries(folder, FileNameOf(target));
    std::string temp = folder + "/." + FileNameOf(target) + ".XXXXXX";
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    auto inPlace = [&]() -> std::optional<IoError> {
        if (beforeReplace) beforeReplace(true);
        return WriteInPlace(target, path, data);
    };
    if (fd.Get() < 0) {
        const int err = errno;
        return exists ? inPlace() : ErrorFromErrno(err, path);
    }
    auto fail = [&](int err) {
        fd.Close();
        ::unlink(temp.c_str());
        return ErrorFromErrno(err, path);
    };
    if (exists) {
        // Keep the owner and group; where that is not allowed, the file
        // itself is rewritten so that they stay.
        if ((existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) &&
            ::fchown(fd.Get(), existing.st_uid, existing.st_gid) != 0) {
            fd.Close();
            ::unlink(temp.c_str());
            return inPlace();
        }
        if (::fchmod(fd.Get(), existing.st_mode & 07777) != 0) return fail(errno);
    }
    if (!WriteAll(fd.Get(), data) || ::fsync(fd.Get()) != 0) return fail(errno);
    if (fd.Close() != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return ErrorFromErrno(err, path);
    }
    if (beforeReplace) beforeReplace(false);
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return ErrorFromErrno(err, path);
    }
    SyncFolder(folder);
    return std::nullopt;
}

bool KeepBackupCopy(const std::string& path, const std::string& backupPath, bool allowLink) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || ::lstat(backupPath.c_str(), &st) == 0) return false;
    // A hard link shares the old contents until the save replaces the
    // original's directory entry; where links are impossible, copy.
    if (allowLink &&
        ::linkat(AT_FDCWD, path.c_str(), AT_FDCWD, backupPath.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno == EEXIST) return false;
    return CopyExclusive(path, backupPath);
}

std::optional<IoError> MakeFolders(const std::string& path) {
    if (path.empty()) return std::nullopt;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        const std::string part = path.substr(0, pos);
        if (part.empty()) continue;
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return ErrorFromErrno(errno, part);
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return ErrorFromErrno(ENOTDIR, path);
    return std::nullopt;
}

std::string UserDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/share";
}

} // namespace ardeko
