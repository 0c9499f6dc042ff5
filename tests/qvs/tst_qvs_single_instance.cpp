// Real copies of the program: a second copy hands its file to the first and
// ends, a second copy without arguments only brings the first forward, and a
// first copy killed outright does not keep the next one from starting. A
// file named relative to each copy's own folder is found by the first.
//
// Every copy runs offscreen with one private home, configuration and runtime
// folder, and reports to a log file named in QVS_TEST_EVENT_LOG: one line
// "<event> <open data file>" per start ("ready") and hand-over ("handed",
// "activated").
#include "store/pw.h"
#include "tests/test_program.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

constexpr int kStartMs = 20000;
// The second copy gives up on the first after 5 s; it must not need them.
constexpr int kSecondCopyMs = 4000;

QString WriteDataFile(const QString& path) {
    ardeko::clsPW store;
    store.NewFile();
    store.CatAdd("Banks");
    if (!store.SaveFile(path.toStdString(), false, false)) qFatal("cannot write a data file");
    return path;
}

} // namespace

class TestQvsSingleInstance : public QObject {
    Q_OBJECT

    QTemporaryDir root_;
    QString log_;
    QString fileA_;
    QString fileB_;
    std::unique_ptr<QProcess> first_;

    QString Folder(const QString& name) {
        QDir(root_.path()).mkpath(name);
        return root_.filePath(name);
    }

    // The runtime folder must be the user's alone, or Qt will not use it.
    QString RuntimeFolder() {
        const QString folder = Folder("runtime");
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return folder;
    }

    QProcessEnvironment Environment() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", Folder("home"));
        env.insert("XDG_CONFIG_HOME", Folder("config"));
        env.insert("XDG_DATA_HOME", Folder("data"));
        env.insert("XDG_RUNTIME_DIR", RuntimeFolder());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QVS_TEST_EVENT_LOG", log_);
        return env;
    }

    // Started in folder when one is given, else in the test's own.
    std::unique_ptr<QProcess> Start(const QStringList& arguments, const QString& folder = {}) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(Environment());
        if (!folder.isEmpty()) process->setWorkingDirectory(folder);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(TestProgram("QVS_BINARY"), arguments);
        if (!process->waitForStarted(kStartMs)) qFatal("the program did not start");
        return process;
    }

    QStringList LogLines() {
        QFile file(log_);
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    // Waits until the log holds line count times, and fails otherwise.
    bool WaitForLine(const QString& line, int count = 1) {
        QDeadlineTimer deadline(kStartMs);
        while (!deadline.hasExpired()) {
            if (LogLines().count(line) >= count) return true;
            QTest::qWait(50);
        }
        qWarning() << "log so far:" << LogLines();
        return false;
    }

    // A second copy: it must end by itself, quickly and without error.
    void RunSecondCopy(const QStringList& arguments, const QString& folder = {}) {
        QElapsedTimer timer;
        timer.start();
        const std::unique_ptr<QProcess> second = Start(arguments, folder);
        QVERIFY(second->waitForFinished(kSecondCopyMs));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(timer.elapsed() < kSecondCopyMs);
    }

    void Kill(std::unique_ptr<QProcess>& process) {
        if (!process) return;
        process->kill(); // SIGKILL: nothing is cleaned up
        process->waitForFinished(kStartMs);
        process.reset();
    }

private slots:
    void initTestCase() {
        QVERIFY(root_.isValid());
        log_ = root_.filePath("events.log");
        fileA_ = WriteDataFile(root_.filePath("A.QVS"));
        QVERIFY(QDir(root_.path()).mkpath("My Files"));
        fileB_ = WriteDataFile(root_.filePath("My Files/B file.QVS"));
        // No windows that wait for the user at start.
        QSettings settings(Folder("config") + "/Tarnwick/QVS.conf", QSettings::IniFormat);
        for (const char* key : {"ViewSplash", "ViewTips", "ViewWizard", "AutoCheck"})
            settings.setValue(key, false);
        settings.sync();
        QCOMPARE(settings.status(), QSettings::NoError);
    }
    void cleanupTestCase() { Kill(first_); }

    void secondCopyHandsItsFileToTheFirst() {
        first_ = Start({fileA_});
        QVERIFY(WaitForLine("ready " + fileA_));
        // A path with blanks arrives as one argument.
        RunSecondCopy({fileB_});
        QVERIFY(WaitForLine("handed " + fileB_));
        QCOMPARE(first_->state(), QProcess::Running);
    }

    void secondCopyWithoutArgumentsOnlyActivates() {
        QVERIFY(first_);
        RunSecondCopy({});
        // The first copy still has the file it had.
        QVERIFY(WaitForLine("activated " + fileB_));
    }

    void aKilledFirstCopyDoesNotBlockTheNextStart() {
        Kill(first_);
        QVERIFY(QFileInfo::exists(RuntimeFolder() + "/_APPLICATION_MUTEXTarnwickQuorvane.lock"));
        first_ = Start({fileA_});
        QVERIFY(WaitForLine("ready " + fileA_, 2));
        // And it listens in place of the dead one.
        RunSecondCopy({fileB_});
        QVERIFY(WaitForLine("handed " + fileB_, 2));
    }

    // Names relative to the folder each copy was started in reach the right
    // file, and the open file is known by its absolute name.
    void relativeNamesResolveInTheirOwnFolder() {
        Kill(first_);
        first_ = Start({"A.QVS"}, root_.path());
        QVERIFY(WaitForLine("ready " + fileA_, 3));
        RunSecondCopy({"B file.QVS"}, root_.filePath("My Files"));
        QVERIFY(WaitForLine("handed " + fileB_, 3));
    }
};

QTEST_GUILESS_MAIN(TestQvsSingleInstance)
#include "tst_qvs_single_instance.moc"
