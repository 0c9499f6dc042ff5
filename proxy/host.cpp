#include "proxy/host.h"

#include "proxy/native_messaging.h"
#include "proxy/runtime_socket.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <deque>
#include <poll.h>
#include <unistd.h>

namespace qvs::proxy {

namespace {

// Requests QVS has not answered yet, by action (the answers carry it; QVS may
// answer one that asked the user after a later one). Bounded, so that a QVS
// that never answers some kind of request cannot make the list grow.
constexpr std::size_t kMaxWaiting = 256;

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
    bool ToQvs(const std::string& json);
    bool Send(const std::string& json);
    bool Answer(std::string_view json) { return WriteFrame(output_, json); }
    void Answered(const std::string& json);
    bool LostQvs();
    void Disconnect();

    int input_;
    int output_;
    std::string socketPath_;
    int qvs_ = -1;
    FrameDecoder fromBrowser_;
    FrameDecoder fromQvs_;
    std::deque<std::string> waiting_;
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
        if (count == 2 && watched[1].revents != 0 && !FromQvs() && !LostQvs()) return 0;
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
    if (ToQvs(frame.text)) return true;
    return Answer(NotRunningAnswer(ActionOf(frame.text).value_or("")));
}

// Passes a request on; false when no QVS takes it. A QVS that went away
// since the last message (perhaps started again since) is looked for anew
// rather than written to through the socket it left.
bool Host::ToQvs(const std::string& json) {
    if (qvs_ >= 0) {
        if (Send(json)) return true;
        if (!LostQvs()) return false;
    }
    qvs_ = ConnectToQvs(socketPath_);
    if (qvs_ >= 0 && Send(json)) return true;
    Disconnect();
    return false;
}

bool Host::Send(const std::string& json) {
    if (!WriteFrame(qvs_, json)) return false;
    if (waiting_.size() == kMaxWaiting) waiting_.pop_front();
    waiting_.push_back(ActionOf(json).value_or(""));
    return true;
}

// QVS's answers and signals go to the browser as they are; false when QVS
// went away (or sent what cannot be framed).
bool Host::FromQvs() {
    if (!ReadInto(qvs_, fromQvs_)) return false;
    while (const auto frame = fromQvs_.Next()) {
        // The browser drops a frame above its limit with the whole port.
        if (frame->kind == Frame::Kind::TooLarge) continue;
        Answered(frame->text);
        WriteFrame(output_, frame->text);
    }
    return true;
}

// A message from QVS answers the oldest waiting request of its action;
// anything else (a signal) answers none.
void Host::Answered(const std::string& json) {
    const std::optional<std::string> action = ActionOf(json);
    if (!action) return;
    const auto found = std::find(waiting_.begin(), waiting_.end(), *action);
    if (found != waiting_.end()) waiting_.erase(found);
}

// QVS went away (it ended or crashed): each request it still owed an answer
// gets the answer for a QVS that is not running, so that the extension does
// not wait for ever. False when the browser's side broke meanwhile.
bool Host::LostQvs() {
    Disconnect();
    bool ok = true;
    for (const std::string& action : waiting_)
        ok = Answer(NotRunningAnswer(action)) && ok;
    waiting_.clear();
    return ok;
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
