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
#include "tests/qvs/desktop_fixture.h"
#include "tests/test_program.h"

#include <QDir>
#include <QFile>
#include <QtTest>

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

} // namespace

class TestQvsTrayTyping : public QObject {
    Q_OBJECT

    DesktopFixture desk_; // its program: the copy in the tray

    QString Path(const char* name) const { return desk_.Path(name); }

    // Opens the tray menu and chooses the first entry of the first category;
    // what the login form received.
    QByteArray ChooseFirstEntry() {
        TargetForm form(desk_.Desktop());
        const std::uint64_t window = form.Window();
        if (window == 0 || !XDesktop::WaitActive(window)) return "no login form";
        if (!desk_.OpenTrayMenu()) return "no tray menu";
        // The menu: "Mail" with the entry under it, then the commands.
        desk_.Tool({"key", "--delay", "150", "Down", "Right", "Return"});
        return form.Result();
    }

private slots:
    void initTestCase() {
        const QString skip = desk_.SetUp();
        if (!skip.isEmpty()) QSKIP(qPrintable(skip));
        WriteDataFile(Path("Tray.QVS"), kUser, kPassword);
        WriteDataFile(Path("Other.QVS"), "other.user", "other-pw");
        // Start in the tray, type the login, categories only, Tab between and
        // Enter after; no reminder bubble over the menu.
        desk_.WriteSettings("QVS", "[General]\nSettingsVersion=1.0\nLanguage=ENG\nStartupType=2\n"
                                   "ViewSplash=false\nViewTips=false\nSysTrayShow=1\n"
                                   "SysTrayPWDefault=6\nKeyBeforeCB=8\nKeyAfterCB=13\n"
                                   "RemindDue=false\n");
    }
    void cleanupTestCase() { desk_.TearDown(); }

    void typesTheChosenEntryIntoTheActiveProgram() {
        desk_.Start("QVS_BINARY", {Path("Tray.QVS")});
        QVERIFY(desk_.Logged("ready " + Path("Tray.QVS")));
        QVERIFY(desk_.WaitForTrayIcon());

        const QByteArray expected = QByteArray("USER=") + kUser + "\nPASS=" + kPassword + "\n";
        QCOMPARE(ChooseFirstEntry(), expected);
    }

    // The second copy ends; the first stays in the tray with the new file
    // in its menu.
    void aSecondCopyHandsItsFileToTheTray() {
        QVERIFY(desk_.Program());
        QProcess second;
        second.setProcessEnvironment(desk_.Environment());
        second.start(TestProgram("QVS_BINARY"), {Path("Other.QVS")});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(desk_.Logged("handed " + Path("Other.QVS")));
        QCOMPARE(ChooseFirstEntry(), QByteArray("USER=other.user\nPASS=other-pw\n"));
        QCOMPARE(desk_.Program()->state(), QProcess::Running);
    }

    // Without a tray host nothing could reach the copy in the tray: it comes
    // back to its main window.
    void whenTheTrayGoesTheMainWindowComesBack() {
        QVERIFY(desk_.Program());
        QVERIFY(!MainWindowShown());
        const qint64 trayHost = desk_.Desktop().FindProcess("trayer");
        QVERIFY(trayHost > 0);
        QCOMPARE(::kill(pid_t(trayHost), SIGTERM), 0);
        QTRY_VERIFY_WITH_TIMEOUT(MainWindowShown(), 20000);
        QCOMPARE(desk_.Program()->state(), QProcess::Running);
    }

private:
    bool MainWindowShown() const {
        return !desk_.Tool({"search", "--onlyvisible", "--name", "^QVS - .*Other\\.QVS$"})
                    .isEmpty();
    }
};

QTEST_MAIN(TestQvsTrayTyping)
#include "tst_qvs_tray_typing.moc"
