// Where QVS listens for qvs-proxy, and the checks on both ends. The socket
// lives in the same private folder as the single-instance socket: the
// runtime folder ($XDG_RUNTIME_DIR) when only the user can reach it, else a
// 0700 folder of the user's own in the temp folder (or in the cache folder,
// should another user hold that name). Plain C++, so that the host the
// browser starts and QVS compute the same path from the same code.
#pragma once

#include <string>

namespace qvs::proxy {

// The socket's name inside the private folder.
inline constexpr char kBrowserSocketName[] = "quorvane-browser";

// The user's private folder, made when missing; "" when none can be had.
std::string PrivateRuntimeFolder();

// The socket's path; "" when there is no private folder or the path would
// not fit a local socket's address.
std::string BrowserSocketPath();

// Whether the process at the other end of a connected local socket runs as
// this user (false when that cannot be told).
bool PeerIsSameUser(int fd);

// Connects to the socket at path; -1 when nothing listens there or the
// listener is another user's.
int ConnectToQvs(const std::string& path);

} // namespace qvs::proxy
