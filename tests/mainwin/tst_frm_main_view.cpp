// The main window's panes: the tree and grid it hosts, how UpdateView
// refreshes them, the status bar, and the layout that survives a restart.
// Runs with the built-in English texts.
#include "tests/app/file_commands_fixture.h"

#include "app/file_commands.h"
#include "frame/language.h"
#include "frame/settings_store.h"
#include "mainwin/category_tree.h"
#include "mainwin/entry_grid.h"
#include "mainwin/entry_grid_columns.h"
#include "mainwin/frm_main.h"
#include "mainwin/status_bar.h"

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSplitter>

using namespace qvs;

namespace {

constexpr char kSection[] = "frmMain";

ardeko::T_Password Entry(const char* service, std::int16_t cat, double expire = 0) {
    ardeko::T_Password p;
    p.service = service;
    p.Codcat = cat;
    p.blExpire = expire != 0;
    p.Dt_Expire = expire;
    return p;
}

// "Banks" (code 1) with two entries, one entry without category, the second
// bank expired yesterday.
QString WriteFileWithEntries(const QTemporaryDir& dir) {
    ardeko::clsPW store;
    store.NewFile();
    store.CatAdd("Banks");
    const double yesterday = store.Today() - 1;
    store.PWAdd(Entry("Alpha Bank", 1));
    store.PWAdd(Entry("Beta Bank", 1, yesterday));
    store.PWAdd(Entry("Mail", 0));
    const QString path = dir.filePath(QStringLiteral("Entries.QVS"));
    if (!store.SaveFile(path.toStdString(), false, false)) qFatal("cannot write a test data file");
    return path;
}

QStringList TopKeys(const CategoryTree& tree) {
    QStringList keys;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        keys << CategoryTree::NodeKey(tree.topLevelItem(i));
    return keys;
}

int Rows(const frmMain& w) {
    return w.Grid()->model()->rowCount();
}

} // namespace

class TestFrmMainView : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    FakeMainWindow fake_;

