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
#include "tests/qvs/desktop_fixture.h"

#include <QFile>
#include <QtTest>

namespace {

constexpr char kPassword[] = "pw-older";

} // namespace

class TestQvsSaveAsLegacy : public QObject {
    Q_OBJECT

    DesktopFixture desk_;
    QString file_;

    QString Tool(const QStringList& arguments) const { return desk_.Tool(arguments); }
    QString WaitActiveTitled(const QString& title) const { return desk_.WaitActiveTitled(title); }

private slots:
    void initTestCase() {
        const QString skip = desk_.SetUp();
        if (!skip.isEmpty()) QSKIP(qPrintable(skip));
        file_ = desk_.Path("Keyed.QVS");
        ardeko::clsPW store;
        store.NewFile();
        store.CatAdd("Banks");
        store.SetFilePW(kPassword);
        QVERIFY(store.SaveFile(file_.toStdString(), false, false));
        desk_.WriteSettings("QVS", "[General]\nSettingsVersion=1.0\nLanguage=ENG\n"
                                   "ViewSplash=false\nViewTips=false\nViewWizard=false\n"
                                   "AutoCheck=false\nRemindDue=false\n");
    }
    void cleanupTestCase() { desk_.TearDown(); }

    void aWrongPasswordIsToldAndAskedAgain() {
        desk_.Start("QVS_BINARY", {file_});
        QVERIFY(!desk_.TypePassword(kPassword).isEmpty());
        QVERIFY(desk_.Logged("ready " + file_));
        const QString main = WaitActiveTitled(QStringLiteral("QVS - ") + file_);
        QVERIFY(!main.isEmpty());

        const QString target = desk_.Path("Older.QVS");
        Tool({"key", "ctrl+shift+s"});
        QVERIFY(!WaitActiveTitled(QStringLiteral("Save the data file as")).isEmpty());
        Tool({"type", "--delay", "30", target});
        // To the file type below the name, and its second entry: the older format;
        // Return saves.
        Tool({"key", "--delay", "150", "Tab", "Down", "Return"});
        const QString prompt = desk_.TypePassword("not-it");
        QVERIFY(!prompt.isEmpty());
        const QString told = WaitActiveTitled(QStringLiteral("QVS"));
        QVERIFY(!told.isEmpty());
        QVERIFY(!QFile::exists(target));
        Tool({"key", "Return"});
        QVERIFY(!desk_.TypePassword(kPassword).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(target), DesktopFixture::kWaitMs);
        ardeko::clsPW written;
        QVERIFY(written.LoadFile(target.toStdString(), kPassword));
        QCOMPARE(written.Format(), ardeko::FileFormat::Legacy);
        QCOMPARE(desk_.Program()->state(), QProcess::Running);
    }
};

QTEST_MAIN(TestQvsSaveAsLegacy)
#include "tst_qvs_save_as_legacy.moc"
