#include "proxy/native_messaging.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace qvs::proxy {

namespace {

constexpr std::size_t kLengthBytes = 4;

// The protocol's own error codes, which the extension words itself.
constexpr int kIncorrectAction = 12;
constexpr int kEmptyMessage = 13;

} // namespace

void FrameDecoder::Feed(std::string_view bytes) {
    // Bytes already taken are dropped first, so the buffer holds at most
    // what one read gave on top of one message.
    input_.erase(0, taken_);
    taken_ = 0;
    input_.append(bytes);
}

std::optional<Frame> FrameDecoder::Next() {
    while (!ready_ && taken_ < input_.size())
        Step();
    std::optional<Frame> out = std::move(ready_);
    ready_.reset();
    return out;
}

void FrameDecoder::Step() {
    const std::string_view rest = std::string_view(input_).substr(taken_);
    switch (state_) {
    case State::Length: {
        const std::size_t n = std::min(kLengthBytes - pending_.size(), rest.size());
        pending_.append(rest.substr(0, n));
        taken_ += n;
        if (pending_.size() < kLengthBytes) return;
        std::uint32_t length = 0;
        std::memcpy(&length, pending_.data(), kLengthBytes);
        pending_.clear();
        needed_ = length;
        if (length > limit_) {
            ready_ = Frame{Frame::Kind::TooLarge, {}, length};
            state_ = State::Skip;
        } else if (length == 0) {
            ready_ = Frame{Frame::Kind::Message, {}, 0};
        } else {
            state_ = State::Body;
        }
        return;
    }
    case State::Body:
    case State::Skip: {
        const std::size_t n = std::min<std::size_t>(needed_, rest.size());
        if (state_ == State::Body) pending_.append(rest.substr(0, n));
        taken_ += n;
        needed_ -= static_cast<std::uint32_t>(n);
        if (needed_ > 0) return;
        if (state_ == State::Body) ready_ = Frame{Frame::Kind::Message, std::move(pending_), 0};
        pending_.clear();
        state_ = State::Length;
        return;
    }
    }
}

std::optional<std::string> EncodeFrame(std::string_view json, std::uint32_t limit) {
    if (json.size() > limit) return std::nullopt;
    const auto length = static_cast<std::uint32_t>(json.size());
    std::string out(kLengthBytes, '\0');
    std::memcpy(out.data(), &length, kLengthBytes);
    out.append(json);
    return out;
}

std::optional<std::string> ActionOf(std::string_view json) {
    const nlohmann::json parsed = nlohmann::json::parse(json, nullptr, false);
    if (!parsed.is_object()) return std::nullopt;
    const auto action = parsed.find("action");
    if (action == parsed.end() || !action->is_string()) return std::nullopt;
    return action->get<std::string>();
}

RequestProblem CheckRequest(std::string_view json) {
    if (json.empty()) return RequestProblem::Empty;
    const nlohmann::json parsed = nlohmann::json::parse(json, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object()) return RequestProblem::NotJson;
    const auto action = parsed.find("action");
    if (action == parsed.end() || !action->is_string() || action->get<std::string>().empty())
        return RequestProblem::NoAction;
    return RequestProblem::None;
}

std::string ErrorAnswer(RequestProblem problem, std::string_view action) {
    const auto [code, text] = [&]() -> std::pair<int, const char*> {
        switch (problem) {
        case RequestProblem::Empty:
            return {kEmptyMessage, "Empty message received"};
        case RequestProblem::TooLarge:
            return {kIncorrectAction, "Message too large"};
        case RequestProblem::NotJson:
            return {kIncorrectAction, "Message is not a JSON object"};
        default:
            return {kIncorrectAction, "Incorrect action"};
        }
    }();
    nlohmann::json answer = {
        {"action", std::string(action)}, {"errorCode", std::to_string(code)}, {"error", text}};
    // Invalid UTF-8 in an action is replaced, never a reason to fail.
    return answer.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<Frame> ReadFrame(int fd, FrameDecoder& decoder, bool& cut) {
    cut = false;
    char buffer[64 * 1024];
    while (true) {
        if (auto frame = decoder.Next()) return frame;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            cut = n == 0 && decoder.InsideFrame();
            return std::nullopt;
        }
        decoder.Feed(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
}

bool WriteFrame(int fd, std::string_view json, std::uint32_t limit) {
    const auto frame = EncodeFrame(json, limit);
    if (!frame) return false;
    std::string_view rest = *frame;
    while (!rest.empty()) {
        const ssize_t n = ::write(fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace qvs::proxy
