// Opening data files: passwords, failures, the recent-files list and what the
// main window is asked to do afterwards.
#include "tests/app/file_commands_fixture.h"

#include "app/file_commands.h"
#include "frame/language.h"
#include "store/legacy/trailer.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

using qvs::App;
using qvs::frmFilePW;
using qvs::frmMessage;
using qvs::Opt;

class TestOpenDataFile : public QObject {
    Q_OBJECT
private slots:
    void init() { ResetProgram(main_); }
    void cleanup() {
        QCOMPARE(qvs::ModalDepth(), 0);
        qvs::SetCurrentMainWindow(nullptr);
    }

    void fileAccessibleOpensWithoutCreating();
    void opensAFileWithoutPasswordAndRefreshesTheWindow();
    void asksForThePasswordOnlyWhenNoneIsGiven();
    void wrongPasswordCanBeTypedAgainAndKeepsTheOpenFile();
    void wrongGivenPasswordIsToldWithoutRetry();
    void missingFileShowsItsPath();
    void cancelledPasswordEndsSilently();
    void recentListMovesReopenedPathsAndDropsTheOldest();
    void trayModeRefreshesWithoutTheMenu();
    void damagedFileOpensWithAWarning();

private:
    std::unique_ptr<TestLanguage> language_{MakeFileCommandLanguage()};
    FakeMainWindow main_;
    QTemporaryDir dir_;
};

