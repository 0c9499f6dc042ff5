#include "proxy/runtime_socket.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace qvs::proxy {

namespace {

// A folder only this user can reach: another local user must not be able
// to plant a socket where the browser's host looks for QVS.
bool IsPrivateFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && path.front() == '/' && ::lstat(path.c_str(), &st) == 0 &&
           S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

std::string MakePrivateFolder(const std::string& path) {
    ::mkdir(path.c_str(), 0700);
    return IsPrivateFolder(path) ? path : std::string();
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// Drops a trailing slash, as the desktop libraries do with these folders.
std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string TempFolder() {
    const std::string temp = WithoutTrailingSlash(Environment("TMPDIR"));
    return temp.empty() ? std::string("/tmp") : temp;
}

std::string HomeFolder() {
    std::string home = Environment("HOME");
    if (home.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid())) home = entry->pw_dir;
    }
    return WithoutTrailingSlash(home);
}

} // namespace

std::string PrivateRuntimeFolder() {
    const std::string runtime = Environment("XDG_RUNTIME_DIR");
    if (IsPrivateFolder(runtime)) return runtime;
    const std::string uid = std::to_string(::getuid());
    const std::string temp = MakePrivateFolder(TempFolder() + "/quorvane-" + uid);
    if (!temp.empty()) return temp;
    const std::string home = HomeFolder();
    if (home.empty()) return {};
    const std::string cache = home + "/.cache";
    ::mkdir(cache.c_str(), 0700);
    return MakePrivateFolder(cache + "/quorvane-run");
}

std::string BrowserSocketPath() {
    const std::string folder = PrivateRuntimeFolder();
    if (folder.empty()) return {};
    const std::string path = folder + "/" + kBrowserSocketName;
    return path.size() < sizeof(sockaddr_un{}.sun_path) ? path : std::string();
}

bool PeerIsSameUser(int fd) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == ::getuid();
}

int ConnectToQvs(const std::string& path) {
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path) return -1;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    int result = 0;
    do {
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (result != 0 && errno == EINTR);
    if (result != 0 || !PeerIsSameUser(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace qvs::proxy
