// The main window's commands that open the entry editor, and the main window
// showing what the editor saved.
#include "tests/mainwin/menus_fixture.h"

#include "dialogs/entry/frm_pw.h"
#include "frame/modal_stack.h"
#include "mainwin/entry_grid.h"
#include "mainwin/entry_grid_view.h"
#include "mainwin/node_key.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace qvs;

namespace {

// The one editor window open now.
frmPW* OpenEditor() {
    frmPW* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* editor = qobject_cast<frmPW*>(w);
        if (editor && editor->isVisible()) {
            if (found) qFatal("more than one editor is open");
            found = editor;
        }
    }
    return found;
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestEditorCommands : public QObject {
    Q_OBJECT
    FakeMainWindow fake_;

private slots:
    void initTestCase() { LoadEnglish(); }
    void init() {
        ResetProgram(fake_);
        Store().NewFile();
        QVERIFY(Store().CatAdd("Banks"));
        banks_ = Store().Category().Find("Banks")->Codcat;
        AddEntry("Bank A", banks_);
    }
    void cleanup() {
        Settle();
        QCOMPARE(ModalDepth(), 0);
    }

    // New entry from a category node: proposed there, and once saved the
    // node's number and the listed rows follow.
    void newEntryInTheShownNode() {
        MenuWindow w;
        const QString key = CategoryNodeKey(banks_);
        w.ShowNode(key);
        w.menus->mnuPassword_Click(PasswordCommand::Add);
        QPointer<frmPW> editor = OpenEditor();
        QVERIFY(editor);
        QVERIFY(!w.window.isEnabled());
        QCOMPARE(editor->findChild<QComboBox*>("cboCateg")->currentText(), "Banks");
        editor->findChild<QLineEdit*>("txtService")->setText("Bank B");
        editor->findChild<QPushButton*>("cmdOK")->click();
        Settle();
        QVERIFY(!editor);
        QVERIFY(w.window.isEnabled());
        QCOMPARE(w.window.Tree()->Number(key), 2);
        QCOMPARE(w.window.SelectedService(), "Bank B");
    }

    // F4 on a row edits it; copy and paste opens a new entry from it.
    void editAndPasteOpenTheEntry() {
        MenuWindow w;
        w.ShowNode(CategoryNodeKey(banks_));
        w.SelectRow("Bank A");
        QTest::keyClick(w.window.Grid()->grdpw(), Qt::Key_F4);
        QPointer<frmPW> editor = OpenEditor();
        QCOMPARE(editor->CurrentMode(), frmPW::Mode::Modify);
        QCOMPARE(editor->findChild<QLineEdit*>("txtService")->text(), "Bank A");
        editor->findChild<QPushButton*>("cmdCancel")->click();
        Settle();

        w.menus->mnuEdit_Click(EditCommand::Copy);
        w.menus->mnuEdit_Click(EditCommand::Paste);
        editor = OpenEditor();
        QCOMPARE(editor->CurrentMode(), frmPW::Mode::Paste);
        QVERIFY(editor->findChild<QLineEdit*>("txtService")->text().isEmpty());
        editor->findChild<QPushButton*>("cmdCancel")->click();
    }

    // The entry clipboard keeps its copy when the entry is deleted: paste
    // proposes the deleted entry again, and saving it brings it back.
    void copyDeletePasteBringsTheEntryBack() {
        ardeko::T_Password p = *Store().Password().Find("Bank A");
        p.User = "alice";
        p.URL_Access = "https://bank-a.example";
        QVERIFY(Store().PWEdit(p, "Bank A"));
        MenuWindow w;
        w.ShowNode(CategoryNodeKey(banks_));
        w.SelectRow("Bank A");
        w.menus->mnuEdit_Click(EditCommand::Copy);
        ModalScript script;
        script.On<frmMessage>([](frmMessage* m) { AnswerYes(m); });
        script.Start();
        w.menus->mnuPassword_Click(PasswordCommand::Delete); // confirmed
        QVERIFY(script.Done());
        QVERIFY(!Store().Password().Contains("Bank A"));

        w.menus->mnuEdit_Click(EditCommand::Paste);
        QPointer<frmPW> editor = OpenEditor();
        QVERIFY(editor);
        QCOMPARE(editor->CurrentMode(), frmPW::Mode::Paste);
        QCOMPARE(editor->findChild<QLineEdit*>("txtName")->text(), "alice");
        QCOMPARE(editor->findChild<QComboBox*>("cboCateg")->currentText(), "Banks");
        editor->findChild<QLineEdit*>("txtService")->setText("Bank A");
        editor->findChild<QPushButton*>("cmdOK")->click();
        Settle();
        const ardeko::T_Password* back = Store().Password().Find("Bank A");
        QVERIFY(back);
        QCOMPARE(back->User, "alice");
        QCOMPARE(back->URL_Access, "https://bank-a.example");
        QCOMPARE(back->Codcat, banks_);
        QVERIFY(w.menus->Clipboard().HasEntry()); // paste does not empty it
    }

private:
    std::int16_t banks_ = 0;
};

QTEST_MAIN(TestEditorCommands)
#include "tst_editor_commands.moc"
