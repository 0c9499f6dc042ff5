// qvs-proxy as the browser starts it, talking to QVS's socket server with
// a stand-in for the protocol: frames pass whole both ways, each browser
// gets its own answers, signals reach every browser, an answer for a
// browser that left goes nowhere, and whatever the browser sends that is
// no request, or a QVS that is not there or goes away before it answers,
// gets an error answer.
#include "app/single_instance.h"
#include "browser/browser_server.h"
#include "proxy/runtime_socket.h"
#include "tests/browser/proxy_browser.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qvs;
using namespace qvs::browser;
using qvs::testing::Browser;

namespace {

QJsonObject Object(const QByteArray& json) {
    return QJsonDocument::fromJson(json).object();
}

QByteArray Json(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// Answers {"action": A, "from": connection, "size": bytes}, at once or, for
// "later", when the test says; "shout" makes it signal every browser.
class FakeRequests : public Requests {
public:
    void Handle(ConnectionId connection, const QByteArray& json, Answer answer) override {
        const QJsonObject request = Object(json);
        seen.append(connection);
        const QString action = request.value(QStringLiteral("action")).toString();
        QJsonObject reply{{QStringLiteral("action"), action},
                          {QStringLiteral("from"), qint64(connection)},
                          {QStringLiteral("size"), qint64(json.size())}};
        if (request.contains(QStringLiteral("echo")))
            reply.insert(QStringLiteral("echo"), request.value(QStringLiteral("echo")));
        if (action == QLatin1String("later")) {
            held = [answer, reply] { answer(Json(reply)); };
            return;
        }
        if (action == QLatin1String("shout") && broadcast)
            broadcast->ToAll(Json({{QStringLiteral("action"), QStringLiteral("database-locked")}}));
        answer(Json(reply));
    }
    void Closed(ConnectionId connection) override { closed.append(connection); }

    QList<ConnectionId> seen;
    QList<ConnectionId> closed;
    std::function<void()> held;
    Broadcast* broadcast = nullptr;
};

QJsonObject Ask(Browser& browser, const QString& action) {
    browser.Send(QJsonObject{{QStringLiteral("action"), action}});
    return browser.Next();
}

bool WaitFor(const std::function<bool()>& condition) {
    QDeadlineTimer deadline(5000);
    while (!condition() && !deadline.hasExpired())
        QTest::qWait(10);
    return condition();
}

} // namespace

class TestBrowserServer : public QObject {
    Q_OBJECT

private slots:
    // QVS and qvs-proxy meet in the folder of the single-instance socket,
    // however private the runtime and temp folders turn out to be.
    void socketPathSameAsQvs() {
        QTemporaryDir scratch;
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        const QByteArray temp = qgetenv("TMPDIR");
        const auto folders = [] {
            return std::pair(
                QFileInfo(QFile::decodeName(proxy::BrowserSocketPath().c_str())).path(),
                QFileInfo(InstanceLockPath()).path());
        };
        auto [ours, theirs] = folders();
        QCOMPARE(ours, QString::fromLocal8Bit(runtime));
        QCOMPARE(ours, theirs);
        // A runtime folder others can read: both fall back to the temp folder.
        const QString open = scratch.filePath(QStringLiteral("open"));
        QDir().mkpath(open);
        ::chmod(QFile::encodeName(open).constData(), 0755);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open));
        qputenv("TMPDIR", QFile::encodeName(scratch.path() + u'/'));
        std::tie(ours, theirs) = folders();
        QVERIFY(ours.startsWith(scratch.path() + QStringLiteral("/quorvane-")));
        QCOMPARE(ours, theirs);
        // Their folder in the temp folder is not private: the cache folder.
        ::chmod(QFile::encodeName(ours).constData(), 0755);
        std::tie(ours, theirs) = folders();
        QVERIFY(ours.endsWith(QStringLiteral("/.cache/quorvane-run")));
        QCOMPARE(ours, theirs);
        qputenv("XDG_RUNTIME_DIR", runtime);
        if (temp.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", temp);
    }

