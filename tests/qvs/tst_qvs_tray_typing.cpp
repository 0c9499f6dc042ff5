// The whole way from the tray to another program: QVS starts in tray mode
// on a headless desktop with a tray host, the user opens the tray menu,
// chooses an entry, and the login form of a separate program receives the
// user name, Tab, the password and Enter, non-ASCII characters included.
// A password holding "{ENTER}" arrives as it stands. A second copy started
// with another file hands it to the copy in the tray, whose menu then offers
// that file's entries. Skipped, with the reason, where no desktop can be
// started.
#include "store/pw.h"
#include "tests/autotype/x_desktop.h" // also marks the test as one on a desktop
#include "tests/qvs/desktop_home.h"
#include "tests/test_program.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <signal.h>

namespace {

constexpr char kUser[] = "jürgen.ß";
constexpr char kPassword[] = "pä{ENTER}€x";

void WriteDataFile(const QString& path, const char* user, const char* password) {
    ardeko::clsPW store;
    store.NewFile();
    store.CatAdd("Mail");
    ardeko::T_Password entry;
    entry.service = "Webmail";
    entry.Codcat = 1;
    entry.User = user;
    entry.pw = password;
    if (!store.PWAdd(entry) || !store.SaveFile(path.toStdString(), false, false))
        qFatal("cannot write the data file");
}

void WriteSettings(const QString& configFolder) {
    QDir().mkpath(configFolder + QStringLiteral("/Tarnwick"));
    QFile file(configFolder + QStringLiteral("/Tarnwick/QVS.conf"));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the settings");
    // Start in the tray, type the login, categories only, Tab between and
    // Enter after; no reminder bubble over the menu.
    file.write("[General]\nSettingsVersion=1.0\nLanguage=ENG\nStartupType=2\nViewSplash=false\n"
               "ViewTips=false\nSysTrayShow=1\nSysTrayPWDefault=6\nKeyBeforeCB=8\n"
               "KeyAfterCB=13\nRemindDue=false\n");
}

} // namespace

class TestQvsTrayTyping : public QObject {
    Q_OBJECT

    std::unique_ptr<XDesktop> desktop_;
    DesktopHome home_;
    std::unique_ptr<QProcess> qvs_; // the copy in the tray

    QString Path(const char* name) const { return home_.Path(name); }
    QProcessEnvironment Environment() const { return home_.Environment(*desktop_); }
    QStringList LogLines() const { return home_.LogLines(); }
    void Run(const QStringList& arguments) const { DesktopHome::Xdotool(*desktop_, arguments); }

    // Opens the tray menu and chooses the first entry of the first category;
    // what the login form received.
    QByteArray ChooseFirstEntry() {
        TargetForm form(*desktop_);
        const std::uint64_t window = form.Window();
        if (window == 0 || !XDesktop::WaitActive(window)) return "no login form";
        // The tray host sits at the top right; our icon is its only one.
        // (No "--sync": it waits for ever when the pointer is there already.)
        Run({"mousemove", "1267", "15", "sleep", "0.3", "click", "3"});
        QTest::qWait(800);
        // The menu: "Mail" with the entry under it, then the commands.
        Run({"key", "--delay", "150", "Down", "Right", "Return"});
        return form.Result();
    }

private slots:
    void initTestCase() {
        desktop_ = std::make_unique<XDesktop>();
        if (!desktop_->SkipReason().isEmpty()) QSKIP(qPrintable(desktop_->SkipReason()));
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");
        QVERIFY(home_.Valid());
        WriteDataFile(Path("Tray.QVS"), kUser, kPassword);
        WriteDataFile(Path("Other.QVS"), "other.user", "other-pw");
        home_.MakeFolders();
        WriteSettings(Path("config"));
    }
    void cleanupTestCase() {
        DesktopHome::Stop(qvs_);
        desktop_.reset();
    }

    void typesTheChosenEntryIntoTheActiveProgram() {
        qvs_ = home_.StartQvs(*desktop_, {Path("Tray.QVS")});
        QTRY_VERIFY_WITH_TIMEOUT(LogLines().contains("ready " + Path("Tray.QVS")), 20000);
        QTest::qWait(1000); // the tray host embeds the icon

        const QByteArray expected = QByteArray("USER=") + kUser + "\nPASS=" + kPassword + "\n";
        QCOMPARE(ChooseFirstEntry(), expected);
    }

    // The second copy ends; the first stays in the tray with the new file
    // in its menu.
    void aSecondCopyHandsItsFileToTheTray() {
        QVERIFY(qvs_);
        QProcess second;
        second.setProcessEnvironment(Environment());
        second.start(TestProgram("QVS_BINARY"), {Path("Other.QVS")});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(LogLines().contains("handed " + Path("Other.QVS")), 10000);
        QCOMPARE(ChooseFirstEntry(), QByteArray("USER=other.user\nPASS=other-pw\n"));
        QCOMPARE(qvs_->state(), QProcess::Running);
    }

    // Without a tray host nothing could reach the copy in the tray: it comes
    // back to its main window.
    void whenTheTrayGoesTheMainWindowComesBack() {
        QVERIFY(qvs_);
        QVERIFY(!MainWindowShown());
        const qint64 trayHost = TrayHostOfThisDesktop();
        QVERIFY(trayHost > 0);
        QCOMPARE(::kill(pid_t(trayHost), SIGTERM), 0);
        QTRY_VERIFY_WITH_TIMEOUT(MainWindowShown(), 20000);
        QCOMPARE(qvs_->state(), QProcess::Running);
    }

private:
    bool MainWindowShown() const {
        QProcess tool;
        tool.setProcessEnvironment(desktop_->Environment());
        tool.start(QStringLiteral("xdotool"),
                   {"search", "--onlyvisible", "--name", "^QVS - .*Other\\.QVS$"});
        tool.waitForFinished(5000);
        return !tool.readAllStandardOutput().trimmed().isEmpty();
    }
    // The tray host the desktop starter ran for this test's display.
    qint64 TrayHostOfThisDesktop() const {
        const QByteArray display = "DISPLAY=" + desktop_->Display().toLatin1();
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool number = false;
            const qint64 pid = entry.toLongLong(&number);
            if (!number) continue;
            QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
            QFile environ(QStringLiteral("/proc/%1/environ").arg(pid));
            if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "trayer") continue;
            if (environ.open(QIODevice::ReadOnly) &&
                environ.readAll().split('\0').contains(display))
                return pid;
        }
        return 0;
    }
};

QTEST_MAIN(TestQvsTrayTyping)
#include "tst_qvs_tray_typing.moc"
