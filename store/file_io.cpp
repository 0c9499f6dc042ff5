#include "store/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) return ErrorFromErrno(errno, path);
    struct stat st {};
    if (::fstat(fd.Get(), &st) == 0 && S_ISDIR(st.st_mode)) return ErrorFromErrno(EISDIR, path);
    char buf[65536];
    while (out.size() < maxBytes) {
        const ssize_t n = ::read(fd.Get(), buf, std::min(sizeof buf, maxBytes - out.size()));
        if (n < 0) {
            if (errno == EINTR) continue;
            return ErrorFromErrno(errno, path);
        }
        if (n == 0) break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    return std::nullopt;
}

void SyncFolder(const std::string& folder) {
    Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0) ::fsync(fd.Get());
}

bool CopyExclusive(const std::string& from, const std::string& to) {
    std::string data;
    if (ReadWholeFile(from, data)) return false;
    Fd out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (out.Get() < 0) return false;
    if (!WriteAll(out.Get(), data) || ::fsync(out.Get()) != 0) {
        out.Close();
        ::unlink(to.c_str());
        return false;
    }
    return out.Close() == 0;
}

} // namespace

IoError ErrorFromErrno(int err, const std::string& path) {
    int num = 57;
    const char* text = "Device I/O error";
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        num = 76;
        text = "Path not found";
        break;
    case EACCES:
    case EPERM:
        num = 70;
        text = "Permission denied";
        break;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        num = 61;
        text = "Disk full";
        break;
    case EROFS:
    case EISDIR:
    case EBUSY:
    case ETXTBSY:
        num = 75;
        text = "Path/File access error";
        break;
    case ENAMETOOLONG:
        num = 52;
        text = "Bad file name or number";
        break;
    default:
        break;
    }
    return {num, std::string(text) + ": " + path + " (" + std::strerror(err) + ")"};
}

bool CanOpenForReading(const std::string& path) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) return false;
    struct stat st {};
    return ::fstat(fd.Get(), &st) == 0 && !S_ISDIR(st.st_mode);
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
                                           const std::function<void()>& beforeReplace) {
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
    // Replacing by rename ignores the file's own permissions; a file its
    // owner made read-only must stay as it is.
    if (exists && ::access(target.c_str(), W_OK) != 0) return ErrorFromErrno(errno, path);

    const std::string folder = FolderOf(target);
    std::string temp = folder + "/." + FileNameOf(target) + ".XXXXXX";
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.Get() < 0) return ErrorFromErrno(errno, path);
    auto fail = [&](int err) {
        fd.Close();
        ::unlink(temp.c_str());
        return ErrorFromErrno(err, path);
    };
    if (exists && ::fchmod(fd.Get(), existing.st_mode & 07777) != 0) return fail(errno);
    if (!WriteAll(fd.Get(), data) || ::fsync(fd.Get()) != 0) return fail(errno);
    if (fd.Close() != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return ErrorFromErrno(err, path);
    }
    if (beforeReplace) beforeReplace();
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return ErrorFromErrno(err, path);
    }
    SyncFolder(folder);
    return std::nullopt;
}

bool KeepBackupCopy(const std::string& path, const std::string& backupPath) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || ::lstat(backupPath.c_str(), &st) == 0) return false;
    // A hard link shares the old contents until the save replaces the
    // original's directory entry; where links are impossible, copy.
    if (::linkat(AT_FDCWD, path.c_str(), AT_FDCWD, backupPath.c_str(), AT_SYMLINK_FOLLOW) == 0)
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