    // Messages of any size within the limit pass both ways whole; each
    // browser gets its own answers; a signal reaches every one.
    void severalBrowsers() {
        FakeRequests requests;
        BrowserServer server(requests);
        requests.broadcast = &server;
        QVERIFY(server.Listen());
        Browser a, b, c;
        const QString big(300000, u'x');
        a.Send(QJsonObject{{QStringLiteral("action"), QStringLiteral("get-logins")},
                           {QStringLiteral("echo"), big}});
        const QJsonObject answer = a.Next();
        QCOMPARE(answer.value(QStringLiteral("echo")).toString(), big);
        const qint64 fromA = answer.value(QStringLiteral("from")).toInteger();
        const qint64 fromB =
            Ask(b, QStringLiteral("associate")).value(QStringLiteral("from")).toInteger();
        const qint64 fromC =
            Ask(c, QStringLiteral("associate")).value(QStringLiteral("from")).toInteger();
        QVERIFY(fromA != fromB && fromB != fromC && fromA != fromC);
        QCOMPARE(server.Connections(), 3);

        // The signal comes before b's own answer, as it was sent first.
        QCOMPARE(Ask(b, QStringLiteral("shout")).value(QStringLiteral("action")).toString(),
                 QStringLiteral("database-locked"));
        QCOMPARE(b.Next().value(QStringLiteral("action")).toString(), QStringLiteral("shout"));
        for (Browser* other : {&a, &c})
            QCOMPARE(other->Next().value(QStringLiteral("action")).toString(),
                     QStringLiteral("database-locked"));

        // A browser that closes ends its proxy and its connection.
        c.CloseInput();
        QVERIFY(c.Ends());
        QVERIFY(WaitFor([&] { return requests.closed.contains(ConnectionId(fromC)); }));
        QCOMPARE(server.Connections(), 2);
    }

    // An answer that comes after its browser left is dropped; the others
    // carry on.
    void answerAfterClose() {
        FakeRequests requests;
        BrowserServer server(requests);
        QVERIFY(server.Listen());
        Browser a, b;
        QVERIFY(!Ask(a, QStringLiteral("test-associate")).isEmpty());
        a.Send(QJsonObject{{QStringLiteral("action"), QStringLiteral("later")}});
        QVERIFY(WaitFor([&] { return bool(requests.held); }));
        a.Kill();
        QVERIFY(WaitFor([&] { return requests.closed.size() == 1; }));
        requests.held();
        QCOMPARE(
            Ask(b, QStringLiteral("get-databasehash")).value(QStringLiteral("action")).toString(),
            QStringLiteral("get-databasehash"));
    }

    // What is no request never reaches QVS; the proxy answers it and goes
    // on with the next message.
    void malformedInput() {
        FakeRequests requests;
        BrowserServer server(requests);
        QVERIFY(server.Listen());
        Browser a;
        a.Send(QByteArray("{not json"));
        QCOMPARE(a.Next().value(QStringLiteral("errorCode")).toString(), QStringLiteral("12"));
        a.Send(QByteArray("[1,2]"));
        QCOMPARE(a.Next().value(QStringLiteral("errorCode")).toString(), QStringLiteral("12"));
        a.Send(QByteArray(R"({"nonce":"x"})"));
        QCOMPARE(a.Next().value(QStringLiteral("errorCode")).toString(), QStringLiteral("12"));
        a.Send(QByteArray());
        QCOMPARE(a.Next().value(QStringLiteral("errorCode")).toString(), QStringLiteral("13"));
        // Over the limit: answered, its bytes passed over, the next one read.
        const std::uint32_t tooLong = proxy::kMaxMessageBytes + 1;
        a.SendRaw(QByteArray(reinterpret_cast<const char*>(&tooLong), 4) +
                  QByteArray(int(tooLong), '{'));
        QCOMPARE(a.Next().value(QStringLiteral("errorCode")).toString(), QStringLiteral("12"));
        QCOMPARE(Ask(a, QStringLiteral("get-totp")).value(QStringLiteral("action")).toString(),
                 QStringLiteral("get-totp"));
        QCOMPARE(requests.seen.size(), 1);
        // A stream cut inside a length ends the proxy, without a hang.
        a.SendRaw(QByteArray("\x10\x00", 2));
        a.CloseInput();
        QVERIFY(a.Ends());
    }

    // No QVS: the extension's "not connected" for every request, and a
    // QVS started later is found at the next message; one that ends has
    // its last signal delivered first.
    void qvsNotRunning() {
        Browser a;
        const QJsonObject answer = Ask(a, QStringLiteral("change-public-keys"));
        QCOMPARE(answer.value(QStringLiteral("action")).toString(),
                 QStringLiteral("change-public-keys"));
        // A number: the extension compares it strictly.
        QVERIFY(a.raw.contains("\"errorCode\":5"));
        FakeRequests requests;
        BrowserServer server(requests);
        QVERIFY(server.Listen());
        QVERIFY(Ask(a, QStringLiteral("change-public-keys")).contains(QStringLiteral("from")));
        // QVS ends: what it said last still arrives, then not connected
        // again, and the proxy still runs.
        server.ToAll(Json({{QStringLiteral("action"), QStringLiteral("database-locked")}}));
        server.Close();
        QCOMPARE(a.Next().value(QStringLiteral("action")).toString(),
                 QStringLiteral("database-locked"));
        QCOMPARE(
            Ask(a, QStringLiteral("get-databasehash")).value(QStringLiteral("errorCode")).toInt(),
            5);
    }