void TestOpenDataFile::fileAccessibleOpensWithoutCreating() {
    const QString path = WriteDataFile(dir_, QStringLiteral("plain.QVS"), "");
    QVERIFY(qvs::FileAccessible(path));
    const QString absent = dir_.filePath(QStringLiteral("absent.QVS"));
    QVERIFY(!qvs::FileAccessible(absent));
    QVERIFY(!QFileInfo::exists(absent));
    QVERIFY(!qvs::FileAccessible(dir_.path())); // a folder is no data file
    QVERIFY(!qvs::FileAccessible(QString()));
    // Nobody writes into this FIFO: looking at it must not wait for a writer.
    const QString fifo = dir_.filePath(QStringLiteral("fifo.QVS"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(!qvs::FileAccessible(fifo));
}

void TestOpenDataFile::opensAFileWithoutPasswordAndRefreshesTheWindow() {
    const QString path = WriteDataFile(dir_, QStringLiteral("home.QVS"), "");
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    // A password given for a file that has none is not used.
    QVERIFY(qvs::OpenDataFile(path, QStringLiteral("unused")));
    QCOMPARE(StoreName(), path.toStdString());
    QVERIFY(qvs::Store().CatExist("Banks"));
    QCOMPARE(App().currentFileName, path);
    QVERIFY(App().currentFilePassword.Empty());
    QCOMPARE(App().loadTime, QFileInfo(path).lastModified());
    QVERIFY(App().loadTime < before.addSecs(2));
    QCOMPARE(Opt().Recent.Paths(), QStringList{path});
    QCOMPARE(main_.updates, 1);
    QCOMPARE(main_.menuReloads, 1);

    // Without a main window there is nothing to refresh, and no crash.
    qvs::SetCurrentMainWindow(nullptr);
    QVERIFY(qvs::OpenDataFile(path, QString()));
}

void TestOpenDataFile::asksForThePasswordOnlyWhenNoneIsGiven() {
    const QString path = WriteDataFile(dir_, QStringLiteral("locked.QVS"), "s3cret");
    QVERIFY(qvs::OpenDataFile(path, QStringLiteral("s3cret"))); // no window at all
    // QVS keeps no copy of its own: the store holds what a reload needs.
    QVERIFY(App().currentFilePassword.Empty());

    ResetProgram(main_);
    ModalScript script;
    script.On<frmFilePW>([](frmFilePW* w) {
        QCOMPARE(w->windowTitle(), TestLanguage::Text(7001));
        TypePassword(w, QStringLiteral("s3cret"));
    });
    script.Start();
    QVERIFY(qvs::OpenDataFile(path, QString()));
    QVERIFY(script.Done());
    QVERIFY(qvs::Store().CheckFilePW("s3cret"));
    QCOMPARE(App().currentFileName, path);
}

// A mistyped password is said to be wrong and can be typed again; Cancel
// then ends the opening with the open file kept. The window names the file.
void TestOpenDataFile::wrongPasswordCanBeTypedAgainAndKeepsTheOpenFile() {
    const QString open = WriteDataFile(dir_, QStringLiteral("open.QVS"), "");
    const QString locked = WriteDataFile(dir_, QStringLiteral("locked.QVS"), "right", {"Other"});
    QVERIFY(qvs::OpenDataFile(open, QString()));
    main_ = FakeMainWindow();
    // Wrong, or damaged: the key check cannot tell, so the copies are named.
    const ardeko::clsPW& store = qvs::Store();
    const QString retry =
        TestLanguage::Text(36203).arg(
            locked, QString::fromStdString(store.BackupPathFor(locked.toStdString(), false)),
            QString::fromStdString(store.BackupFolder())) +
        "\n\n" + TestLanguage::Text(36402);

    ModalScript script;
    const auto typeWrong = [&](frmFilePW* w) {
        QVERIFY(IsShown(w, "lblFile"));
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblFile"))->toolTip(), locked);
        TypePassword(w, QStringLiteral("Right"));
    };
    script.On<frmFilePW>(typeWrong);
    script.On<frmMessage>([&](frmMessage* m) {
        QCOMPARE(MessageText(m), retry);
        Click(m, "cmdOK"); // Retry
    });
    script.On<frmFilePW>(typeWrong);
    script.On<frmMessage>([](frmMessage* m) { Click(m, "cmdCancel"); });
    script.Start();
    QVERIFY(!qvs::OpenDataFile(locked, QString()));
    QVERIFY(script.Done());
    QCOMPARE(App().currentFileName, open);
    QCOMPARE(StoreName(), open.toStdString());
    QVERIFY(qvs::Store().CatExist("Banks"));
    QCOMPARE(Opt().Recent.Paths(), QStringList{open});
    QCOMPARE(main_.updates, 0);

    ModalScript again;
    again.On<frmFilePW>([](frmFilePW* w) { TypePassword(w, QStringLiteral("wrong")); });
    again.On<frmMessage>([](frmMessage* m) { Click(m, "cmdOK"); });
    again.On<frmFilePW>([](frmFilePW* w) { TypePassword(w, QStringLiteral("right")); });
    again.Start();
    QVERIFY(qvs::OpenDataFile(locked, QString()));
    QVERIFY(again.Done());
    QCOMPARE(App().currentFileName, locked);
}

// A password handed in (a reload with the held password) is not asked
// again: the reason is told once.
void TestOpenDataFile::wrongGivenPasswordIsToldWithoutRetry() {
    const QString locked = WriteDataFile(dir_, QStringLiteral("locked.QVS"), "right");
    const ardeko::clsPW& store = qvs::Store();
    const QString says = TestLanguage::Text(36203).arg(
        locked, QString::fromStdString(store.BackupPathFor(locked.toStdString(), false)),
        QString::fromStdString(store.BackupFolder()));
    ModalScript script;
    script.On<frmMessage>([&](frmMessage* m) {
        ExpectError(m, says);
        Click(m, "cmdOK");
    });
    script.Start();
    QVERIFY(!qvs::OpenDataFile(locked, QStringLiteral("wrong")));
    QVERIFY(script.Done());
}

void TestOpenDataFile::missingFileShowsItsPath() {
    const QString absent = dir_.filePath(QStringLiteral("gone.QVS"));
    // The real text, to see the path in place of its "%s".
    language_.reset();
    QString english = QStringLiteral("ENG");
    QVERIFY(qvs::LoadLanguage(english));
    ModalScript script;
    script.On<frmMessage>([&](frmMessage* m) {
        ExpectError(m, QStringLiteral("The file %1 cannot be opened.").arg(absent));
        Click(m, "cmdOK");
    });
    script.Start();
    QVERIFY(!qvs::OpenDataFile(absent, QString()));
    QVERIFY(script.Done());
    language_.reset(MakeFileCommandLanguage());

    QVERIFY(App().currentFileName.isEmpty());
    QVERIFY(Opt().Recent.IsEmpty());
    QVERIFY(App().loadTime.isValid()); // the attempt is remembered
    QVERIFY(!qvs::OpenDataFile(QString(), QString()));
    QCOMPARE(main_.updates, 0);
}

void TestOpenDataFile::cancelledPasswordEndsSilently() {
    const QString path = WriteDataFile(dir_, QStringLiteral("locked.QVS"), "pw");
    ModalScript script;
    script.On<frmFilePW>([](frmFilePW* w) { Click(w, "cmdCancel"); });
    script.Start();
    QVERIFY(!qvs::OpenDataFile(path, QString()));
    QVERIFY(script.Done()); // no message followed
    QCOMPARE(StoreName(), std::string());

    ModalScript empty;
    empty.On<frmFilePW>([](frmFilePW* w) { TypePassword(w, QString()); });
    empty.Start();
    QVERIFY(!qvs::OpenDataFile(path, QString()));
    QVERIFY(empty.Done());
    QVERIFY(App().currentFileName.isEmpty());
}

void TestOpenDataFile::recentListMovesReopenedPathsAndDropsTheOldest() {
    Opt().HistorySize = 3;
    QStringList paths;
    for (const char* name : {"a.QVS", "b.QVS", "c.QVS", "d.QVS"})
        paths << WriteDataFile(dir_, QString::fromLatin1(name), "");
    for (int i = 0; i < 3; ++i)
        QVERIFY(qvs::OpenDataFile(paths[i], QString()));
    QCOMPARE(Opt().Recent.Paths(), (QStringList{paths[2], paths[1], paths[0]}));

    QVERIFY(qvs::OpenDataFile(paths[0], QString())); // moves, not added twice
    QCOMPARE(Opt().Recent.Paths(), (QStringList{paths[0], paths[2], paths[1]}));

    QVERIFY(qvs::OpenDataFile(paths[3], QString())); // the oldest goes
    QCOMPARE(Opt().Recent.Paths(), (QStringList{paths[3], paths[0], paths[2]}));
    QCOMPARE(main_.menuReloads, 5);
}

void TestOpenDataFile::trayModeRefreshesWithoutTheMenu() {
    App().inTrayMode = true;
    QVERIFY(qvs::OpenDataFile(WriteDataFile(dir_, QStringLiteral("t.QVS"), ""), QString()));
    QCOMPARE(main_.updates, 1);
    QCOMPARE(main_.menuReloads, 0);
}

void TestOpenDataFile::damagedFileOpensWithAWarning() {
    // A legacy file cut within its records (past the trailer) shows what is left.
    const QString path = WriteDataFile(dir_, QStringLiteral("cut.QVS"), "", {"Banks", "Shops"},
                                       ardeko::FileFormat::Legacy);
    QFile file(path);
    QVERIFY(file.resize(file.size() - static_cast<qint64>(ardeko::kTrailerBytes) - 3));

    language_.reset();
    QString english = QStringLiteral("ENG");
    QVERIFY(qvs::LoadLanguage(english));
    QString warning;
    ModalScript script;
    script.On<frmMessage>([&](frmMessage* m) {
        // Shown once the file is in place and the window shows it.
        QCOMPARE(App().currentFileName, path);
        QCOMPARE(main_.updates, 1);
        QVERIFY(IsShown(m, "Pict") && !IsShown(m, "cmdNo"));
        warning = MessageText(m);
        Click(m, "cmdOK");
    });
    script.Start();
    QVERIFY(qvs::OpenDataFile(path, QString()));
    QVERIFY(script.Done());
    QVERIFY(warning.contains(path) && warning.contains(QStringLiteral("damaged")));
    language_.reset(MakeFileCommandLanguage());
    QVERIFY(qvs::Store().CatExist("Banks"));
    QCOMPARE(Opt().Recent.Paths(), QStringList{path});
}

QTEST_MAIN(TestOpenDataFile)
#include "tst_file_commands_open.moc"
