#include "proxy/host.h"

#include "proxy/native_messaging.h"
#include "proxy/runtime_socket.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <unistd.h>

namespace qvs::proxy {

namespace {

// One read from fd into decoder; false at the end of the stream or on an error.
bool ReadInto(int fd, FrameDecoder& decoder) {
    char buffer[64 * 1024];
    ssize_t n = 0;
    do {
        n = ::read(fd, buffer, sizeof buffer);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return false;
    decoder.Feed(std::string_view(buffer, std::size_t(n)));
    return true;
}

class Host {
public:
    Host(int input, int output, std::string socketPath)
        : input_(input), output_(output), socketPath_(std::move(socketPath)) {}
    ~Host() { Disconnect(); }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    int Run();

private:
    bool FromBrowser();
    bool FromQvs();
    bool PassOn(const Frame& frame);
    bool Answer(std::string_view json) { return WriteFrame(output_, json); }
    bool Connected() { return qvs_ >= 0 || (qvs_ = ConnectToQvs(socketPath_)) >= 0; }
    void Disconnect();

    int input_;
    int output_;
    std::string socketPath_;
    int qvs_ = -1;
    FrameDecoder fromBrowser_;
    FrameDecoder fromQvs_;
};

int Host::Run() {
    // A browser that goes away must end us quietly, not by a signal.
    ::signal(SIGPIPE, SIG_IGN);
    while (true) {
        std::array<pollfd, 2> watched{{{input_, POLLIN, 0}, {qvs_, POLLIN, 0}}};
        const nfds_t count = qvs_ >= 0 ? 2 : 1;
        if (::poll(watched.data(), count, -1) < 0) {
            if (errno == EINTR) continue;
            return 1;
        }
        if (count == 2 && watched[1].revents != 0 && !FromQvs()) Disconnect();
        if (watched[0].revents != 0 && !FromBrowser()) return 0;
    }
}

// One read of the browser's bytes and what they complete; false at the end
// of the browser's stream or when its output broke.
bool Host::FromBrowser() {
    if (!ReadInto(input_, fromBrowser_)) return false;
    while (const auto frame = fromBrowser_.Next())
        if (!PassOn(*frame)) return false;
    return true;
}

bool Host::PassOn(const Frame& frame) {
    if (frame.kind == Frame::Kind::TooLarge)
        return Answer(ErrorAnswer(RequestProblem::TooLarge, ""));
    const RequestProblem problem = CheckRequest(frame.text);
    if (problem != RequestProblem::None)
        return Answer(ErrorAnswer(problem, ActionOf(frame.text).value_or("")));
    if (Connected() && WriteFrame(qvs_, frame.text)) return true;
    Disconnect();
    return Answer(NotRunningAnswer(ActionOf(frame.text).value_or("")));
}

// QVS's answers and signals go to the browser as they are; false when QVS
// went away (or sent what cannot be framed).
bool Host::FromQvs() {
    if (!ReadInto(qvs_, fromQvs_)) return false;
    while (const auto frame = fromQvs_.Next()) {
        // The browser drops a frame above its limit with the whole port.
        if (frame->kind == Frame::Kind::TooLarge) continue;
        WriteFrame(output_, frame->text);
    }
    return true;
}

void Host::Disconnect() {
    if (qvs_ >= 0) ::close(qvs_);
    qvs_ = -1;
    // A message QVS cut off must not be joined to the next session's.
    fromQvs_ = FrameDecoder();
}

} // namespace

std::string NotRunningAnswer(std::string_view action) {
    const nlohmann::json answer = {{"action", std::string(action)},
                                   {"errorCode", kNotRunning},
                                   {"error", "Quorvane is not running"}};
    return answer.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

int RunHost(int input, int output, const std::string& socketPath) {
    Host host(input, output, socketPath);
    return host.Run();
}

} // namespace qvs::proxy
