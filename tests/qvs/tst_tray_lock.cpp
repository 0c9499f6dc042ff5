// Locking from the tray, in both programs on a headless desktop with a tray
// host, as a user would: QVSLite's menu item by its key (Ctrl+L in the open
// menu), a middle click on the icon, Ctrl+L in the entry window the menu
// opened (which closes), and QVS's menu item chosen with the arrow keys.
// The double-click and the file password unlock again. The programs report
// "locked" and "unlocked" to the log named in QVS_TEST_EVENT_LOG. Skipped,
// with the reason, where no desktop can be started.
#include "store/pw.h"
#include "tests/autotype/x_desktop.h" // also marks the test as one on a desktop
#include "tests/qvs/desktop_home.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <memory>

namespace {

constexpr int kWaitMs = 20000;
constexpr char kPassword[] = "pw-lock";
constexpr char kPasswordTitle[] = "Enter the file password";

void WriteSettings(const QString& configFolder) {
    QDir().mkpath(configFolder + QStringLiteral("/Tarnwick"));
    QFile lite(configFolder + QStringLiteral("/Tarnwick/QVSLite.conf"));
    if (!lite.open(QIODevice::WriteOnly)) qFatal("cannot write the settings");
    // Entries show their window; categories only.
    lite.write("[General]\nLanguage=ENG\nSysTrayShow=1\nSysTrayPWDefault=0\n");
    QFile qvs(configFolder + QStringLiteral("/Tarnwick/QVS.conf"));
    if (!qvs.open(QIODevice::WriteOnly)) qFatal("cannot write the settings");
    qvs.write("[General]\nSettingsVersion=1.0\nLanguage=ENG\nStartupType=2\nViewSplash=false\n"
              "ViewTips=false\nAutoCheck=false\nRemindDue=false\nSysTrayShow=1\n");
}

} // namespace

class TestTrayLock : public QObject {
    Q_OBJECT

    std::unique_ptr<XDesktop> desktop_;
    DesktopHome home_;
    QString file_;
    std::unique_ptr<QProcess> program_;

    QString Tool(const QStringList& arguments) const {
        return DesktopHome::Xdotool(*desktop_, arguments);
    }

    int Count(const QString& line) const { return int(home_.LogLines().count(line)); }

    bool Logged(const char* event, int count) const {
        QDeadlineTimer deadline(kWaitMs);
        while (!deadline.hasExpired()) {
            if (Count(QLatin1String(event) + u' ' + file_) >= count) return true;
            QTest::qWait(50);
        }
        qWarning() << "log so far:" << home_.LogLines();
        return false;
    }

    QString WaitActiveTitled(const QString& title) const {
        return DesktopHome::WaitActiveTitled(*desktop_, title);
    }

    bool GivePassword() const {
        if (WaitActiveTitled(QLatin1String(kPasswordTitle)).isEmpty()) return false;
        Tool({"type", "--delay", "50", kPassword});
        Tool({"key", "Return"});
        return true;
    }

    // The tray host sits at the top right; our icon is its only one.
    void ClickIcon(const char* button, bool twice = false) const {
        QStringList args{"mousemove", "1267", "15", "sleep", "0.3", "click"};
        if (twice)
            args << "--repeat"
                 << "2";
        Tool(args << button);
    }

    void OpenMenu() const {
        ClickIcon("3");
        QTest::qWait(800);
    }

    void Unlock(int times) const {
        ClickIcon("1", true);
        QVERIFY(GivePassword());
        QVERIFY(Logged("unlocked", times));
    }

    void Start(const char* variable) {
        program_ = std::make_unique<QProcess>();
        program_->setProcessEnvironment(home_.Environment(*desktop_));
        program_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program_->start(TestProgram(variable), {file_});
        QVERIFY(GivePassword());
        QVERIFY(Logged("ready", 1));
        QTest::qWait(1000); // the tray host embeds the icon
    }

private slots:
    void initTestCase() {
        desktop_ = std::make_unique<XDesktop>();
        if (!desktop_->SkipReason().isEmpty()) QSKIP(qPrintable(desktop_->SkipReason()));
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");
        QVERIFY(home_.Valid());
        file_ = home_.Path("Locked.QVS");
        ardeko::clsPW store;
        store.NewFile();
        ardeko::T_Password entry;
        entry.service = "Alpha";
        entry.User = "alpha-user";
        entry.pw = "alpha-secret";
        QVERIFY(store.PWAdd(entry));
        store.SetFilePW(kPassword);
        QVERIFY(store.SaveFile(file_.toStdString(), false));
        home_.MakeFolders();
        WriteSettings(home_.Path("config"));
    }
    void cleanupTestCase() {
        DesktopHome::Stop(program_);
        desktop_.reset();
    }

    void theLightProgramLocksByKeyClickAndEntryWindow() {
        Start("QVSLITE_BINARY");
        if (QTest::currentTestFailed()) return;
        OpenMenu();
        Tool({"key", "ctrl+l"});
        QVERIFY(Logged("locked", 1));
        Unlock(1);

        ClickIcon("2");
        QVERIFY(Logged("locked", 2));
        Unlock(2);

        // The entry is the menu's first item; its window takes the key.
        OpenMenu();
        Tool({"key", "--delay", "150", "Down", "Return"});
        const QString entryWindow = WaitActiveTitled(QStringLiteral("Alpha"));
        QVERIFY(!entryWindow.isEmpty());
        Tool({"key", "ctrl+l"});
        QVERIFY(Logged("locked", 3));
        QTRY_VERIFY_WITH_TIMEOUT(Tool({"search", "--onlyvisible", "--name", "^Alpha$"}).isEmpty(),
                                 kWaitMs);
        DesktopHome::Stop(program_);
    }

    // From the bottom of the menu: Exit, then Lock above it.
    void qvsInTheTrayLocksFromItsMenu() {
        const int before = Count("locked " + file_);
        Start("QVS_BINARY");
        if (QTest::currentTestFailed()) return;
        OpenMenu();
        Tool({"key", "--delay", "150", "Up", "Up", "Return"});
        QVERIFY(Logged("locked", before + 1));
        QCOMPARE(program_->state(), QProcess::Running);
    }
};

QTEST_MAIN(TestTrayLock)
#include "tst_tray_lock.moc"
