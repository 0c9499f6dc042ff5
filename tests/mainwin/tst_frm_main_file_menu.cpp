// The main window's File menu: its items in order and by number, what a
// window without a file offers, the recent-files menu, and the checks before the program
// ends. Runs with the built-in English texts.
#include "tests/app/file_commands_fixture.h"

#include "app/file_commands.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"
#include "frame/settings_store.h"
#include "mainwin/frm_main.h"
#include "mainwin/main_menus.h"

#include <QAction>
#include <QMenu>

using namespace qvs;

namespace {

using F = FileCommand;
constexpr F kFileOpenItems[] = {F::Save,   F::SaveAs, F::SeparatorAfterSaveAs, F::Import,
                                F::Export, F::Merge,  F::SeparatorBeforePrint, F::Print};
constexpr F kAlwaysItems[] = {F::New, F::Open, F::Recent, F::Exit};

// Closes any modal window the script did not expect, and remembers its text,
// so that an unexpected question fails the test instead of hanging it.
class UnexpectedModals : public QObject {
public:
    explicit UnexpectedModals(const ModalScript& script) : script_(script) {
        timer_.callOnTimeout([this] { Check(); });
        timer_.start(20);
    }
    QStringList texts;

private:
    void Check() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !script_.Done()) return;
        auto* message = qobject_cast<frmMessage*>(w);
        texts << (message ? MessageText(message) : w->metaObject()->className());
        qobject_cast<QDialog*>(w)->reject();
    }
    const ModalScript& script_;
    QTimer timer_;
};

bool Shown(const frmMain& w, FileCommand command) {
    return w.mnuFile(command)->isVisible();
}

void ExpectYesNo(frmMessage* m, const QString& text) {
    QCOMPARE(MessageText(m), text);
    QVERIFY(IsShown(m, "cmdNo"));
    QVERIFY(!IsShown(m, "cmdCancel"));
}

bool FileHasCategory(const QString& path, const char* category) {
    ardeko::clsPW store;
    return store.LoadFile(path.toStdString()) && store.CatExist(category);
}

} // namespace

class TestFrmMainFileMenu : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    FakeMainWindow fake_;

    QString MakeFile(const QString& name) { return WriteDataFile(dir_, name, ""); }

