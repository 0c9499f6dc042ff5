// Saving: the save dialog, failures the user must hear of, and the question
// asked before the open file is replaced.
#include "tests/app/file_commands_fixture.h"

#include "app/file_commands.h"
#include "app/save_file_dialog.h"
#include "frame/language.h"
#include "frame/store_reason.h"

#include <QDir>
#include <QFileInfo>
#include <QListView>

using qvs::App;
using qvs::frmMessage;
using qvs::Opt;
using qvs::Store;

namespace {

// Names the dialog lists in its current folder.
QStringList ListedNames(QFileDialog* dialog) {
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QStringList names;
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
        names << view->model()->index(row, 0, view->rootIndex()).data().toString();
    names.sort();
    return names;
}

void Cancel(QFileDialog* dialog) {
    dialog->reject();
}

} // namespace

class TestSaveDataFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() {
        QCOMPARE(qvs::ModalDepth(), 0);
        qvs::SetCurrentMainWindow(nullptr);
    }

    void neverSavedFileGoesThroughTheSaveDialog();
    void saveDialogListsDataFilesInAnyLetterCase();
    void saveAsKeepsTheOldFileAndFollowsTheBackupSetting();
    void failedSaveIsShownAndKeepsTheChanges();
    void promptAnswers();
    void promptYesWithACancelledDialogAsksAgain();
    void promptYesWithAFailedSaveAsksAgain();
    void autoSaveSavesWithoutAskingUnlessItFails();

private:
    // An open file with changes not yet saved, in a folder of its own.
    QString OpenChangedFile(const QString& folder);

    std::unique_ptr<TestLanguage> language_{MakeFileCommandLanguage()};
    FakeMainWindow main_;
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestSaveDataFile::init() {
    ResetProgram(main_);
    dir_ = std::make_unique<QTemporaryDir>();
    Opt().Path = dir_->path();
}

QString TestSaveDataFile::OpenChangedFile(const QString& folder) {
    QDir(dir_->path()).mkpath(folder);
    const QString path = WriteDataFile(*dir_, folder + QStringLiteral("/open.QVS"), "");
    if (!qvs::OpenDataFile(path, QString())) qFatal("cannot open the test file");
    Store().CatAdd("Added");
    main_ = FakeMainWindow();
    return path;
}

void TestSaveDataFile::neverSavedFileGoesThroughTheSaveDialog() {
    Store().NewFile();
    Store().CatAdd("Banks");
    ModalScript script;
    script.On<QFileDialog>([&](QFileDialog* d) {
        QCOMPARE(d->objectName(), QString::fromLatin1(qvs::kSaveFileDialogName));
        QCOMPARE(d->windowTitle(), TestLanguage::Text(30006));
        QCOMPARE(d->directory().absolutePath(), QDir(dir_->path()).absolutePath());
        QCOMPARE(d->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(d->defaultSuffix(), QStringLiteral("QVS"));
        SaveAs(d, QStringLiteral("mine"));
    });
    script.Start();
    QVERIFY(qvs::SaveDataFile(false));
    QVERIFY(script.Done());

    const QString written = dir_->filePath(QStringLiteral("mine.QVS"));
    QVERIFY(QFileInfo::exists(written));
    QCOMPARE(StoreName(), written.toStdString());
    QCOMPARE(App().currentFileName, written);
    QVERIFY(!Store().NotSaved());
    QCOMPARE(main_.updates, 1);
    QCOMPARE(Opt().Path, dir_->path()); // the setting is not moved by a save

    ardeko::clsPW reread;
    QVERIFY(reread.LoadFile(written.toStdString()));
    QVERIFY(reread.CatExist("Banks"));

    Store().CatAdd("Shops"); // now it has a name: no dialog
    QVERIFY(qvs::SaveDataFile(false));
    QVERIFY(reread.LoadFile(written.toStdString()));
    QVERIFY(reread.CatExist("Shops"));
}

void TestSaveDataFile::saveDialogListsDataFilesInAnyLetterCase() {
    for (const char* name : {"upper.QVS", "lower.qvs", "mixed.Qvs", "other.txt"})
        WriteDataFile(*dir_, QString::fromLatin1(name), "");
    Store().NewFile();
    Store().CatAdd("Banks");

    ModalScript script;
    script.On<QFileDialog>([](QFileDialog* d) {
        const QStringList expected{"lower.qvs", "mixed.Qvs", "upper.QVS"};
        QTRY_COMPARE(ListedNames(d), expected);
        Cancel(d);
    });
    script.Start();
    QVERIFY(!qvs::SaveDataFile(false));
    QVERIFY(script.Done());
    // Cancelled: nothing written, nothing refreshed, the changes still pending.
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files).size(), 4);
    QVERIFY(Store().NotSaved());
    QCOMPARE(main_.updates, 0);
}

void TestSaveDataFile::saveAsKeepsTheOldFileAndFollowsTheBackupSetting() {
    const QString old = OpenChangedFile(QStringLiteral("data"));
    const QString copy = dir_->filePath(QStringLiteral("data/copy.QVS"));
    Opt().BackupFile = false;
    ModalScript script;
    script.On<QFileDialog>([&](QFileDialog* d) { SaveAs(d, copy); });
    script.Start();
    QVERIFY(qvs::SaveDataFile(true));
    QVERIFY(script.Done());
    QCOMPARE(App().currentFileName, copy);
    ardeko::clsPW reread;
    QVERIFY(reread.LoadFile(old.toStdString()));
    QVERIFY(!reread.CatExist("Added"));
    QVERIFY(reread.LoadFile(copy.toStdString()));
    QVERIFY(reread.CatExist("Added"));

    QVERIFY(qvs::SaveDataFile(false));
    QVERIFY(!QFileInfo::exists(dir_->filePath(QStringLiteral("data/copy.BCK"))));
    Opt().BackupFile = true;
    QVERIFY(qvs::SaveDataFile(false));
    QVERIFY(QFileInfo::exists(dir_->filePath(QStringLiteral("data/copy.BCK"))));
}

