// "Save as" in the older format through the real windows on a headless
// desktop: the open file is in the new format, which keeps no password, so
// the older one needs it again. A wrong password is said to be wrong and
// asked for again (the file is written only with the right one), where it
// once ended the command without a file or a word. QVS reports to the log
// named in QVS_TEST_EVENT_LOG; the test answers it with keys. Skipped, with
// the reason, where no desktop can be started.
#include "store/format2/format2.h"
#include "store/legacy/legacy_file.h"
#include "store/pw.h"
#include "tests/autotype/x_desktop.h" // also marks the test as one on a desktop
#include "tests/qvs/desktop_home.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <memory>

namespace {

constexpr int kWaitMs = 20000;
constexpr char kPassword[] = "pw-older";

void WriteSettings(const QString& configFolder) {
    QDir().mkpath(configFolder + QStringLiteral("/Tarnwick"));
    QFile file(configFolder + QStringLiteral("/Tarnwick/QVS.conf"));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the settings");
    file.write("[General]\nSettingsVersion=1.0\nLanguage=ENG\nViewSplash=false\n"
               "ViewTips=false\nViewWizard=false\nAutoCheck=false\nRemindDue=false\n");
}

} // namespace

class TestQvsSaveAsLegacy : public QObject {
    Q_OBJECT

    std::unique_ptr<XDesktop> desktop_;
    DesktopHome home_;
    QString file_;
    std::unique_ptr<QProcess> qvs_;

    QString Tool(const QStringList& arguments) const {
        return DesktopHome::Xdotool(*desktop_, arguments);
    }

    QString WaitActiveTitled(const QString& title, const QString& other = {}) const {
        return DesktopHome::WaitActiveTitled(*desktop_, title, other);
    }

    QString TypePassword(const char* password, const QString& other = {}) const {
        const QString prompt = WaitActiveTitled(QStringLiteral("Enter the file password"), other);
        if (prompt.isEmpty()) return {};
        Tool({"type", "--delay", "50", password});
        Tool({"key", "Return"});
        return prompt;
    }

private slots:
    void initTestCase() {
        desktop_ = std::make_unique<XDesktop>();
        if (!desktop_->SkipReason().isEmpty()) QSKIP(qPrintable(desktop_->SkipReason()));
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");
        QVERIFY(home_.Valid());
        file_ = home_.Path("Keyed.QVS");
        ardeko::clsPW store;
        store.NewFile();
        store.CatAdd("Banks");
        store.SetFilePW(kPassword);
        QVERIFY(store.SaveFile(file_.toStdString(), false, false));
        home_.MakeFolders();
        WriteSettings(home_.Path("config"));
    }
    void cleanupTestCase() {
        DesktopHome::Stop(qvs_);
        desktop_.reset();
    }

    void aWrongPasswordIsToldAndAskedAgain() {
        qvs_ = home_.StartQvs(*desktop_, {file_});
        QVERIFY(!TypePassword(kPassword).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(home_.LogLines().contains("ready " + file_), kWaitMs);
        const QString main = WaitActiveTitled(QStringLiteral("QVS - ") + file_);
        QVERIFY(!main.isEmpty());

        const QString target = home_.Path("Older.QVS");
        Tool({"key", "ctrl+shift+s"});
        QVERIFY(!WaitActiveTitled(QStringLiteral("Save the data file as")).isEmpty());
        Tool({"type", "--delay", "30", target});
        // To the file type below the name, and its second entry: the older format;
        // Return saves.
        Tool({"key", "--delay", "150", "Tab", "Down", "Return"});
        const QString prompt = TypePassword("not-it");
        QVERIFY(!prompt.isEmpty());
        const QString told = WaitActiveTitled(QStringLiteral("QVS"));
        QVERIFY(!told.isEmpty());
        QVERIFY(!QFile::exists(target));
        Tool({"key", "Return"});
        QVERIFY(!TypePassword(kPassword).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(target), kWaitMs);
        ardeko::clsPW written;
        QVERIFY(written.LoadFile(target.toStdString(), kPassword));
        QCOMPARE(written.Format(), ardeko::FileFormat::Legacy);
        QCOMPARE(qvs_->state(), QProcess::Running);
    }
};

QTEST_MAIN(TestQvsSaveAsLegacy)
#include "tst_qvs_save_as_legacy.moc"
