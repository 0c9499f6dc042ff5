// The single-instance lock and hand-over inside one process: each test uses
// an instance name of its own in the test's private runtime folder.
#include "app/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QtTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using qvs::SingleInstance;

namespace {

QByteArray Received(const QSignalSpy& spy, int at = 0) {
    return spy.at(at).at(0).toByteArray();
}

constexpr uid_t kOtherUser = 65534;

struct stat StatOf(const QString& path) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

// Sets an environment variable for one scope ("" unsets it).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : name_(name), saved_(qgetenv(name)) {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv() { qputenv(name_, saved_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    QByteArray saved_;
};

// Another user's process listening on path for up to two seconds; its exit
// code is the number of bytes it was sent (bound as root, listening as the
// other user: the peer's credentials are those of listen()).
pid_t ListenAsOtherUser(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const pid_t child = ::fork();
    if (child != 0) return child;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    ::unlink(name.constData());
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(name.constData(), 0777) != 0 || ::setresgid(kOtherUser, kOtherUser, kOtherUser) ||
        ::setresuid(kOtherUser, kOtherUser, kOtherUser) || ::listen(fd, 4) != 0)
        ::_exit(100);
    ::alarm(2);
    int total = 0;
    for (;;) {
        const int peer = ::accept(fd, nullptr, nullptr);
        char buffer[256];
        for (ssize_t got; peer >= 0 && (got = ::read(peer, buffer, sizeof buffer)) > 0;)
            total += int(got);
        if (peer >= 0) ::close(peer);
        if (total > 0) ::_exit(total > 99 ? 99 : total);
    }
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    // Two runtime folders (two users, or a test and the real program) never
    // share a lock or a socket, however long the folder's path.
    void namesFollowTheRuntimeFolder() {
        const QString lock = qvs::InstanceLockPath();
        const QString server = qvs::InstanceServerName();
        QVERIFY(lock.startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR") + '/'));
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        for (const QString& name : {QStringLiteral("r"), QString(120, QLatin1Char('r'))}) {
            QTemporaryDir other;
            QVERIFY(QDir(other.path()).mkdir(name));
            const QString folder = other.filePath(name);
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", folder.toUtf8());
            QVERIFY(qvs::InstanceLockPath().startsWith(folder + '/'));
            QVERIFY(qvs::InstanceServerName() != server);
            QVERIFY(qvs::InstanceServerName().size() < 108);
        }
        qputenv("XDG_RUNTIME_DIR", saved);
    }

    // Without a runtime folder, or with one others can reach, the lock and
    // the socket go to a 0700 folder of the user's own, never to a folder
    // another user prepared.
    void withoutAPrivateRuntimeFolderAPrivateOneIsMade() {
        QTemporaryDir temp;
        ScopedEnv tmpdir("TMPDIR", temp.path().toUtf8());
        QTemporaryDir shared;
        QFile::setPermissions(shared.path(), QFileDevice::Permissions(0x7777));
        for (const QByteArray& runtime : {QByteArray(), shared.path().toUtf8()}) {
            ScopedEnv env("XDG_RUNTIME_DIR", runtime);
            const QString folder = QFileInfo(qvs::InstanceLockPath()).path();
            QCOMPARE(folder, temp.filePath(QStringLiteral("quorvane-%1").arg(::getuid())));
            QCOMPARE(int(StatOf(folder).st_mode & 0777), 0700);
            QCOMPARE(QFileInfo(qvs::InstanceServerName()).path(), folder);
        }
        if (::getuid() != 0) QSKIP("only root can give a folder to another user");
        // Someone else made that folder first: the user's cache holds ours.
        ScopedEnv env("XDG_RUNTIME_DIR", QByteArray());
        const QString planted = temp.filePath(QStringLiteral("quorvane-%1").arg(::getuid()));
        QVERIFY(::chown(QFile::encodeName(planted).constData(), kOtherUser, kOtherUser) == 0);
        const QString folder = QFileInfo(qvs::InstanceLockPath()).path();
        QVERIFY(folder.startsWith(QDir::homePath() + '/'));
        QCOMPARE(StatOf(folder).st_uid, ::getuid());
        QCOMPARE(int(StatOf(folder).st_mode & 0777), 0700);
    }

    // A lock file or a listening copy of another user gets no file name.
    void nothingGoesToAnotherUser() {
        if (::getuid() != 0) QSKIP("only root can act as another user");
        const QString instance = QStringLiteral("Foreign");
        const QString lock = qvs::InstanceLockPath(instance);
        QFile file(lock);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(::chown(QFile::encodeName(lock).constData(), kOtherUser, kOtherUser) == 0);
        SingleInstance second(instance);
        QVERIFY(!second.HandOver(QStringLiteral("secret.QVS"), 500));
        // Our own lock, but another user's process on the socket.
        QVERIFY(::chown(QFile::encodeName(lock).constData(), ::getuid(), ::getgid()) == 0);
        const pid_t listener = ListenAsOtherUser(qvs::InstanceServerName(instance));
        // The listener is another user's: connecting to see it listen would
        // be the hand-over under test. A moment for it to start.
        QTest::qWait(200);
        QVERIFY(!second.HandOver(QStringLiteral("secret.QVS"), 1000));
        int status = 0;
        ::waitpid(listener, &status, 0);
        QVERIFY(WIFSIGNALED(status)); // its time ran out: it was sent nothing
    }

    void secondCopyHandsItsCommandLineToTheFirst() {
        SingleInstance first(QStringLiteral("HandOver"));
        QVERIFY(first.Claim());
        QVERIFY(first.IsListening());
        QSignalSpy spy(&first, &SingleInstance::CommandLineReceived);

        SingleInstance second(QStringLiteral("HandOver"));
        QVERIFY(!second.Claim());
        QVERIFY(second.HandOver(QStringLiteral("/home/u/Mes fichiers/été.QVS")));
        QVERIFY(spy.wait(5000));
        QCOMPARE(QString::fromUtf8(Received(spy)), QStringLiteral("/home/u/Mes fichiers/été.QVS"));

        // No arguments: a connection that carries no bytes at all.
        QVERIFY(second.HandOver(QString()));
        QTRY_COMPARE(spy.count(), 2);
        QVERIFY(Received(spy, 1).isEmpty());
    }

    void nobodyToHandOverToFailsInTime() {
        SingleInstance lonely(QStringLiteral("Nobody"));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!lonely.HandOver(QStringLiteral("a.QVS"), 300));
        QVERIFY(timer.elapsed() < 3000);
    }

    void theLockEndsWithTheFirstCopy() {
        {
            SingleInstance first(QStringLiteral("Ends"));
            QVERIFY(first.Claim());
        }
        SingleInstance next(QStringLiteral("Ends"));
        QVERIFY(next.Claim());
        QVERIFY(next.IsListening());
    }

    // A copy that crashed leaves its socket behind; the next first copy
    // must listen all the same.
    void aSocketLeftBehindIsReplaced() {
        const QString name = qvs::InstanceServerName(QStringLiteral("Left"));
        QFile left(name);
        QVERIFY(left.open(QIODevice::WriteOnly));
        left.close();
        SingleInstance first(QStringLiteral("Left"));
        QVERIFY(first.Claim());
        QVERIFY(first.IsListening());
    }

    void anOversizedHandOverIsDropped() {
        SingleInstance first(QStringLiteral("Big"));
        QVERIFY(first.Claim());
        QSignalSpy spy(&first, &SingleInstance::CommandLineReceived);
        SingleInstance second(QStringLiteral("Big"));
        second.HandOver(QString(100 * 1024, QLatin1Char('a')));
        QTest::qWait(300); // nothing to wait for: a hand-over that must not come
        QCOMPARE(spy.count(), 0);
        // The first copy still listens afterwards.
        QVERIFY(second.HandOver(QStringLiteral("b.QVS")));
        QVERIFY(spy.wait(5000));
        QCOMPARE(Received(spy), QByteArray("b.QVS"));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
