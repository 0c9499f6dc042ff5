// The whole way from the tray to another program: QVS starts in tray mode
// on a headless desktop with a tray host, the user opens the tray menu,
// chooses an entry, and the login form of a separate program receives the
// user name, Tab, the password and Enter, non-ASCII characters included.
// A password holding "{ENTER}" arrives as it stands. Skipped, with the
// reason, where no desktop can be started.
#include "store/pw.h"
#include "tests/autotype/x_desktop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr char kUser[] = "jürgen.ß";
constexpr char kPassword[] = "pä{ENTER}€x";

void WriteDataFile(const QString& path) {
    ardeko::clsPW store;
    store.NewFile();
    store.CatAdd("Mail");
    ardeko::T_Password entry;
    entry.service = "Webmail";
    entry.Codcat = 1;
    entry.User = kUser;
    entry.pw = kPassword;
    if (!store.PWAdd(entry) || !store.SaveFile(path.toStdString(), false, false))
        qFatal("cannot write the data file");
}

void WriteSettings(const QString& configFolder) {
    QDir().mkpath(configFolder + QStringLiteral("/Tarnwick"));
    QFile file(configFolder + QStringLiteral("/Tarnwick/QVS.conf"));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the settings");
    // Start in the tray, type the login, categories only, Tab between and
    // Enter after.
    file.write("[General]\nSettingsVersion=1.0\nLanguage=ENG\nStartupType=2\nViewSplash=false\n"
               "ViewTips=false\nSysTrayShow=1\nSysTrayPWDefault=6\nKeyBeforeCB=8\n"
               "KeyAfterCB=13\n");
}

void Run(const XDesktop& desktop, const QStringList& arguments) {
    auto env = desktop.Environment();
    QProcess tool;
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral("xdotool"), arguments);
    tool.waitForFinished(5000);
}

} // namespace

class TestQvsTrayTyping : public QObject {
    Q_OBJECT

private slots:
    void typesTheChosenEntryIntoTheActiveProgram() {
        XDesktop desktop;
        if (!desktop.SkipReason().isEmpty()) QSKIP(qPrintable(desktop.SkipReason()));
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");

        QTemporaryDir root;
        const QString file = root.filePath(QStringLiteral("Tray.QVS"));
        WriteDataFile(file);
        QDir(root.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(root.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        WriteSettings(root.filePath(QStringLiteral("config")));
        auto env = desktop.Environment();
        env.insert(QStringLiteral("HOME"), root.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), root.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.filePath(QStringLiteral("runtime")));
        env.insert(QStringLiteral("QVS_TEST_EVENT_LOG"), root.filePath(QStringLiteral("log")));
        QProcess qvs;
        qvs.setProcessEnvironment(env);
        qvs.start(QStringLiteral(QVS_BINARY), {file});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(root.filePath(QStringLiteral("log"))), 20000);

        TargetForm form(desktop);
        const std::uint64_t window = form.Window();
        QVERIFY(window != 0);
        QVERIFY(XDesktop::WaitActive(window));
        QTest::qWait(1000); // the tray host embeds the icon

        // The tray host sits at the top right; our icon is its only one.
        Run(desktop, {"mousemove", "--sync", "1267", "15", "click", "3"});
        QTest::qWait(800);
        // The menu: "Mail" with the entry under it, then the commands.
        Run(desktop, {"key", "--delay", "150", "Down", "Right", "Return"});

        const QByteArray expected = QByteArray("USER=") + kUser + "\nPASS=" + kPassword + "\n";
        QCOMPARE(form.Result(), expected);
        qvs.kill();
        qvs.waitForFinished(5000);
    }
};

QTEST_MAIN(TestQvsTrayTyping)
#include "tst_qvs_tray_typing.moc"
