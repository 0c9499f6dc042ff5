// The single-instance lock and hand-over inside one process: each test uses
// an instance name of its own in the test's private runtime folder.
#include "app/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QtTest>

using qvs::SingleInstance;

namespace {

QByteArray Received(const QSignalSpy& spy, int at = 0) {
    return spy.at(at).at(0).toByteArray();
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
        QTest::qWait(300);
        QCOMPARE(spy.count(), 0);
        // The first copy still listens afterwards.
        QVERIFY(second.HandOver(QStringLiteral("b.QVS")));
        QVERIFY(spy.wait(5000));
        QCOMPARE(Received(spy), QByteArray("b.QVS"));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