    // QVS goes away while requests wait for their answers: each gets "not
    // running" with its own action, one already answered or a signal in
    // between changes nothing, and the next request reaches a QVS started
    // again.
    void qvsGoneWhileAsked() {
        auto requests = std::make_unique<FakeRequests>();
        auto server = std::make_unique<BrowserServer>(*requests);
        requests->broadcast = server.get();
        QVERIFY(server->Listen());
        Browser a;
        a.Send(QJsonObject{{QStringLiteral("action"), QStringLiteral("later")}});
        QVERIFY(WaitFor([&] { return bool(requests->held); }));
        QCOMPARE(Ask(a, QStringLiteral("get-logins")).value(QStringLiteral("from")).toInt(), 1);
        a.Send(QJsonObject{{QStringLiteral("action"), QStringLiteral("shout")}});
        QCOMPARE(a.Next().value(QStringLiteral("action")).toString(),
                 QStringLiteral("database-locked"));
        QCOMPARE(a.Next().value(QStringLiteral("action")).toString(), QStringLiteral("shout"));
        a.Send(QJsonObject{{QStringLiteral("action"), QStringLiteral("later")}});
        QVERIFY(WaitFor([&] { return requests->seen.size() == 4; }));
        server.reset(); // as QVS ends, or crashes: its sockets close
        requests.reset();
        for (int i = 0; i < 2; ++i) {
            const QJsonObject answer = a.Next();
            QCOMPARE(answer.value(QStringLiteral("action")).toString(), QStringLiteral("later"));
            QVERIFY2(a.raw.contains("\"errorCode\":5"), a.raw.constData());
        }
        QVERIFY(a.Next(300).isEmpty());

        FakeRequests again;
        BrowserServer restarted(again);
        QVERIFY(restarted.Listen());
        QCOMPARE(Ask(a, QStringLiteral("change-public-keys")).value(QStringLiteral("from")).toInt(),
                 1);
        QCOMPARE(again.seen.size(), 1);
    }

    // A QVS that takes the request and closes without a word (as one that
    // crashes while handling it): the browser still gets its answer.
    void qvsClosesOnRequest() {
        const QString path = QFile::decodeName(proxy::BrowserSocketPath().c_str());
        QLocalServer listener;
        QLocalServer::removeServer(path);
        QVERIFY(listener.listen(path));
        QObject::connect(&listener, &QLocalServer::newConnection, [&listener] {
            QLocalSocket* socket = listener.nextPendingConnection();
            socket->waitForReadyRead(5000);
            socket->abort();
            socket->deleteLater();
        });
        Browser a;
        const QJsonObject answer = Ask(a, QStringLiteral("associate"));
        QCOMPARE(answer.value(QStringLiteral("action")).toString(), QStringLiteral("associate"));
        QCOMPARE(answer.value(QStringLiteral("errorCode")).toInt(), 5);
        QVERIFY(a.Next(300).isEmpty());
        listener.close();
        a.CloseInput();
        QVERIFY(a.Ends());
    }

    // A socket in our folder whose listener runs as another user is not
    // QVS: the proxy says QVS is not running and sends it nothing.
    void anotherUsersListenerRefused() {
        if (::getuid() != 0) {
            qInfo("not root: no other user to listen as");
            return;
        }
        // Both sockets in the temp folder, so that one can be moved to the other.
        QTemporaryDir scratch, runtime;
        ::chmod(QFile::encodeName(scratch.path()).constData(), 0777);
        const QByteArray ownRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        const std::string planted = scratch.filePath(QStringLiteral("s")).toStdString();
        int ready[2];
        QVERIFY(::pipe(ready) == 0);
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(1);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strcpy(address.sun_path, planted.c_str());
            if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
                ::listen(fd, 4) != 0)
                ::_exit(1);
            (void)!::write(ready[1], "r", 1);
            while (true)
                ::pause();
        }
        char byte = 0;
        QCOMPARE(::read(ready[0], &byte, 1), ssize_t(1));
        const std::string ours = proxy::BrowserSocketPath();
        QVERIFY(::rename(planted.c_str(), ours.c_str()) == 0);
        QCOMPARE(proxy::ConnectToQvs(ours), -1);
        Browser a;
        QCOMPARE(Ask(a, QStringLiteral("associate")).value(QStringLiteral("errorCode")).toInt(), 5);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::unlink(ours.c_str());
        qputenv("XDG_RUNTIME_DIR", ownRuntime);
    }
};

QTEST_GUILESS_MAIN(TestBrowserServer)
#include "tst_browser_server.moc"
