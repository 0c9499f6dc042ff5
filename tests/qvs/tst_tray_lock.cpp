// Locking from the tray, in both programs on a headless desktop with a tray
// host, as a user would: QVSLite's menu item by its key (Ctrl+L in the open
// menu), a middle click on the icon, Ctrl+L in the entry window the menu
// opened (which closes), and QVS's menu item chosen with the arrow keys.
// The double-click and the file password unlock again. The programs report
// "locked" and "unlocked" to the log named in QVS_TEST_EVENT_LOG. Skipped,
// with the reason, where no desktop can be started.
#include "store/pw.h"
#include "tests/autotype/x_desktop.h" // also marks the test as one on a desktop
#include "tests/qvs/desktop_fixture.h"

#include <QtTest>

namespace {

constexpr char kPassword[] = "pw-lock";

} // namespace

class TestTrayLock : public QObject {
    Q_OBJECT

    DesktopFixture desk_;
    QString file_;

    QString Tool(const QStringList& arguments) const { return desk_.Tool(arguments); }

    int Count(const QString& line) const { return desk_.Count(line); }

    bool Logged(const char* event, int count) const {
        return desk_.Logged(QLatin1String(event) + u' ' + file_, count);
    }

    bool GivePassword() const { return !desk_.TypePassword(kPassword).isEmpty(); }

    void Unlock(int times) const {
        desk_.ClickTrayIcon("1", true);
        QVERIFY(GivePassword());
        QVERIFY(Logged("unlocked", times));
    }

    void Start(const char* variable) {
        desk_.Start(variable, {file_});
        QVERIFY(GivePassword());
        QVERIFY(Logged("ready", 1));
        QVERIFY(desk_.WaitForTrayIcon());
    }

private slots:
    void initTestCase() {
        const QString skip = desk_.SetUp();
        if (!skip.isEmpty()) QSKIP(qPrintable(skip));
        file_ = desk_.Path("Locked.QVS");
        ardeko::clsPW store;
        store.NewFile();
        ardeko::T_Password entry;
        entry.service = "Alpha";
        entry.User = "alpha-user";
        entry.pw = "alpha-secret";
        QVERIFY(store.PWAdd(entry));
        store.SetFilePW(kPassword);
        QVERIFY(store.SaveFile(file_.toStdString(), false));
        // Entries show their window; categories only.
        desk_.WriteSettings("QVSLite",
                            "[General]\nLanguage=ENG\nSysTrayShow=1\nSysTrayPWDefault=0\n");
        desk_.WriteSettings("QVS", "[General]\nSettingsVersion=1.0\nLanguage=ENG\nStartupType=2\n"
                                   "ViewSplash=false\nViewTips=false\nAutoCheck=false\n"
                                   "RemindDue=false\nSysTrayShow=1\n");
    }
    void cleanupTestCase() { desk_.TearDown(); }

    void theLightProgramLocksByKeyClickAndEntryWindow() {
        Start("QVSLITE_BINARY");
        if (QTest::currentTestFailed()) return;
        QVERIFY(desk_.OpenTrayMenu());
        Tool({"key", "ctrl+l"});
        QVERIFY(Logged("locked", 1));
        Unlock(1);

        desk_.ClickTrayIcon("2");
        QVERIFY(Logged("locked", 2));
        Unlock(2);

        // The entry is the menu's first item; its window takes the key.
        QVERIFY(desk_.OpenTrayMenu());
        Tool({"key", "--delay", "150", "Down", "Return"});
        const QString entryWindow = desk_.WaitActiveTitled(QStringLiteral("Alpha"));
        QVERIFY(!entryWindow.isEmpty());
        Tool({"key", "ctrl+l"});
        QVERIFY(Logged("locked", 3));
        QTRY_VERIFY_WITH_TIMEOUT(Tool({"search", "--onlyvisible", "--name", "^Alpha$"}).isEmpty(),
                                 DesktopFixture::kWaitMs);
        desk_.Stop();
    }

    // From the bottom of the menu: Exit, then Lock above it.
    void qvsInTheTrayLocksFromItsMenu() {
        const int before = Count("locked " + file_);
        Start("QVS_BINARY");
        if (QTest::currentTestFailed()) return;
        QVERIFY(desk_.OpenTrayMenu());
        Tool({"key", "--delay", "150", "Up", "Up", "Return"});
        QVERIFY(Logged("locked", before + 1));
        QCOMPARE(desk_.Program()->state(), QProcess::Running);
    }
};

QTEST_MAIN(TestTrayLock)
#include "tst_tray_lock.moc"
