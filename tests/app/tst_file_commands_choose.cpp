// The commands that go through the file chooser or the recent-files menu:
// open, new, import and the recent-file command.
#include "tests/app/file_commands_fixture.h"

#include "app/file_commands.h"
#include "app/merge_file_command.h"

using qvs::App;
using qvs::frmFilePW;
using qvs::frmLoadSave;
using qvs::frmMessage;
using qvs::Opt;
using qvs::Store;

namespace {

void PickNew(frmLoadSave* w) {
    QCOMPARE(w->findChild<QTabWidget*>(QStringLiteral("tabStrip"))->currentIndex(), 0);
    Click(w->findChild<QWidget*>(QStringLiteral("pageNEW")), "cmdNewOpen");
}

void CancelChooser(frmLoadSave* w) {
    w->reject();
}

bool OnDisk(const QString& path, const char* category) {
    ardeko::clsPW reread;
    return reread.LoadFile(path.toStdString()) && reread.CatExist(category);
}

} // namespace

class TestChooseCommands : public QObject {
    Q_OBJECT
private slots:
    void init() {
        ResetProgram(main_);
        dir_ = std::make_unique<QTemporaryDir>();
        a_ = WriteDataFile(*dir_, QStringLiteral("a.QVS"), "", {"Banks"});
        b_ = WriteDataFile(*dir_, QStringLiteral("b.QVS"), "pw", {"Shops", "Travel"});
    }
    void cleanup() {
        QCOMPARE(qvs::ModalDepth(), 0);
        qvs::SetCurrentMainWindow(nullptr);
    }

    void newPageStartsAnEmptyStore();
    void newAfterNoAsksOnceMore();
    void cancelledChooserKeepsTheOpenFile();
    void chooserOpensTheChosenFile();
    void recentFileSavesFirstWhenAsked();
    void recentFileCancelledKeepsEverything();
    void importWithNoFileShowsNothing();
    void importAddsTheCategoriesOfAnotherFile();
    void mergeAnotherFileKeepsBothVersionsAndTells();

private:
    void OpenA(bool change) {
        QVERIFY(qvs::OpenDataFile(a_, QString()));
        if (change) Store().CatAdd("Added");
        main_ = FakeMainWindow();
    }

    std::unique_ptr<TestLanguage> language_{MakeFileCommandLanguage()};
    FakeMainWindow main_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString a_;
    QString b_;
};

void TestChooseCommands::newPageStartsAnEmptyStore() {
    OpenA(false);
    const ardeko::clsPW* before = &Store();
    ModalScript script;
    script.On<frmLoadSave>(PickNew);
    script.Start();
    qvs::OpenWithDialog(true);
    QVERIFY(script.Done()); // no save question: nothing was changed

    QVERIFY(&Store() != before);
    QCOMPARE(StoreName(), std::string(ardeko::kNewFileName));
    QVERIFY(Store().Category().Count() == 0);
    QVERIFY(!Store().NotSaved());
    QCOMPARE(App().currentFileName, QString::fromLatin1(ardeko::kNewFileName));
    QVERIFY(App().currentFilePassword.Empty());
    QCOMPARE(main_.updates, 1);
}

void TestChooseCommands::newAfterNoAsksOnceMore() {
    OpenA(true);
    ModalScript cancelled;
    cancelled.On<frmMessage>([](frmMessage* m) {
        ExpectQuestion(m, TestLanguage::Text(30003));
        AnswerNo(m);
    });
    cancelled.On<frmLoadSave>(PickNew);
    cancelled.On<frmMessage>(AnswerCancel); // the second question, from New
    cancelled.Start();
    qvs::OpenWithDialog(true);
    QVERIFY(cancelled.Done());
    QCOMPARE(StoreName(), a_.toStdString());
    QVERIFY(Store().CatExist("Added") && Store().NotSaved());

    ModalScript saved;
    saved.On<frmMessage>(AnswerNo);
    saved.On<frmLoadSave>(PickNew);
    saved.On<frmMessage>(AnswerYes);
    saved.Start();
    qvs::OpenWithDialog(true);
    QVERIFY(saved.Done());
    QVERIFY(OnDisk(a_, "Added"));
    QCOMPARE(StoreName(), std::string(ardeko::kNewFileName));
}

void TestChooseCommands::cancelledChooserKeepsTheOpenFile() {
    OpenA(false);
    ModalScript script;
    script.On<frmLoadSave>(CancelChooser);
    script.Start();
    qvs::OpenWithDialog(false);
    QVERIFY(script.Done());
    QCOMPARE(App().currentFileName, a_);
    QCOMPARE(StoreName(), a_.toStdString());
    QCOMPARE(main_.updates, 0);
}

