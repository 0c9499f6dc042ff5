// libFuzzer target for the native-messaging host's reading of the browser's
// stream: any bytes, fed in pieces whose sizes the input chooses, under a
// small limit so that both paths of the length are reached. Every frame is
// checked as a request and answered; a finding is a crash, a hang, a
// frame that does not account for the bytes it took, or an error answer
// that is not itself a request the extension could pair.
#include "proxy/native_messaging.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace qvs::proxy;

namespace {

constexpr std::uint32_t kLimit = 4096;

[[noreturn]] void Finding(const char* what) {
    std::fprintf(stderr, "fuzz_native_messaging: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t step = 1 + data[0] % 64;
    const std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
    FrameDecoder decoder(kLimit);
    std::size_t accounted = 0;
    for (std::size_t at = 0; at < stream.size(); at += step) {
        decoder.Feed(stream.substr(at, step));
        while (auto frame = decoder.Next()) {
            if (frame->kind == Frame::Kind::TooLarge) {
                if (frame->declared <= kLimit || !frame->text.empty()) Finding("bad skip");
                accounted += 4 + std::size_t(frame->declared);
                continue;
            }
            const auto encoded = EncodeFrame(frame->text, kLimit);
            if (!encoded || stream.substr(accounted, encoded->size()) != *encoded)
                Finding("a frame differs from the bytes it took");
            accounted += encoded->size();
            const RequestProblem problem = CheckRequest(frame->text);
            if (problem == RequestProblem::None) {
                if (!ActionOf(frame->text)) Finding("a request without an action passed");
                continue;
            }
            const std::string action = ActionOf(frame->text).value_or("");
            const std::string answer = ErrorAnswer(problem, action);
            const RequestProblem again = CheckRequest(answer);
            if (again != RequestProblem::None &&
                !(action.empty() && again == RequestProblem::NoAction))
                Finding("an error answer is not a request-shaped JSON object");
        }
    }
    // The frames end where the stream does, or the stream stopped inside one.
    if (!decoder.InsideFrame() && accounted != stream.size()) Finding("bytes left unaccounted");
    return 0;
}
