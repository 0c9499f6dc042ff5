// The tree pop-up's commands: the name or category asked for, the question
// before deleting, the store operation run, and the refusals shown.
#include "tests/mainwin/menus_fixture.h"

#include "dialogs/categories/frm_change_cat.h"
#include "mainwin/category_tree.h"
#include "mainwin/entry_grid.h"
#include "mainwin/input_box.h"
#include "mainwin/tree_commands.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace qvs;

namespace {

void Type(ModalScript& script, const QString& text, const QString& expectTitle = {}) {
    script.On<frmInputBox>([text, expectTitle](frmInputBox* box) {
        if (!expectTitle.isEmpty()) QCOMPARE(box->windowTitle(), expectTitle);
        box->txtInput()->setText(text);
        box->accept();
    });
}

void Choose(ModalScript& script, const QString& category, const QStringList& offered) {
    script.On<frmChangeCat>([category, offered](frmChangeCat* box) {
        QComboBox* list = box->cboCategorie();
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        QCOMPARE(items, offered);
        list->setCurrentIndex(list->findText(category));
        box->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
}

void Answer(ModalScript& script, int textId, bool yes) {
    script.On<frmMessage>([textId, yes](frmMessage* m) {
        QCOMPARE(MessageText(m), GetLocalText(textId));
        yes ? AnswerYes(m) : AnswerNo(m);
    });
}

} // namespace

class TestTreeCommands : public QObject {
    Q_OBJECT
    FakeMainWindow fake_;

    // Runs command with the modal windows answered by script.
    template <class F> bool Run(ModalScript& script, F command) {
        script.Start();
        const bool changed = command();
        [&] { QVERIFY(script.Done()); }();
        return changed;
    }

private slots:
    void initTestCase() { LoadEnglish(); }
    void init() {
        ResetProgram(fake_);
        Store().NewFile();
        QVERIFY(Store().CatAdd("Banks") && Store().CatAdd("Cards"));
        QVERIFY(Store().SubCatAdd(1, "Online"));
        AddEntry("Bank", 1, 1);
        AddEntry("Card", 2, 0);
    }
    void cleanup() { QCOMPARE(ModalDepth(), 0); }

    void addsCategoryOnRootAndSubcategoryOnCategory() {
        ModalScript script;
        Type(script, QStringLiteral("  Shops "), GetLocalText(9017));
        Type(script, QStringLiteral("Local"));
        QVERIFY(Run(script, [] {
            return TreeAddNode(ReadNodeKey("R")) && TreeAddNode(ReadNodeKey("C2"));
        }));
        QVERIFY(Store().CatExist("Shops")); // blanks around a name are dropped
        QVERIFY(Store().SubCatExist(2, "Local"));
        QCOMPARE(fake_.updates, 2);
    }

    void refusedAndCancelledAddsChangeNothing() {
        ModalScript script;
        Type(script, QStringLiteral("BANKS")); // names ignore letter case
        Answer(script, 9018, true);
        script.On<frmInputBox>([](frmInputBox* box) { box->reject(); });
        QVERIFY(!Run(
            script, [] { return TreeAddNode(ReadNodeKey("P")) || TreeAddNode(ReadNodeKey("R")); }));
        QCOMPARE(Store().CatNumber(), 2);
        QCOMPARE(fake_.updates, 0);
    }

    void renamesCategoryAndSubcategory() {
        ModalScript script;
        script.On<frmInputBox>([](frmInputBox* box) {
            QCOMPARE(box->txtInput()->text(), QStringLiteral("Banks")); // offered to edit
            box->txtInput()->setText(QStringLiteral("Money"));
            box->accept();
        });
        Type(script, QStringLiteral("Web"));
        QVERIFY(Run(script, [] {
            return TreeRenameNode(ReadNodeKey("C1")) && TreeRenameNode(ReadNodeKey("S1C1"));
        }));
        QCOMPARE(Store().CatValue(1), std::string("Money"));
        QCOMPARE(Store().SubCatValue(1), std::string("Web"));
    }

    void renameToATakenNameIsRefused() {
        ModalScript script;
        Type(script, QStringLiteral("cards"));
        Answer(script, 9013, true);
        QVERIFY(!Run(script, [] { return TreeRenameNode(ReadNodeKey("C1")); }));
        QCOMPARE(Store().CatValue(1), std::string("Banks"));
    }

    void deleteAsksTwice_data() {
        QTest::addColumn<bool>("keep");
        QTest::newRow("keep entries") << true;
        QTest::newRow("delete entries") << false;
    }
    void deleteAsksTwice() {
        QFETCH(bool, keep);
        ModalScript script;
        Answer(script, 9006, true);
        Answer(script, 9008, keep);
        QVERIFY(Run(script, [] { return TreeDeleteNode(ReadNodeKey("C1")); }));
        QVERIFY(!Store().CatExist("Banks"));
        QCOMPARE(Store().SubCatNumber(1), 0);
        QCOMPARE(Store().Password().Contains("Bank"), keep);
    }

    // Only an explicit No deletes the entries; a dismissed question gives
    // up the whole delete.
    void dismissedKeepQuestionDeletesNothing_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("close box") << false;
    }
    void dismissedKeepQuestionDeletesNothing() {
        QFETCH(bool, escape);
        ModalScript script;
        Answer(script, 9006, true);
        script.On<frmMessage>([escape](frmMessage* m) {
            QCOMPARE(MessageText(m), GetLocalText(9008));
            escape ? QTest::keyClick(m, Qt::Key_Escape) : void(m->close());
        });
        QVERIFY(!Run(script, [] { return TreeDeleteNode(ReadNodeKey("C1")); }));
        QVERIFY(Store().CatExist("Banks"));
        QVERIFY(Store().Password().Contains("Bank"));
        QCOMPARE(fake_.updates, 0);
    }

    void refusedDeleteSaysSo() {
        ModalScript script;
        Answer(script, 9006, true);
        Answer(script, 9008, true);
        Answer(script, 31001, true); // a category that is gone meanwhile
        QVERIFY(!Run(script, [] { return TreeDeleteNode(ReadNodeKey("C9")); }));
        QCOMPARE(Store().CatNumber(), 2);
    }

    void noToTheDeleteQuestionKeepsAll() {
        ModalScript script;
        Answer(script, 9007, false);
        QVERIFY(!Run(script, [] { return TreeDeleteNode(ReadNodeKey("S1C1")); }));
        QVERIFY(Store().SubCatExist(1, "Online"));
        QCOMPARE(fake_.updates, 0);
    }

    void movesSubcategoryWithItsEntries() {
        ModalScript script;
        Choose(script, QStringLiteral("Cards"), {"Cards"}); // not its own category
        QVERIFY(Run(script, [] { return TreeMoveNode(ReadNodeKey("S1C1")); }));
        QVERIFY(Store().SubCatExist(2, "Online"));
        QCOMPARE(Store().Password().Find("Bank")->Codcat, 2);
        QCOMPARE(Store().Password().Find("Bank")->CodSCat, 1);
    }

    void categoryBecomesSubcategory() {
        ModalScript script;
        Choose(script, QStringLiteral("Banks"), {"Banks"});
        QVERIFY(Run(script, [] { return TreeMoveNode(ReadNodeKey("C2")); }));
        QVERIFY(!Store().CatExist("Cards"));
        QVERIFY(Store().SubCatExist(1, "Cards"));
        QCOMPARE(Store().Password().Find("Card")->Codcat, 1);
    }

    // Its subcategories would be stranded under a category that no longer
    // exists, so the command refuses without asking.
    void categoryWithSubcategoriesDoesNotMove() {
        QVERIFY(!TreeMoveNode(ReadNodeKey("C1")));
        QVERIFY(Store().CatExist("Banks"));
    }

    // F2 on the tree renames the selected node; Delete on the grid deletes
    // the selected entry after asking.
    void keysReachTheCommands() {
        MenuWindow w;
        CategoryTree& tree = *w.window.Tree();
        w.ShowNode(QStringLiteral("C2"));
        w.window.show();
        QApplication::setActiveWindow(&w.window);
        tree.setFocus();
        ModalScript script;
        Type(script, QStringLiteral("Money"), GetLocalText(9012));
        script.On<frmMessage>([](frmMessage* m) {
            QCOMPARE(MessageText(m), GetLocalText(30007).replace("%n", "Card"));
            AnswerNo(m);
        });
        script.Start();
        QTest::keyClick(&tree, Qt::Key_F2);
        QCOMPARE(Store().CatValue(2), std::string("Money"));
        emit w.window.Grid()->deleteRequested(QStringLiteral("Card"));
        QVERIFY(script.Done());
        QVERIFY(Store().Password().Contains("Card"));
    }

    void subcategoryEntriesMoveOut() {
        ModalScript script;
        Choose(script, QStringLiteral("Cards"), {"Banks", "Cards"});
        Answer(script, 9023, true);
        QVERIFY(Run(script, [] { return TreeMoveSubCategoryEntries(ReadNodeKey("S1C1")); }));
        QVERIFY(!Store().SubCatExist(1, "Online"));
        QCOMPARE(Store().Password().Find("Bank")->Codcat, 2);
        QCOMPARE(Store().Password().Find("Bank")->CodSCat, 0);
    }
};

QTEST_MAIN(TestTreeCommands)
#include "tst_tree_commands.moc"
