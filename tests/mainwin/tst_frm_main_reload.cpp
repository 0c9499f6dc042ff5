// Another version of the open file put in the store (a reload from disk, a
// merge): the window shows the same node, row and sort, although the
// version numbers its categories differently.
#include "tests/mainwin/menus_fixture.h"

#include "app/disk_guard.h"
#include "app/file_commands.h"

#include "mainwin/category_tree.h"
#include "mainwin/entry_grid.h"
#include "mainwin/entry_grid_columns.h"
#include "mainwin/node_key.h"
#include "mainwin/status_bar.h"

#include <QLabel>
#include <QTemporaryDir>

using namespace qvs;

namespace {

// Mail and Banks, Banks holding Cards and in it Card A to C (and D when
// withD); codes as given.
std::unique_ptr<ardeko::clsPW> Version(std::int16_t banks, std::int16_t mail, std::int16_t cards,
                                       bool withD = false) {
    auto s = std::make_unique<ardeko::clsPW>();
    s->NewFile();
    s->InsertCategory({banks, "Banks", true});
    s->InsertCategory({mail, "Mail", true});
    s->InsertSubCategory({cards, banks, "Cards"});
    for (const char* name : {"Card A", "Card B", "Card C", "Card D"}) {
        if (!withD && name == std::string("Card D")) break;
        ardeko::T_Password p;
        p.service = name;
        p.Codcat = banks;
        p.CodSCat = cards;
        p.User = std::string("user ") + name;
        s->InsertPassword(p);
    }
    return s;
}

} // namespace

class TestFrmMainReload : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { LoadEnglish(); }
    void init() {
        Opt() = DefaultOptions();
        App().store = Version(1, 2, 1);
    }

    void nodeRowAndSortStayAcrossOtherCodes() {
        MenuWindow w;
        w.ShowNode(SubCategoryNodeKey(1, 1));
        w.window.Grid()->SortGrid(GridColumn::UserName, Qt::DescendingOrder);
        w.SelectRow(QStringLiteral("Card B"));

        w.window.KeepPlaceAcross([] { App().store = Version(7, 3, 9, true); });
        QCOMPARE(w.window.Tree()->ShownKey(), SubCategoryNodeKey(7, 9));
        QCOMPARE(w.window.SelectedService(), QStringLiteral("Card B"));
        QCOMPARE(w.window.Grid()->SortColumn(), int(GridColumn::UserName));
        QCOMPARE(w.window.Grid()->SortOrder(), Qt::DescendingOrder);

        // A node that is gone leaves the view on what is there.
        w.window.KeepPlaceAcross([] {
            App().store = std::make_unique<ardeko::clsPW>();
            Store().NewFile();
            Store().CatAdd("Mail");
        });
        QVERIFY(w.window.Tree()->FindNode(w.window.Tree()->ShownKey()));

        w.window.ShowNote(QStringLiteral("Reloaded"));
        auto* note = w.window.StatusBar()->findChild<QLabel*>(QStringLiteral("sbNote"));
        QVERIFY(note);
        QCOMPARE(note->text(), QStringLiteral("Reloaded"));
    }

    // The whole way: the open file replaced on disk by a writer that numbers
    // the tree its own way; the window reads it and stays where it was.
    void fileReplacedOnDiskIsShownInPlace() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Shared.QVS"));
        const auto first = Version(1, 2, 1);
        first->SetFilePW("pw");
        QVERIFY(first->SaveFile(path.toStdString(), false));
        Opt().AutoCheck = false;
        MenuWindow w;
        DiskGuard guard;
        QVERIFY(OpenDataFile(path, QStringLiteral("pw")));
        w.ShowNode(SubCategoryNodeKey(1, 1));
        w.SelectRow(QStringLiteral("Card B"));

        // Written by a program that opened the file (its key stays) and
        // numbers the tree its own way.
        ardeko::clsPW other;
        QVERIFY(other.LoadFile(path.toStdString(), "pw"));
        const auto renumbered = Version(7, 3, 9, true);
        other.SetCategory(renumbered->Category());
        other.SetSubCategory(renumbered->SubCategory());
        other.SetPassword(renumbered->Password());
        QVERIFY(other.SaveFile("", false));
        QTRY_VERIFY_WITH_TIMEOUT(Store().Password().Contains("Card D"), 6000);
        QCOMPARE(w.window.Tree()->ShownKey(), SubCategoryNodeKey(7, 9));
        QCOMPARE(w.window.SelectedService(), QStringLiteral("Card B"));
        QVERIFY(!Store().NotSaved());
        auto* note = w.window.StatusBar()->findChild<QLabel*>(QStringLiteral("sbNote"));
        QVERIFY(note && note->text().startsWith(GetLocalText(34500).section('%', 0, 0)));
    }
};

QTEST_MAIN(TestFrmMainReload)
#include "tst_frm_main_reload.moc"