void TestChooseCommands::chooserOpensTheChosenFile() {
    Opt().Recent.Add(b_, Opt().HistorySize);
    ModalScript script;
    script.On<frmLoadSave>([](frmLoadSave* w) { PickRecent(w, 0); });
    script.On<frmFilePW>([](frmFilePW* w) { TypePassword(w, QStringLiteral("pw")); });
    script.Start();
    qvs::OpenWithDialog(false);
    QVERIFY(script.Done());
    QCOMPARE(App().currentFileName, b_);
    QVERIFY(Store().CatExist("Travel"));
    QCOMPARE(main_.menuReloads, 1);
}

void TestChooseCommands::recentFileSavesFirstWhenAsked() {
    OpenA(true);
    // The real text, to see the open file named in place of "%s".
    language_.reset();
    QString english = QStringLiteral("ENG");
    QVERIFY(qvs::LoadLanguage(english));
    ModalScript script;
    script.On<frmMessage>([&](frmMessage* m) {
        ExpectQuestion(
            m, QStringLiteral("Save the changes to %1 before opening another file?").arg(a_));
        AnswerYes(m);
    });
    script.On<frmFilePW>([](frmFilePW* w) { TypePassword(w, QStringLiteral("pw")); });
    script.Start();
    qvs::OpenRecentFile(b_);
    QVERIFY(script.Done());
    language_.reset(MakeFileCommandLanguage());

    QVERIFY(OnDisk(a_, "Added"));
    QCOMPARE(StoreName(), b_.toStdString());
    QCOMPARE(App().currentFileName, b_);
    QCOMPARE(Opt().Recent.Paths(), (QStringList{b_, a_}));
}

void TestChooseCommands::recentFileCancelledKeepsEverything() {
    OpenA(true);
    ModalScript script;
    script.On<frmMessage>(AnswerCancel);
    script.Start();
    qvs::OpenRecentFile(b_);
    QVERIFY(script.Done());
    QCOMPARE(App().currentFileName, a_);
    QCOMPARE(StoreName(), a_.toStdString());
    QVERIFY(Store().NotSaved());
    QCOMPARE(Opt().Recent.Paths(), QStringList{a_});

    // A recent file that has gone: the message, and the open file stays current.
    const QString gone = dir_->filePath(QStringLiteral("gone.QVS"));
    ModalScript missing;
    missing.On<frmMessage>(AnswerNo);
    missing.On<frmMessage>([](frmMessage* m) {
        ExpectError(m, TestLanguage::Text(30005));
        Click(m, "cmdOK");
    });
    missing.Start();
    qvs::OpenRecentFile(gone);
    QVERIFY(missing.Done());
    QCOMPARE(App().currentFileName, a_);
}

void TestChooseCommands::importWithNoFileShowsNothing() {
    bool shown = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            shown = true;
            w->close();
        }
    });
    QVERIFY(!qvs::ImportDataFile());
    QCoreApplication::processEvents();
    QVERIFY(!shown);
    QCOMPARE(main_.updates, 0);
}

void TestChooseCommands::importAddsTheCategoriesOfAnotherFile() {
    OpenA(false);
    Opt().Recent.Add(b_, Opt().HistorySize);
    ModalScript cancelled;
    cancelled.On<frmLoadSave>([](frmLoadSave* w) { PickRecent(w, 0); });
    cancelled.On<frmFilePW>([](frmFilePW* w) { Click(w, "cmdCancel"); });
    cancelled.Start();
    QVERIFY(!qvs::ImportDataFile());
    QVERIFY(cancelled.Done());
    QVERIFY(!Store().CatExist("Shops") && !Store().NotSaved());

    ModalScript script;
    script.On<frmLoadSave>([](frmLoadSave* w) { PickRecent(w, 0); });
    script.On<frmFilePW>([](frmFilePW* w) { TypePassword(w, QStringLiteral("pw")); });
    script.On<frmMessage>([](frmMessage* m) {
        QCOMPARE(MessageText(m), TestLanguage::Text(30004));
        QVERIFY(!IsShown(m, "Pict"));
        Click(m, "cmdOK");
    });
    script.Start();
    QVERIFY(qvs::ImportDataFile());
    QVERIFY(script.Done());
    QVERIFY(Store().CatExist("Banks") && Store().CatExist("Shops") && Store().CatExist("Travel"));
    QVERIFY(Store().NotSaved());
    QCOMPARE(StoreName(), a_.toStdString()); // still the same file
    QCOMPARE(main_.updates, 1);

    // Everything there already: the store's report, and no success claimed.
    ModalScript again;
    again.On<frmLoadSave>([](frmLoadSave* w) { PickRecent(w, 0); });
    again.On<frmFilePW>([](frmFilePW* w) { TypePassword(w, QStringLiteral("pw")); });
    QString report;
    again.On<frmMessage>([&](frmMessage* m) {
        report = MessageText(m);
        Click(m, "cmdOK");
    });
    again.Start();
    QVERIFY(!qvs::ImportDataFile());
    QVERIFY(again.Done());
    // The message box shows the report's carriage returns as line breaks.
    QCOMPARE(report, QString::fromStdString(Store().ErrDescr()).replace(u'\r', u'\n'));
    QVERIFY(report.contains(QStringLiteral("Shops")));
}

