// The main window locked and unlocked: nothing of the file shows while
// locked, and the file password brings back the node, the row and the
// unsaved changes.
#include "tests/mainwin/menus_fixture.h"

#include "mainwin/entry_grid.h"
#include "mainwin/locked_view.h"

#include <QAbstractItemModel>
#include <QDialog>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolBar>

using namespace qvs;

namespace {

const QString kPassword = QStringLiteral("open sesame");

} // namespace

class TestFrmMainLock : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { LoadEnglish(); }
    void init() {
        Opt() = DefaultOptions();
        App().store = std::make_unique<ardeko::clsPW>();
        Store().NewFile();
        QVERIFY(Store().CatAdd("Banks"));
        AddEntry("Alpha", 1);
        AddEntry("Beta", 1);
        AddEntry("Gamma");
    }
    void cleanup() { QCOMPARE(ModalDepth(), 0); }

    void lockCommandIsInTheFileMenu() {
        MenuWindow w;
        QAction* lock = w.window.mnuFile(FileCommand::Lock);
        QCOMPARE(lock->text(), GetLocalText(31410));
        QCOMPARE(lock->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
        QVERIFY(lock->isVisible());
    }

    void fileWithoutPasswordDoesNotLock() {
        MenuWindow w;
        QString text;
        ModalScript script;
        script.On<frmMessage>([&text](frmMessage* m) {
            text = MessageText(m);
            m->reject();
        });
        script.Start();
        w.window.mnuFile(FileCommand::Lock)->trigger();
        QCOMPARE(text, GetLocalText(31415));
        QVERIFY(!Locking().IsLocked());
    }

    void lockHidesAndUnlockRestores() {
        Store().SetFilePW(kPassword.toStdString());
        MenuWindow w;
        w.ShowNode(QStringLiteral("C1"));
        w.SelectRow(QStringLiteral("Beta"));
        QVERIFY(Store().NotSaved());
        CategoryTree* tree = w.window.Tree();
        EntryGrid* grid = w.window.Grid();

        w.window.mnuFile(FileCommand::Lock)->trigger();
        QVERIFY(Locking().IsLocked());
        QCOMPARE(tree->topLevelItemCount(), 0);
        QCOMPARE(grid->model()->rowCount(), 0);
        QVERIFY(grid->txtNotes()->toPlainText().isEmpty());
        LockedView* locked = w.window.Locked();
        QVERIFY(locked->isVisibleTo(&w.window));
        QVERIFY(!tree->isVisibleTo(&w.window));
        QCOMPARE(locked->lblFile()->text(), QLatin1String(ardeko::kNewFileName));
        QVERIFY(!w.window.mnuFile(FileCommand::Save)->isEnabled()); // Save waits too
        QVERIFY(!w.window.mnuFile(FileCommand::Lock)->isEnabled());
        for (QAction* button : w.window.ToolBar()->actions())
            QVERIFY(!button->isEnabled());
        w.window.UpdateView(QString()); // a refresh meanwhile shows nothing
        QCOMPARE(tree->topLevelItemCount(), 0);

        QTest::keyClicks(locked->txtPassword(), QStringLiteral("wrong"));
        QTest::keyClick(locked->txtPassword(), Qt::Key_Return);
        QVERIFY(Locking().IsLocked());
        QVERIFY(locked->lblWrong()->isVisibleTo(locked));
        QVERIFY(locked->txtPassword()->text().isEmpty());

        locked->txtPassword()->setText(kPassword);
        locked->cmdUnlock()->click();
        QVERIFY(!Locking().IsLocked());
        QVERIFY(!locked->isVisibleTo(&w.window));
        QCOMPARE(tree->ShownKey(), QStringLiteral("C1"));
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(w.window.SelectedService(), QStringLiteral("Beta"));
        QVERIFY(Store().NotSaved());
        QVERIFY(w.window.mnuFile(FileCommand::Save)->isEnabled());
        QVERIFY(w.window.mnuFile(FileCommand::Lock)->isEnabled());
    }

    // A dialog disables the window, and with it the menus: a lock that
    // comes then (idle time, the session) must leave the menu titles off
    // once the dialog it closed has given the window back.
    void aLockOverADialogLeavesTheMenuTitlesOff() {
        Store().SetFilePW(kPassword.toStdString());
        MenuWindow w;
        const QList<QAction*> titles = w.window.menuBar()->actions();
        QVERIFY(!titles.isEmpty());
        QDialog dialog(DialogOwner());
        QTimer::singleShot(0, [] { Locking().Lock(); });
        ExecModal(dialog); // the lock closes it
        QVERIFY(Locking().IsLocked());
        QVERIFY(w.window.isEnabled());
        for (QAction* title : titles)
            QVERIFY2(!title->isEnabled(), qPrintable(title->text()));
        QVERIFY(Locking().Unlock(kPassword));
        for (QAction* title : titles)
            QVERIFY2(title->isEnabled(), qPrintable(title->text()));
    }

    void appliedOptionsShowAtOnce() {
        MenuWindow w;
        QVERIFY(w.window.windowTitle().contains(QLatin1String(ardeko::kNewFileName)));
        Opt().ViewFileName = false;
        Opt().ShowCatSub = false;
        w.window.OptionsChanged();
        QCOMPARE(w.window.windowTitle(), QStringLiteral("QVS"));
        QVERIFY(!w.window.TreeVisible());
        w.window.SetTreeVisible(true); // the View menu
        w.window.OptionsChanged();     // an unchanged setting leaves it
        QVERIFY(w.window.TreeVisible());
    }
};

QTEST_MAIN(TestFrmMainLock)
#include "tst_frm_main_lock.moc"
