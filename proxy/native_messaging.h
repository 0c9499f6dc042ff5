// The browsers' native messaging on the host's side: each message is a
// 4-byte length in the machine's byte order, then that many bytes of UTF-8
// JSON. A decoder that never trusts the length (a message above the limit
// is passed over unread, never held), the encoder, the blocking reading and
// writing on file descriptors, and the error answers for what cannot be
// passed on. None of it can crash or stall on what a browser or anything
// else writes: it waits only for bytes the stream still owes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qvs::proxy {

// Both browsers refuse host messages above 1 MiB; no request of the
// extension's protocol comes near it, so requests are held to it too.
inline constexpr std::uint32_t kMaxMessageBytes = 1024 * 1024;

// One step of the stream.
struct Frame {
    enum class Kind {
        Message,  // a whole message: text holds its bytes (not yet checked)
        TooLarge, // a message above the limit, passed over: declared holds its length
    };
    Kind kind = Kind::Message;
    std::string text;
    std::uint32_t declared = 0;
};

// Turns the bytes of a stream, fed in pieces of any size, into frames.
class FrameDecoder {
public:
    explicit FrameDecoder(std::uint32_t limit = kMaxMessageBytes) : limit_(limit) {}
    // Takes bytes; the frames they complete come from Next.
    void Feed(std::string_view bytes);
    // The next complete frame, in stream order; none when it needs more bytes.
    std::optional<Frame> Next();
    // Whether the stream stopped within a frame (length or message cut off).
    bool InsideFrame() const { return state_ != State::Length || !pending_.empty(); }

private:
    enum class State { Length, Body, Skip };
    void Step();

    std::uint32_t limit_;
    State state_ = State::Length;
    std::string pending_;      // bytes of the current length or message
    std::uint32_t needed_ = 0; // bytes the current message or skip still owes
    std::string input_;        // fed bytes not yet taken
    std::size_t taken_ = 0;
    std::optional<Frame> ready_;
};

// The 4-byte length (the machine's byte order) and the text; none when the
// text is above limit.
std::optional<std::string> EncodeFrame(std::string_view json,
                                       std::uint32_t limit = kMaxMessageBytes);

// Why a request cannot be passed on, and the answer the extension gets for
// it: its own error (no nonce: the extension pairs such an answer with its
// request by action).
enum class RequestProblem { None, Empty, NotJson, NoAction, TooLarge };
RequestProblem CheckRequest(std::string_view json);
// {"action": action, "errorCode": "N", "error": "..."}; action "" when the
// request had none readable.
std::string ErrorAnswer(RequestProblem problem, std::string_view action);
// The request's action, when it is a JSON object with a text "action".
std::optional<std::string> ActionOf(std::string_view json);

// Blocking reading from a descriptor: the next frame, or none at the end of
// the stream (cut set when it ended within a frame) or on a read error.
std::optional<Frame> ReadFrame(int fd, FrameDecoder& decoder, bool& cut);
// Writes one frame whole (short writes and interruptions resumed); false on
// a write error or a text above the limit.
bool WriteFrame(int fd, std::string_view json, std::uint32_t limit = kMaxMessageBytes);

} // namespace qvs::proxy