private slots:
    void initTestCase() {
        QCoreApplication::setApplicationName(QStringLiteral("QVS"));
        QString code = QStringLiteral("ENG");
        QVERIFY(LoadLanguage(code));
    }
    void init() {
        ResetProgram(fake_);
        SettingsStore layout{QLatin1String(kSection)};
        for (const QString& name : layout.Names())
            layout.Remove(name);
    }

    void treeShowsTheFileWithAndWithoutCategories() {
        frmMain w;
        QCOMPARE(w.Tree()->topLevelItemCount(), 0);
        QVERIFY(OpenDataFile(WriteDataFile(dir_, QStringLiteral("Plain.QVS"), "", {}), {}));
        QVERIFY(!TopKeys(*w.Tree()).contains(QStringLiteral("C0")));
        QVERIFY(TopKeys(*w.Tree()).contains(QStringLiteral("P")));
        QCOMPARE(w.SelectedNodeKey(), QStringLiteral("R"));

        QVERIFY(OpenDataFile(WriteFileWithEntries(dir_), {}));
        QVERIFY(TopKeys(*w.Tree()).contains(QStringLiteral("C0")));
        QVERIFY(w.Tree()->FindNode(QStringLiteral("C1")));
        QCOMPARE(w.Tree()->ShownKey(), QStringLiteral("R"));
        QCOMPARE(Rows(w), 3);
    }

    void selectingANodeFillsTheGridAndTheStatusBar() {
        frmMain w;
        QVERIFY(OpenDataFile(WriteFileWithEntries(dir_), {}));
        const QStringList all = w.StatusBar()->Texts();
        QCOMPARE(all.value(0), QStringLiteral("Entries: 3"));
        QCOMPARE(all.value(1), GetLocalText(30111).replace(QLatin1String("%n"), "1"));
        QCOMPARE(all.value(3), GetLocalText(30113).replace(QLatin1String("%n"), "0"));

        QVERIFY(w.Tree()->SelectNode(QStringLiteral("C1")));
        QCOMPARE(w.Grid()->ShownNode(), QStringLiteral("C1"));
        QCOMPARE(Rows(w), 2);
        QCOMPARE(w.StatusBar()->Texts().value(0), QStringLiteral("Entries: 2"));
        QVERIFY(w.Tree()->SelectNode(QStringLiteral("C0")));
        QCOMPARE(Rows(w), 1);
        QCOMPARE(w.StatusBar()->Texts().value(0), QStringLiteral("Entries: 1"));
    }

    void favouriteCaptionFollowsTheShownNode() {
        frmMain w;
        QVERIFY(OpenDataFile(WriteFileWithEntries(dir_), {}));
        QSignalSpy spy(&w, &frmMain::favouriteCaptionChanged);
        QVERIFY(w.Tree()->SelectNode(QStringLiteral("P")));
        QCOMPARE(w.FavouriteCaptionId(), 441);
        QVERIFY(w.Tree()->SelectNode(QStringLiteral("R")));
        QCOMPARE(w.FavouriteCaptionId(), 440);
        QCOMPARE(spy.size(), 2);
    }

    // After a change to one entry the shown node stays, its list and numbers
    // are current and the changed entry is selected.
    void updateViewWithAServiceKeepsTheNode() {
        frmMain w;
        QVERIFY(OpenDataFile(WriteFileWithEntries(dir_), {}));
        QVERIFY(w.Tree()->SelectNode(QStringLiteral("C1")));
        QVERIFY(Store().PWAdd(Entry("Gamma Bank", 1)));
        w.UpdateView(QStringLiteral("Gamma Bank"));
        QCOMPARE(w.Tree()->ShownKey(), QStringLiteral("C1"));
        QCOMPARE(Rows(w), 3);
        QCOMPARE(w.SelectedService(), QStringLiteral("Gamma Bank"));
        QCOMPARE(w.Tree()->Number(QStringLiteral("C1")), 3);
        QCOMPARE(w.StatusBar()->Texts().value(0), QStringLiteral("Entries: 3"));

        w.UpdateView(QString()); // a full refresh goes back to the root
        QCOMPARE(w.Tree()->ShownKey(), QStringLiteral("R"));
        QCOMPARE(Rows(w), 4);
    }

    void withoutAFileTheViewIsEmpty() {
        frmMain w;
        QVERIFY(OpenDataFile(WriteFileWithEntries(dir_), {}));
        App().store = std::make_unique<ardeko::clsPW>();
        w.UpdateView(QString());
        QCOMPARE(w.Tree()->topLevelItemCount(), 0);
        QCOMPARE(Rows(w), 0);
        QCOMPARE(w.StatusBar()->Texts().value(0), GetLocalText(30101));
        QVERIFY(w.StatusBar()->Texts().value(1).isEmpty());
    }

    void hiddenPanesAndColumnsSurviveARestart() {
        {
            frmMain w;
            w.SetTreeVisible(false);
            w.SetNotesVisible(false);
            w.SetStatusBarVisible(false);
            w.Grid()->SetColumnVisible(GridColumn::UserName, false);
            w.Grid()->SetColumnWidth(GridColumn::Email, 77);
            w.Grid()->SortGrid(GridColumn::Cat, Qt::DescendingOrder);
            w.SaveLayout();
        }
        SettingsStore s{QLatin1String(kSection)};
        QCOMPARE(s.ReadNumber(QStringLiteral("VSplitterHide"), -1), 1);
        QCOMPARE(s.ReadNumber(QStringLiteral("VSplitter2Hide"), -1), 4);
        QCOMPARE(s.ReadFlag(QStringLiteral("ColVis5"), true), false);
        QCOMPARE(s.ReadNumber(QStringLiteral("SortCol"), -1), 15);
        QCOMPARE(s.ReadNumber(QStringLiteral("SortOrd"), -1), 2);

        frmMain w;
        QVERIFY(!w.TreeVisible());
        QVERIFY(!w.NotesVisible());
        QVERIFY(!w.StatusBarVisible());
        QVERIFY(!w.Grid()->ColumnVisible(GridColumn::UserName));
        QVERIFY(w.Grid()->ColumnVisible(GridColumn::Service));
        QCOMPARE(w.Grid()->ColumnWidth(GridColumn::Email), 77);
        QCOMPARE(w.Grid()->SortColumn(), int(GridColumn::Cat));
        QCOMPARE(w.Grid()->SortOrder(), Qt::DescendingOrder);
    }

    // A hidden tree must not lose the width it had: showing it again brings
    // it back at that width, in this run and the next.
    void splitterPositionSurvivesHidingAndARestart() {
        {
            frmMain w;
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.vbuSplitter()->setSizes({300, w.vbuSplitter()->width() - 300});
            w.SaveLayout();
            w.SetTreeVisible(false);
            w.SaveLayout();
        }
        { // a run in which the tree is never shown keeps its width too
            frmMain w;
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.SaveLayout();
        }
        frmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.SetTreeVisible(true);
        QCoreApplication::processEvents();
        QCOMPARE(w.vbuSplitter()->sizes().value(0), 300);
    }

    // An older layout knows fewer columns; a damaged one names a sort column
    // that does not sort.
    void olderOrDamagedLayoutsFallBackToTheBuiltInState() {
        {
            SettingsStore s{QLatin1String(kSection)};
            s.WriteFlag(QStringLiteral("ColVis4"), true);
            s.WriteNumber(QStringLiteral("ColWidth4"), 90);
            s.WriteFlag(QStringLiteral("Sorted"), true);
            s.WriteNumber(QStringLiteral("SortCol"), 2);
        }
        frmMain w;
        QCOMPARE(w.Grid()->ColumnWidth(GridColumn::Service), 90);
        QVERIFY(w.Grid()->ColumnVisible(GridColumn::Notes));
        QCOMPARE(w.Grid()->ColumnWidth(GridColumn::Notes), kGridColumns[GridColumn::Notes].width);
        QCOMPARE(w.Grid()->SortColumn(), int(GridColumn::Service));
        QCOMPARE(w.Grid()->SortOrder(), Qt::AscendingOrder);
    }

    void windowKeepsItsMinimumSize() {
        frmMain w;
        QCOMPARE(w.minimumSize(), QSize(500, 300));
    }
};

QTEST_MAIN(TestFrmMainView)
#include "tst_frm_main_view.moc"
