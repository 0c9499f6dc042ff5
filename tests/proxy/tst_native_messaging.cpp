// The browsers' framing as the host reads and writes it: messages split
// anyhow across reads, lengths that lie (too large, zero, cut off), text
// that is not a request, and a real pipe, where a stream that ends or
// breaks must end the reading rather than hang it.
#include "proxy/native_messaging.h"

#include <QtTest>

#include <csignal>
#include <thread>
#include <unistd.h>

using namespace qvs::proxy;

namespace {

std::string Framed(std::string_view json) {
    return *EncodeFrame(json);
}

std::string Length(std::uint32_t n) {
    return std::string(reinterpret_cast<const char*>(&n), 4);
}

// Every frame the decoder gives for stream, fed in pieces of size step.
std::vector<Frame> Decode(const std::string& stream, std::size_t step,
                          std::uint32_t limit = kMaxMessageBytes) {
    FrameDecoder d(limit);
    std::vector<Frame> frames;
    for (std::size_t at = 0; at < stream.size(); at += step) {
        d.Feed(std::string_view(stream).substr(at, step));
        while (auto f = d.Next())
            frames.push_back(std::move(*f));
    }
    return frames;
}

} // namespace

class TestNativeMessaging : public QObject {
    Q_OBJECT

private slots:
    // The same frames however the stream is cut into reads.
    void framesWhateverTheReads() {
        const std::string big = "{\"action\":\"b\",\"s\":\"" + std::string(70000, 'x') + "\"}";
        const std::string stream =
            Framed(R"({"action":"a"})") + Framed("") + Framed(big) + Framed(R"({"action":"c"})");
        for (const std::size_t step : {std::size_t(1), std::size_t(3), std::size_t(4),
                                       std::size_t(5), std::size_t(4096), stream.size()}) {
            const auto frames = Decode(stream, step);
            QCOMPARE(frames.size(), std::size_t(4));
            QCOMPARE(frames[0].text, std::string(R"({"action":"a"})"));
            QVERIFY(frames[1].kind == Frame::Kind::Message && frames[1].text.empty());
            QVERIFY(frames[2].text == big);
            QCOMPARE(frames[3].text, std::string(R"({"action":"c"})"));
        }
    }

    // A length above the limit is reported once and its bytes passed over
    // unread: the next message is still found where it starts.
    void tooLargePassedOver() {
        const std::string stream =
            Length(101) + std::string(101, '{') + Framed(R"({"action":"after"})");
        for (const std::size_t step : {std::size_t(1), std::size_t(7), stream.size()}) {
            const auto frames = Decode(stream, step, 100);
            QCOMPARE(frames.size(), std::size_t(2));
            QVERIFY(frames[0].kind == Frame::Kind::TooLarge);
            QCOMPARE(frames[0].declared, 101u);
            QVERIFY(frames[0].text.empty());
            QCOMPARE(frames[1].text, std::string(R"({"action":"after"})"));
        }
        // A length of 4 GiB costs nothing: nothing is held for it.
        FrameDecoder d;
        d.Feed(Length(0xFFFFFFFFu) + std::string(1000, 'z'));
        const auto f = d.Next();
        QVERIFY(f && f->kind == Frame::Kind::TooLarge);
        QVERIFY(!d.Next());
        QVERIFY(d.InsideFrame());
        QVERIFY(!EncodeFrame(std::string(kMaxMessageBytes + 1, ' ')));
        QVERIFY(EncodeFrame(std::string(kMaxMessageBytes, ' ')));
    }

    void cutStreamsAreInsideAFrame() {
        FrameDecoder d;
        QVERIFY(!d.InsideFrame());
        d.Feed(std::string("\x05\x00", 2));
        QVERIFY(!d.Next());
        QVERIFY(d.InsideFrame()); // cut within the length
        d.Feed(std::string("\x00\x00"
                           "abc",
                           5));
        QVERIFY(!d.Next());
        QVERIFY(d.InsideFrame()); // cut within the message
        d.Feed("de");
        QCOMPARE(d.Next()->text, std::string("abcde"));
        QVERIFY(!d.InsideFrame());
    }

    void requestsChecked_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("problem");
        const auto row = [](const char* name, QByteArray json, RequestProblem p) {
            QTest::newRow(name) << json << int(p);
        };
        row("request", R"({"action":"get-logins","nonce":"x"})", RequestProblem::None);
        row("empty", "", RequestProblem::Empty);
        row("not JSON", "action=get-logins", RequestProblem::NotJson);
        row("cut JSON", R"({"action":"get-logins")", RequestProblem::NotJson);
        row("trailing bytes", R"({"action":"a"} {})", RequestProblem::NotJson);
        row("array", R"(["action"])", RequestProblem::NotJson);
        row("string", R"("action")", RequestProblem::NotJson);
        row("bad UTF-8", QByteArray("{\"action\":\"a\xff\"}"), RequestProblem::NotJson);
        row("no action", R"({"nonce":"x"})", RequestProblem::NoAction);
        row("action not text", R"({"action":12})", RequestProblem::NoAction);
        row("empty action", R"({"action":""})", RequestProblem::NoAction);
        row("deep nesting", QByteArray(100000, '['), RequestProblem::NotJson);
    }
    void requestsChecked() {
        QFETCH(QByteArray, json);
        QFETCH(int, problem);
        QCOMPARE(int(CheckRequest(json.toStdString())), problem);
    }

    // Error answers are JSON the extension pairs by action, whatever the
    // action held.
    void errorAnswers() {
        const std::string a = ErrorAnswer(RequestProblem::Empty, "get-logins");
        QCOMPARE(a, std::string(R"({"action":"get-logins","error":"Empty message received",)"
                                R"("errorCode":"13"})"));
        QCOMPARE(ActionOf(a), std::optional<std::string>("get-logins"));
        const std::string odd = ErrorAnswer(RequestProblem::NotJson, "a\"b\xff");
        QCOMPARE(CheckRequest(odd), RequestProblem::None);
        QCOMPARE(ActionOf(ErrorAnswer(RequestProblem::TooLarge, "")),
                 std::optional<std::string>(""));
    }

    // Through a pipe: frames read back as written, the end of the stream
    // ends the reading, and a stream cut within a frame says so.
    void overAPipe() {
        int fds[2];
        QCOMPARE(::pipe(fds), 0);
        const std::string big(kMaxMessageBytes, 'b'); // more than a pipe holds at once
        std::thread writer([&] {
            WriteFrame(fds[1], R"({"action":"one"})");
            WriteFrame(fds[1], big);
            if (::write(fds[1], "\x07\x00", 2) != 2) qWarning("short write");
            ::close(fds[1]);
        });
        FrameDecoder d;
        bool cut = false;
        QCOMPARE(ReadFrame(fds[0], d, cut)->text, std::string(R"({"action":"one"})"));
        QCOMPARE(ReadFrame(fds[0], d, cut)->text.size(), big.size());
        QVERIFY(!ReadFrame(fds[0], d, cut));
        QVERIFY(cut);
        writer.join();
        ::close(fds[0]);

        QCOMPARE(::pipe(fds), 0);
        ::close(fds[0]);
        ::signal(SIGPIPE, SIG_IGN);
        QVERIFY(!WriteFrame(fds[1], "{}")); // the browser went away
        ::close(fds[1]);
    }
};

QTEST_GUILESS_MAIN(TestNativeMessaging)
#include "tst_native_messaging.moc"
