// The real QVSLite on a headless desktop with a tray: it follows a save of
// QVS (a whole new file renamed over the old one) within the check time, a
// second copy hands its file to the first and ends, one without a file only
// wakes the first, and a password changed in QVS is reported once.
//
// The program reports to the file named in QVS_TEST_EVENT_LOG: "ready" and
// "handed <file>", "menu <service names>" whenever the menu was rebuilt from
// the file, "unreadable <file>" when it was reported. Skipped, with the
// reason, where no desktop can be started.
#include "store/pw.h"
#include "tests/autotype/x_desktop.h"
#include "tests/qvslite/lite_fixture.h"
#include "tests/test_program.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace lite_test;

namespace {

constexpr int kStartMs = 20000;
// A save must show within the 3-second check, with time for the read.
constexpr int kFollowMs = 5000;
constexpr int kSecondCopyMs = 4000;

} // namespace

class TestQvsLiteProgram : public QObject {
    Q_OBJECT

    std::unique_ptr<XDesktop> desktop_;
    QTemporaryDir root_;
    QString log_;
    QString fileA_;
    QString fileB_;
    std::unique_ptr<QProcess> first_;

    QString Folder(const QString& name) {
        QDir(root_.path()).mkpath(name);
        return root_.filePath(name);
    }

    std::unique_ptr<QProcess> Start(const QStringList& arguments) {
        auto env = desktop_->Environment();
        env.insert("HOME", Folder("home"));
        env.insert("XDG_CONFIG_HOME", Folder("config"));
        env.insert("XDG_DATA_HOME", Folder("data"));
        const QString runtime = Folder("runtime");
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert("XDG_RUNTIME_DIR", runtime);
        env.insert("QVS_TEST_EVENT_LOG", log_);
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(TestProgram("QVSLITE_BINARY"), arguments);
        if (!process->waitForStarted(kStartMs)) qFatal("the program did not start");
        return process;
    }

    QStringList LogLines() {
        QFile file(log_);
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    bool WaitForLine(const QString& line, int timeoutMs = kStartMs) {
        QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            if (LogLines().contains(line)) return true;
            QTest::qWait(50);
        }
        qWarning() << "log so far:" << LogLines();
        return false;
    }

    void RunSecondCopy(const QStringList& arguments) {
        const std::unique_ptr<QProcess> second = Start(arguments);
        QVERIFY(second->waitForFinished(kSecondCopyMs));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
    }

private slots:
    void initTestCase() {
        desktop_ = std::make_unique<XDesktop>();
        if (!desktop_->SkipReason().isEmpty()) QSKIP(qPrintable(desktop_->SkipReason()));
        QVERIFY(root_.isValid());
        log_ = root_.filePath("events.log");
        fileA_ = root_.filePath("A.QVS");
        WriteFile(fileA_, {"Alpha"});
        fileB_ = Folder("My Files") + "/B file.QVS";
        WriteFile(fileB_, {"Gamma"});
        QFile settings(Folder("config") + "/Tarnwick/QVSLite.conf");
        QDir().mkpath(QFileInfo(settings).absolutePath());
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[General]\nLanguage=ENG\nSysTrayShow=1\n");
    }
    void cleanupTestCase() {
        if (first_) {
            first_->kill();
            first_->waitForFinished(kStartMs);
        }
        desktop_.reset();
    }

    void followsASaveOfQvs() {
        first_ = Start({fileA_});
        QVERIFY(WaitForLine("ready " + fileA_));
        QVERIFY(WaitForLine("menu Alpha"));
        SaveAsQvs(fileA_, [](ardeko::clsPW& s) { s.PWAdd(Entry("Beta")); });
        QVERIFY(WaitForLine("menu Alpha,Beta", kFollowMs));
    }

    void aSecondCopyHandsOverItsFile() {
        QVERIFY(first_);
        RunSecondCopy({fileB_});
        QVERIFY(WaitForLine("handed " + fileB_));
        QVERIFY(WaitForLine("menu Gamma"));
        RunSecondCopy({});
        QVERIFY(WaitForLine("activated " + fileB_));
        QCOMPARE(first_->state(), QProcess::Running);
    }

    void aPasswordChangedInQvsIsReportedOnce() {
        QVERIFY(first_);
        SaveAsQvs(fileB_, [](ardeko::clsPW& s) { s.SetFilePW("changed"); });
        QVERIFY(WaitForLine("unreadable " + fileB_, kFollowMs + 1500));
        SaveAsQvs(
            fileB_, [](ardeko::clsPW& s) { s.PWAdd(Entry("Delta")); }, "changed");
        // Nothing to wait for: a second report that must not come. The
        // program's own check period passes meanwhile.
        QTest::qWait(kFollowMs);
        QCOMPARE(LogLines().count("unreadable " + fileB_), 1);
        // The menu was rebuilt without the file's entries.
        QVERIFY(LogLines().contains(QStringLiteral("menu ")));
        QCOMPARE(first_->state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TestQvsLiteProgram)
#include "tst_qvslite_program.moc"
