// Filling the windows' lists with categories and subcategories, and the
// remembered open state of tree nodes.
#include "store/pw.h"
#include "tests/store/fake_list.h"
#include "tests/store/store_names.h"
#include "tests/store/store_samples.h"

#include <QtTest>

using namespace ardeko;

class TestLists : public QObject {
    Q_OBJECT

private slots:
    void fillLists_data() {
        QTest::addColumn<bool>("sample");         // else an empty store
        QTest::addColumn<int>("subcategoriesOf"); // 0: the categories
        QTest::addColumn<QString>("def");
        QTest::addColumn<QString>("expected");
        QTest::newRow("categories") << true << 0 << ""
                                    << "*Banks=1,Mail=2";
        QTest::newRow("categories, default") << true << 0 << "(all)"
                                             << "*(all)=0,Banks=1,Mail=2";
        QTest::newRow("no categories") << false << 0 << ""
                                       << "";
        QTest::newRow("no categories, default") << false << 0 << "(all)"
                                                << "*(all)=0";
        QTest::newRow("subcategories") << true << 1 << ""
                                       << "*Alpha=3,Cards=1";
        QTest::newRow("subcategories, default") << true << 2 << "-Nothing-"
                                                << "*-Nothing-=0,Work=2";
        QTest::newRow("no subcategories") << true << 9 << ""
                                          << "";
    }
    void fillLists() {
        QFETCH(bool, sample);
        QFETCH(int, subcategoriesOf);
        QFETCH(QString, def);
        QFETCH(QString, expected);
        clsPW s;
        if (sample) {
            FillSample(s);
            s.InsertSubCategory({3, 1, "Alpha"});
        }
        FakeList list;
        list.AddItem("left over");
        list.SetListIndex(0);
        if (subcategoriesOf == 0)
            s.ControlCat(list, def.toStdString());
        else
            s.ControlSCat(list, static_cast<std::int16_t>(subcategoriesOf), def.toStdString());
        QCOMPARE(list.Text(), expected);
    }

    void nodeStates() {
        clsPW s;
        FillSample(s); // Banks closed, Mail open
        QVERIFY(s.NodeStat("Never stored"));
        QVERIFY(!s.NodeStat("banks"));
        s.ChangeNodeStatus("BANKS", true);
        s.ChangeNodeStatus("New", false);
        QVERIFY(s.NodeStat("Banks"));
        QVERIFY(!s.NodeStat("new"));
        QCOMPARE(Names(s.NodeStates()), "Mail,BANKS,New"); // re-stored at the end
        QVERIFY(!s.NotSaved());
    }
};

QTEST_GUILESS_MAIN(TestLists)
#include "tst_lists.moc"