namespace {

ardeko::T_Password Entry(const char* name, const char* pw, double modified) {
    ardeko::T_Password p;
    p.service = name;
    p.pw = pw;
    p.Dt_Modif = modified;
    return p;
}

} // namespace

// A sync tool's conflicted copy under another password: it is asked for,
// the two versions come together (two-way: nothing deleted, a clash kept
// twice) and the summary names the copy and what came from it.
void TestChooseCommands::mergeAnotherFileKeepsBothVersionsAndTells() {
    OpenA(false);
    QVERIFY(Store().PWAdd(Entry("Shared", "old", 46000)));
    QVERIFY(Store().PWAdd(Entry("Mine only", "m", 46000)));
    ardeko::clsPW copy;
    copy.NewFile();
    QVERIFY(copy.PWAdd(Entry("Shared", "new", 46100)));
    QVERIFY(copy.PWAdd(Entry("Theirs only", "t", 46000)));
    copy.SetFilePW("pw");
    const QString copyPath = dir_->filePath(QStringLiteral("a (conflicted copy).QVS"));
    QVERIFY(copy.SaveFile(copyPath.toStdString(), false));
    Opt().Recent.Add(copyPath, Opt().HistorySize);

    ModalScript cancelled;
    cancelled.On<frmLoadSave>([](frmLoadSave* w) { PickRecent(w, 0); });
    cancelled.On<frmFilePW>([](frmFilePW* w) { Click(w, "cmdCancel"); });
    cancelled.Start();
    QVERIFY(!qvs::MergeOtherFile());
    QVERIFY(cancelled.Done());
    QVERIFY(!Store().Password().Contains("Theirs only"));

    language_.reset(); // the real texts, to see the numbers and the name
    QString english = QStringLiteral("ENG");
    QVERIFY(qvs::LoadLanguage(english));
    QString summary;
    ModalScript script;
    script.On<frmLoadSave>([](frmLoadSave* w) { PickRecent(w, 0); });
    script.On<frmFilePW>([](frmFilePW* w) { TypePassword(w, QStringLiteral("pw")); });
    script.On<frmMessage>([&](frmMessage* m) {
        summary = MessageText(m);
        Click(m, "cmdOK");
    });
    script.Start();
    const bool merged = qvs::MergeOtherFile();
    language_.reset(MakeFileCommandLanguage());
    QVERIFY(merged);
    QVERIFY(script.Done());
    QVERIFY2(summary.startsWith(QStringLiteral("Merged with a (conflicted copy).QVS.")),
             qPrintable(summary));
    QVERIFY(summary.contains(QStringLiteral("Added from the other version: 1")));
    QVERIFY(summary.contains(QStringLiteral("Different in the two versions, both kept")));
    QVERIFY(summary.endsWith(QStringLiteral("The result is not saved yet.")));

    const auto& entries = Store().Password();
    QCOMPARE(entries.Count(), std::size_t(4));
    QCOMPARE(entries.Find("Shared")->pw, std::string("new"));
    QCOMPARE(entries.Find("Shared (conflict 2025-12-09 00:00)")->pw, std::string("old"));
    QVERIFY(entries.Contains("Mine only") && entries.Contains("Theirs only"));
    QVERIFY(Store().NotSaved());
    QCOMPARE(StoreName(), a_.toStdString()); // still the open file
    QCOMPARE(main_.updates, 1);
}

QTEST_MAIN(TestChooseCommands)
#include "tst_file_commands_choose.moc"