void TestSaveDataFile::failedSaveIsShownAndKeepsTheChanges() {
    const QString path = OpenChangedFile(QStringLiteral("gone"));
    QVERIFY(QDir(dir_->filePath(QStringLiteral("gone"))).removeRecursively());

    // English shows the store's own words, path included.
    language_.reset();
    QString english = QStringLiteral("ENG");
    QVERIFY(qvs::LoadLanguage(english));
    ModalScript script;
    script.On<frmMessage>([](frmMessage* m) {
        ExpectError(m, QString::fromStdString(Store().ErrDescr()));
        QVERIFY(MessageText(m).contains(QStringLiteral("gone/open.QVS")));
        Click(m, "cmdOK");
    });
    script.Start();
    QVERIFY(!qvs::SaveDataFile(false));
    QVERIFY(script.Done());
    language_.reset(MakeFileCommandLanguage());
    QVERIFY(Store().NotSaved());
    QCOMPARE(StoreName(), path.toStdString());
    QCOMPARE(App().currentFileName, path);
}

void TestSaveDataFile::promptAnswers() {
    // Nothing to save: no question at all.
    QVERIFY(qvs::SaveChangesPrompt(QStringLiteral("Save?"), false));

    const QString path = OpenChangedFile(QStringLiteral("data"));
    ModalScript cancel;
    cancel.On<frmMessage>([](frmMessage* m) {
        ExpectQuestion(m, QStringLiteral("Save?"));
        AnswerCancel(m);
    });
    cancel.Start();
    QVERIFY(!qvs::SaveChangesPrompt(QStringLiteral("Save?"), false));
    QVERIFY(Store().NotSaved());

    ModalScript no;
    no.On<frmMessage>(AnswerNo);
    no.Start();
    QVERIFY(qvs::SaveChangesPrompt(QStringLiteral("Save?"), false));
    QVERIFY(Store().NotSaved());

    ModalScript yes;
    yes.On<frmMessage>(AnswerYes);
    yes.Start();
    QVERIFY(qvs::SaveChangesPrompt(QStringLiteral("Save?"), false));
    QVERIFY(yes.Done());
    QVERIFY(!Store().NotSaved());
    ardeko::clsPW reread;
    QVERIFY(reread.LoadFile(path.toStdString()));
    QVERIFY(reread.CatExist("Added"));
}

void TestSaveDataFile::promptYesWithACancelledDialogAsksAgain() {
    Store().NewFile();
    Store().CatAdd("Banks");
    ModalScript script;
    script.On<frmMessage>(AnswerYes);
    script.On<QFileDialog>(Cancel);
    script.On<frmMessage>([](frmMessage* m) {
        ExpectQuestion(m, QStringLiteral("Save?"));
        AnswerCancel(m);
    });
    script.Start();
    QVERIFY(!qvs::SaveChangesPrompt(QStringLiteral("Save?"), false));
    QVERIFY(script.Done());

    ModalScript thenNo;
    thenNo.On<frmMessage>(AnswerYes);
    thenNo.On<QFileDialog>(Cancel);
    thenNo.On<frmMessage>(AnswerNo);
    thenNo.Start();
    QVERIFY(qvs::SaveChangesPrompt(QStringLiteral("Save?"), false));
    QVERIFY(thenNo.Done());
    QVERIFY(Store().NotSaved());
}

void TestSaveDataFile::promptYesWithAFailedSaveAsksAgain() {
    OpenChangedFile(QStringLiteral("gone"));
    QVERIFY(QDir(dir_->filePath(QStringLiteral("gone"))).removeRecursively());
    ModalScript script;
    script.On<frmMessage>(AnswerYes);
    script.On<frmMessage>([](frmMessage* m) {
        ExpectError(m, qvs::StoreReason(Store()));
        Click(m, "cmdOK");
    });
    script.On<frmMessage>([](frmMessage* m) {
        ExpectQuestion(m, QStringLiteral("Save?"));
        AnswerCancel(m);
    });
    script.Start();
    QVERIFY(!qvs::SaveChangesPrompt(QStringLiteral("Save?"), false));
    QVERIFY(script.Done());
    QVERIFY(Store().NotSaved());
}

void TestSaveDataFile::autoSaveSavesWithoutAskingUnlessItFails() {
    const QString path = OpenChangedFile(QStringLiteral("data"));
    QVERIFY(qvs::SaveChangesPrompt(QStringLiteral("Save?"), true)); // no window at all
    QVERIFY(!Store().NotSaved());
    QCOMPARE(main_.updates, 1);

    Store().CatAdd("More");
    QVERIFY(QDir(dir_->filePath(QStringLiteral("data"))).removeRecursively());
    ModalScript script;
    script.On<frmMessage>([](frmMessage* m) { Click(m, "cmdOK"); }); // the failure
    script.On<frmMessage>([](frmMessage* m) {
        ExpectQuestion(m, QStringLiteral("Save?"));
        AnswerNo(m);
    });
    script.Start();
    QVERIFY(qvs::SaveChangesPrompt(QStringLiteral("Save?"), true));
    QVERIFY(script.Done());
    QVERIFY(Store().NotSaved());
    QCOMPARE(StoreName(), path.toStdString());
}

QTEST_MAIN(TestSaveDataFile)
#include "tst_file_commands_save.moc"
