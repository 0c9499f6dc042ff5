// Paths given relative to the current folder or spelled in several ways:
// the program keeps one absolute, clean name per file, so it still finds
// the file from another folder and lists it once among the recent files.
#include "tests/app/file_commands_fixture.h"

#include "app/command_line.h"
#include "app/file_commands.h"
#include "app/file_path.h"

#include <QDir>

using qvs::App;
using qvs::Opt;
using qvs::Store;

class TestRelativePaths : public QObject {
    Q_OBJECT

    std::unique_ptr<TestLanguage> language_{MakeFileCommandLanguage()};
    FakeMainWindow main_;
    QTemporaryDir dir_;
    QString file_; // dir_/data/b.QVS
    QString startFolder_;

private slots:
    void initTestCase() {
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("data/sub")));
        file_ = WriteDataFile(dir_, QStringLiteral("data/b.QVS"), "");
        startFolder_ = QDir::currentPath();
    }
    void init() {
        ResetProgram(main_);
        QVERIFY(QDir::setCurrent(dir_.filePath(QStringLiteral("data"))));
    }
    void cleanup() { QDir::setCurrent(startFolder_); }

    void cleanFilePath_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("expected"); // relative to dir_/data
        QTest::newRow("bare name") << "b.QVS"
                                   << "b.QVS";
        QTest::newRow("dot") << "./b.QVS"
                             << "b.QVS";
        QTest::newRow("up and down") << "sub/../b.QVS"
                                     << "b.QVS";
        QTest::newRow("doubled separator") << "sub//x.QVS"
                                           << "sub/x.QVS";
        QTest::newRow("blanks kept") << "my file.QVS"
                                     << "my file.QVS";
    }
    void cleanFilePath() {
        QFETCH(QString, given);
        QFETCH(QString, expected);
        QCOMPARE(qvs::CleanFilePath(given), dir_.filePath("data/" + expected));
        QCOMPARE(qvs::CleanFilePath(dir_.filePath("data/" + given)),
                 dir_.filePath("data/" + expected));
        QCOMPARE(qvs::CleanFilePath(QString()), QString());
    }

    // The store, the program and the recent list hold the absolute name;
    // two spellings of the file are one recent entry.
    void openKeepsOneAbsoluteName() {
        QVERIFY(qvs::OpenDataFile(QStringLiteral("b.QVS"), QString()));
        QCOMPARE(QString::fromStdString(Store().Filename()), file_);
        QCOMPARE(App().currentFileName, file_);
        QVERIFY(qvs::OpenDataFile(QStringLiteral("./sub/../b.QVS"), QString()));
        QVERIFY(qvs::OpenDataFile(file_, QString()));
        QCOMPARE(Opt().Recent.Paths(), QStringList{file_});

        // Saved from another folder, it still goes to the same file.
        QVERIFY(QDir::setCurrent(dir_.path()));
        Store().CatAdd("Shops");
        QVERIFY(qvs::SaveDataFile(false));
        ardeko::clsPW reread;
        QVERIFY(reread.LoadFile(file_.toStdString()));
        QVERIFY(reread.CatExist("Shops"));
        QVERIFY(!QFileInfo::exists(dir_.filePath("b.QVS")));
    }

    // A second copy resolves the name in its own folder before handing it
    // over; the first copy may be running anywhere.
    void handOverCarriesTheAbsoluteName() {
        QCOMPARE(qvs::HandOverCommandLine(QStringLiteral("b.QVS")), '"' + file_ + '"');
        QCOMPARE(qvs::HandOverCommandLine(QStringLiteral("\"./my file.QVS\"")),
                 '"' + dir_.filePath("data/my file.QVS") + '"');
        QCOMPARE(qvs::HandOverCommandLine(QStringLiteral("  ")), QString());
        // What the first copy makes of it names the same file.
        const QString handed = qvs::HandOverCommandLine(QStringLiteral("b.QVS"));
        QVERIFY(QDir::setCurrent(dir_.path()));
        QCOMPARE(qvs::CleanFilePath(qvs::FileNameFromCommandLine(handed)), file_);
    }
};

QTEST_MAIN(TestRelativePaths)
#include "tst_relative_paths.moc"