private slots:
    void initTestCase() {
        QCoreApplication::setApplicationName(QStringLiteral("QVS"));
        QString code = QStringLiteral("ENG");
        QVERIFY(LoadLanguage(code));
    }
    void init() {
        ResetProgram(fake_);
        SettingsStore settings;
        for (const QString& name : settings.Names())
            settings.Remove(name);
    }
    void cleanup() { QCOMPARE(ModalDepth(), 0); }

    void itemsInOrderAndByNumber() {
        frmMain w;
        // Top down, with each command's text id (0: a separator).
        const std::pair<F, int> shown[] = {
            {F::New, 101},
            {F::Open, 102},
            {F::SeparatorAfterOpen, 0},
            {F::Save, 103},
            {F::SaveAs, 104},
            {F::SeparatorAfterSaveAs, 0},
            {F::Import, 34003},
            {F::Merge, 34521},
            {F::Export, 106},
            {F::SeparatorBeforePrint, 0},
            {F::Print, 111},
            {F::SeparatorBeforeRecent, 0},
            {F::Recent, 112},
            {F::SeparatorBeforeLock, 0},
            {F::Lock, 31410},
            {F::Exit, 113},
        };
        const QList<QAction*> items = w.mnuFileTop()->actions();
        QCOMPARE(items.size(), qsizetype(std::size(shown)));
        for (qsizetype i = 0; i < items.size(); ++i) {
            const auto& [command, id] = shown[i];
            QCOMPARE(w.mnuFile(command), items[i]);
            if (id == 0)
                QVERIFY(items[i]->isSeparator());
            else
                QCOMPARE(items[i]->text(), GetLocalText(id));
        }
        QCOMPARE(items[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        // Callers that number the items get the same ones; 9 is left out.
        for (const auto& [command, id] : shown)
            QCOMPARE(w.mnuFile(static_cast<int>(command)), w.mnuFile(command));
        QCOMPARE(w.mnuFile(9), nullptr);
        QCOMPARE(w.mnuFile(F::Export)->menu(), w.mnuExport());
        QCOMPARE(w.mnuFile(F::Recent)->menu(), w.mnuReload());
        QCOMPARE(w.mnuExport()->actions().size(), 4);
        // Import: another data file's categories, or another program's export.
        const QList<QAction*> imports = w.mnuFile(F::Import)->menu()->actions();
        QCOMPARE(imports.size(), 2);
        QCOMPARE(imports[0]->text(), GetLocalText(34002));
        QCOMPARE(imports[1]->text(), GetLocalText(34001));
    }

    void itemsFollowTheFileState() {
        frmMain w;
        for (F command : kFileOpenItems)
            QVERIFY2(!Shown(w, command), qPrintable(QString::number(static_cast<int>(command))));
        for (F command : kAlwaysItems)
            QVERIFY(Shown(w, command));
        QCOMPARE(w.windowTitle(), QStringLiteral("QVS"));

        const QString path = MakeFile(QStringLiteral("Work.QVS"));
        QVERIFY(OpenDataFile(path, QString()));
        for (F command : kFileOpenItems)
            QVERIFY(Shown(w, command));
        QCOMPARE(w.windowTitle(), QStringLiteral("QVS - ") + path);
        QCOMPARE(w.SelectedNodeKey(), QStringLiteral("R"));

        // A new file counts as open, though it has no name on disk yet.
        NewDataFile();
        QVERIFY(Shown(w, F::Save));
        QCOMPARE(w.windowTitle(), QStringLiteral("QVS - <New QVS File>"));
    }

    // "ViewFileName" decides whether the caption names the file; saving the
    // layout (Options) shows the caption again.
    void captionFollowsViewFileName() {
        frmMain w;
        const QString path = MakeFile(QStringLiteral("Work.QVS"));
        Opt().ViewFileName = false;
        QVERIFY(OpenDataFile(path, QString()));
        QCOMPARE(w.windowTitle(), QStringLiteral("QVS"));
        Opt().ViewFileName = true;
        w.Menus().mnuOption_Click(OptionCommand::SaveLayout);
        QCOMPARE(w.windowTitle(), QStringLiteral("QVS - ") + path);
    }

    void reloadMenuListsTheRecentFiles() {
        frmMain w;
        QVERIFY(!w.mnuFile(F::Recent)->isEnabled()); // nothing to offer yet
        Opt().HistorySize = 3;
        for (const char* path : {"/d/a.QVS", "/d/Tom & Jerry.QVS", "/d/c.QVS"})
            Opt().Recent.Add(QString::fromLatin1(path), 10);
        Opt().Recent.Add(QStringLiteral("/d/e.QVS"), 10); // four listed, three shown
        w.ReloadMenu();
        QStringList captions;
        for (const QAction* item : w.mnuReload()->actions())
            captions << item->text();
        // The "&" of a name is shown, not taken for an access key.
        QCOMPARE(captions, (QStringList{"/d/e.QVS", "/d/c.QVS", "/d/Tom && Jerry.QVS"}));
        QVERIFY(w.mnuFile(F::Recent)->isEnabled());

        // Rebuilt, not added to.
        w.ReloadMenu();
        QCOMPARE(w.mnuReload()->actions().size(), 3);
    }

    void choosingARecentFileRunsTheRecentFileCommand() {
        frmMain w;
        const QString first = MakeFile(QStringLiteral("first.QVS"));
        const QString second = MakeFile(QStringLiteral("second.QVS"));
        QVERIFY(OpenDataFile(second, QString()));
        QVERIFY(OpenDataFile(first, QString()));
        QVERIFY(Store().CatAdd("Cards"));
        QCOMPARE(w.mnuReload()->actions().size(), 2);

        ModalScript script;
        QString question;
        script.On<frmMessage>([&](frmMessage* m) {
            question = MessageText(m);
            AnswerNo(m);
        });
        script.Start();
        w.mnuReload()->actions().at(1)->trigger();
        QVERIFY(script.Done());
        QVERIFY(question.contains(first)); // text 9001 names the open file
        QCOMPARE(QString::fromStdString(StoreName()), second);
        QCOMPARE(w.mnuReload()->actions().first()->text(), second);
        QCoreApplication::processEvents(); // the chosen item goes now
    }

    void exitWithAutoSaveSavesThenConfirms() {
        frmMain w;
        w.show();
        const QString path = MakeFile(QStringLiteral("auto.QVS"));
        QVERIFY(OpenDataFile(path, QString()));
        QVERIFY(Store().CatAdd("Cards"));
        Opt().AutoSaveData = true;
        ModalScript script;
        script.On<frmMessage>([](frmMessage* m) {
            ExpectYesNo(m, GetLocalText(9003));
            AnswerYes(m);
        });
        UnexpectedModals unexpected(script);
        script.Start();
        w.mnuFile_Click(F::Exit);
        QVERIFY(script.Done());
        QCOMPARE(unexpected.texts, QStringList());
        QVERIFY(!w.isVisible());
        QVERIFY(FileHasCategory(path, "Cards"));
        const SettingsStore settings;
        QCOMPARE(settings.ReadText(QStringLiteral("FileName"), QString()), path);
        QVERIFY(settings.Contains(QStringLiteral("frmMain-State")));
        QCOMPARE(CurrentMainWindow(), nullptr);
    }

    void exitWithoutAutoSaveAsks_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::newRow("cancel") << int(vbCancel) << false << false;
        QTest::newRow("no") << int(vbNo) << true << false;
        QTest::newRow("yes") << int(vbYes) << true << true;
    }
    void exitWithoutAutoSaveAsks() {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        frmMain w;
        w.show();
        const QString path = MakeFile(QStringLiteral("ask.QVS"));
        QVERIFY(OpenDataFile(path, QString()));
        QVERIFY(Store().CatAdd("Cards"));
        ModalScript script;
        script.On<frmMessage>([answer](frmMessage* m) {
            ExpectQuestion(m, GetLocalText(9002));
            if (answer == vbYes) AnswerYes(m);
            if (answer == vbNo) AnswerNo(m);
            if (answer == vbCancel) AnswerCancel(m);
        });
        // Only a saved file is confirmed: "No" lets the changes go at once.
        if (saved) script.On<frmMessage>([](frmMessage* m) { AnswerYes(m); });
        UnexpectedModals unexpected(script);
        script.Start();
        w.Exit();
        QVERIFY(script.Done());
        QCOMPARE(unexpected.texts, QStringList());
        QCOMPARE(w.isVisible(), !closes);
        QCOMPARE(FileHasCategory(path, "Cards"), saved);
        QCOMPARE(SettingsStore().Contains(QStringLiteral("FileName")), closes);
    }

    void answeringNoToTheExitQuestionKeepsTheWindow() {
        frmMain w;
        w.show();
        ModalScript script;
        script.On<frmMessage>([](frmMessage* m) {
            ExpectYesNo(m, GetLocalText(9003));
            AnswerNo(m);
        });
        script.Start();
        w.Exit();
        QVERIFY(script.Done());
        QVERIFY(w.isVisible());
        QVERIFY(!SettingsStore().Contains(QStringLiteral("FileName")));
        QCOMPARE(CurrentMainWindow(), &w);
    }

    // Closing while a dialog works on the store would pull the file away
    // under it.
    void noClosingWhileADialogIsOpen() {
        frmMain w;
        w.show();
        QWidget dialog;
        ModalStackEntry entry(&dialog);
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
    }
};

QTEST_MAIN(TestFrmMainFileMenu)
#include "tst_frm_main_file_menu.moc"
