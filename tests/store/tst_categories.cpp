// Category and subcategory operations: codes, name order, renames, deletes
// and moves with their entries, and the queries the tree and dialogs use.
#include "store/pw.h"
#include "tests/store/fake_list.h"
#include "tests/store/store_names.h"
#include "tests/store/store_samples.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ardeko;

class TestCategories : public QObject {
    Q_OBJECT

private slots:
    void addAllocatesCodesAndRefusesDuplicates() {
        clsPW s;
        QVERIFY(s.CatAdd("Banks"));
        QVERIFY(s.NotSaved());
        QVERIFY(s.CatAdd("apple"));
        QCOMPARE(Codes(s.Category()), "Banks=1,apple=2"); // ordinal order
        QVERIFY(s.SubCatAdd(1, "Cards"));
        QVERIFY(s.SubCatAdd(2, "Cards"));
        QVERIFY(s.SubCatAdd(7, "Loans")); // the category is not checked
        QCOMPARE(Codes(s.SubCategory()), "Cards=1/1,Cards=2/2,Loans=7/3");
        QCOMPARE(s.SubCategory().KeyAt(1), std::string("2!Cards"));

        // A code that a subcategory still names (7) is never handed out, so
        // a new category cannot adopt what it files; a code no one names any
        // more (2) is free again.
        QVERIFY(s.CatDel("apple", true));
        QVERIFY(s.CatAdd("Cherry"));
        QCOMPARE(Codes(s.Category()), "Banks=1,Cherry=8");
        QCOMPARE(Codes(s.SubCategory()), "Cards=1/1,Loans=7/3");

        clsPW d;
        FillSample(d);
        QVERIFY(!d.CatAdd("banks"));
        QCOMPARE(d.ErrNum(), Code(StoreError::DuplicateKey));
        QCOMPARE(d.ErrDescr(), std::string("You cannot duplicate Category!"));
        QVERIFY(!d.SubCatAdd(1, "CARDS"));
        QCOMPARE(d.ErrDescr(), std::string("You cannot duplicate SubCategory!"));
        QVERIFY(!d.NotSaved());

        d.InsertCategory({32767, "Top", false});
        d.InsertSubCategory({32767, 1, "Top"});
        QVERIFY(!d.CatAdd("More"));
        QCOMPARE(d.ErrNum(), Code(StoreError::Overflow));
        QVERIFY(!d.SubCatAdd(1, "More"));
        QCOMPARE(d.ErrNum(), Code(StoreError::Overflow));
        QVERIFY(!d.CatExist("More") && !d.SubCatExist(1, "More"));
    }

    void deleteCategory_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("move");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("entries");
        QTest::newRow("keep entries")
            << "BANKS" << true << true << "Loose=0/0,Mailbox=2/2,Bank A=0/0,Bank B=0/0";
        QTest::newRow("with entries") << "Banks" << false << true << "Loose=0/0,Mailbox=2/2";
        QTest::newRow("unknown") << "Nope" << true << false
                                 << "Bank A=1/1,Bank B=1/0,Loose=0/0,Mailbox=2/2";
    }
    void deleteCategory() {
        QFETCH(QString, name);
        QFETCH(bool, move);
        QFETCH(bool, ok);
        QFETCH(QString, entries);
        clsPW s;
        FillSample(s);
        QCOMPARE(s.CatDel(name.toStdString(), move), ok);
        QCOMPARE(s.NotSaved(), ok);
        QCOMPARE(Names(s.Category()), ok ? "Mail" : "Banks,Mail");
        QCOMPARE(Names(s.SubCategory()), ok ? "Work" : "Cards,Work");
        QCOMPARE(Codes(s.Password()), entries);
        QCOMPARE(Names(s.NodeStates()), "Banks,Mail");
    }

    void rename_data() {
        QTest::addColumn<int>("category"); // 0: rename a category
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("result");
        QTest::newRow("category") << 0 << "Mail"
                                  << "Alpha" << true << "Banks=1,Alpha=2";
        QTest::newRow("category onto another") << 0 << "Banks"
                                               << "MAIL" << false << "Banks=1,Mail=2";
        QTest::newRow("category letter case") << 0 << "Banks"
                                              << "BANKS" << true << "Mail=2,BANKS=1";
        QTest::newRow("category unknown") << 0 << "Nope"
                                          << "X" << false << "Banks=1,Mail=2";
        const QString subs = "Cards=1/1,Debit=1/3,Work=2/2";
        QTest::newRow("sub") << 1 << "Cards"
                             << "Loans" << true << "Debit=1/3,Work=2/2,Loans=1/1";
        QTest::newRow("sub onto sibling") << 1 << "Cards"
                                          << "debit" << false << subs;
        QTest::newRow("sub name of other category")
            << 1 << "Cards"
            << "Work" << true << "Debit=1/3,Work=2/2,Work=1/1";
        QTest::newRow("sub letter case") << 1 << "Cards"
                                         << "CARDS" << true << "Debit=1/3,Work=2/2,CARDS=1/1";
        QTest::newRow("sub of other category") << 1 << "Work"
                                               << "X" << false << subs;
    }
    void rename() {
        QFETCH(int, category);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, ok);
        QFETCH(QString, result);
        clsPW s;
        FillSample(s);
        s.InsertSubCategory({3, 1, "Debit"});
        const std::string newName = to.toStdString();
        if (category == 0) {
            QCOMPARE(s.CatRen(from.toStdString(), newName), ok);
            QCOMPARE(Codes(s.Category()), result);
            QVERIFY(!ok || s.Category().Find(newName)->DescrCat == newName);
        } else {
            QCOMPARE(s.SubCatRen(1, from.toStdString(), newName), ok);
            QCOMPARE(Codes(s.SubCategory()), result);
            QVERIFY(!ok || s.SubCatExist(1, newName));
        }
        QCOMPARE(s.NotSaved(), ok);
    }

    void dropSubcategory_data() {
        QTest::addColumn<bool>("moveToOther"); // SubCatMove to category 2, else SubCatDel
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("move");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("entries");
        const QString rest = "Bank B=1/0,Loose=0/0,Mailbox=2/2";
        // Stray is filed in Mail under the code of Banks' Cards.
        QTest::newRow("delete, keep entries")
            << false << "cards" << true << true << rest + ",Bank A=1/0,Bank C=1/0,Stray=1/0";
        QTest::newRow("delete with entries") << false << "Cards" << false << true << rest;
        QTest::newRow("move, keep entries")
            << true << "Cards" << true << true << rest + ",Stray=2/1,Bank A=2/0,Bank C=2/0";
        QTest::newRow("move, drop entries")
            << true << "Cards" << false << true << rest + ",Stray=2/1";
        QTest::newRow("unknown")
            << false << "Work" << true << false
            << "Bank A=1/1,Bank B=1/0,Bank C=1/1,Loose=0/0,Mailbox=2/2,Stray=2/1";
    }
    void dropSubcategory() {
        QFETCH(bool, moveToOther);
        QFETCH(QString, name);
        QFETCH(bool, move);
        QFETCH(bool, ok);
        QFETCH(QString, entries);
        clsPW s;
        FillSample(s);
        s.InsertPassword(SampleEntry("Bank C", 1, 1));
        s.InsertPassword(SampleEntry("Stray", 2, 1));
        const std::string scat = name.toStdString();
        QCOMPARE(moveToOther ? s.SubCatMove(1, 2, scat, move) : s.SubCatDel(1, scat, move), ok);
        QCOMPARE(Codes(s.Password()), entries);
        QCOMPARE(Names(s.SubCategory()), ok ? "Work" : "Cards,Work");
        QCOMPARE(s.NotSaved(), ok);
    }

    void changeCategoryOfSubcategory() {
        clsPW s;
        FillSample(s);
        s.InsertSubCategory({3, 1, "Work"});
        QVERIFY(!s.CatChange("Work", 1, 2)); // 2!Work exists
        QVERIFY(!s.CatChange("Nope", 1, 2));
        QVERIFY(!s.NotSaved());
        QCOMPARE(Codes(s.SubCategory()), "Cards=1/1,Work=2/2,Work=1/3");

        QVERIFY(s.CatChange("cards", 1, 2));
        QVERIFY(s.NotSaved());
        QCOMPARE(Codes(s.SubCategory()), "Work=2/2,Work=1/3,Cards=2/1");
        QCOMPARE(s.FindSubCatInCat("2!CARDS"), std::int16_t(2));
        QVERIFY(!s.SubCatExist(1, "Cards"));
        QCOMPARE(Codes(s.Password()), "Bank B=1/0,Loose=0/0,Mailbox=2/2,Bank A=2/1");
    }

    // The converted category's own subcategories stay behind under a code no
    // category has; nothing the store does may trip over them.
    void categoryIntoSubcategoryLeavesHarmlessOrphans() {
        clsPW s;
        FillSample(s);
        QVERIFY(!s.CambiaCatInSub("Mail", 2)); // into itself
        QVERIFY(!s.CambiaCatInSub("Nope", 2));
        QVERIFY(!s.NotSaved());
        QVERIFY(s.CambiaCatInSub("banks", 2));
        QVERIFY(s.NotSaved());
        QCOMPARE(Codes(s.Category()), "Mail=2");
        QCOMPARE(Codes(s.SubCategory()), "Cards=1/1,Work=2/2,Banks=2/3");
        QCOMPARE(Codes(s.Password()), "Loose=0/0,Mailbox=2/2,Bank A=2/3,Bank B=2/3");

        QCOMPARE(s.CatNumber(), 1);
        QCOMPARE(s.SubCatNumber(2), 2);
        QCOMPARE(s.PwInCat("Mail"), 3);
        QCOMPARE(s.PwInSubCat(2, "Banks"), 2);
        QCOMPARE(s.FindSubCatInCat("1!Cards"), std::int16_t(1));
        QCOMPARE(s.CatValue(1), std::string());
        FakeList list;
        s.ControlSCat(list, 2);
        QCOMPARE(list.Text(), "*Work=2,Banks=3");
        QVERIFY(s.SubCatAdd(2, "Cards"));

        QTemporaryDir dir;
        const std::string path = dir.filePath("orphans.QVS").toStdString();
        QVERIFY2(s.SaveFile(path, false), s.ErrDescr().c_str());
        clsPW r;
        QVERIFY(r.LoadFile(path));
        QCOMPARE(r.ErrNum(), 0);
        QCOMPARE(Codes(r.SubCategory()), "Banks=2/3,Cards=1/1,Cards=2/4,Work=2/2");
        QCOMPARE(Codes(r.Password()), "Bank A=2/3,Bank B=2/3,Loose=0/0,Mailbox=2/2");
        QVERIFY(r.SubCatDel(1, "Cards", true));
        QCOMPARE(Codes(r.Password()), "Bank A=2/3,Bank B=2/3,Loose=0/0,Mailbox=2/2");
    }

    // Converting the category with the highest code leaves subcategories and
    // entries under that code; a category added next must not adopt them.
    void newCategoriesDoNotAdoptOrphans() {
        clsPW s;
        FillSample(s);
        s.InsertCategory({5, "Shops", false});
        s.InsertSubCategory({9, 5, "Online"});
        s.InsertPassword(SampleEntry("Shop", 5, 9));
        QVERIFY(s.CambiaCatInSub("Shops", 1));
        // The entry went along; the subcategory "Online" stays under 5.
        QVERIFY(s.CatAdd("Fresh"));
        const std::int16_t fresh = s.Category().Find("Fresh")->Codcat;
        QVERIFY(fresh > 5);
        QCOMPARE(s.SubCatNumber(fresh), 0);
        QCOMPARE(s.PwInCat("Fresh"), 0);
        // A store handed a default-made collection inserts into it as usual.
        s.SetCategory(CategoryCollection{});
        QVERIFY(s.CatAdd("Again"));
        QVERIFY(s.CatAdd("Bgain"));
        QCOMPARE(Names(s.Category()), "Again,Bgain");
    }

    // The bulk moves work in one pass; their order must stay the one that
    // re-filing the entries one at a time gives.
    void bulkMovesKeepTheOneByOneOrder_data() {
        QTest::addColumn<int>("op");
        QTest::newRow("CatDel move") << 0;
        QTest::newRow("CatDel delete") << 1;
        QTest::newRow("SubCatDel") << 2;
        QTest::newRow("SubCatMove") << 3;
        QTest::newRow("CatChange") << 4;
        QTest::newRow("CambiaCatInSub") << 5;
    }
    void bulkMovesKeepTheOneByOneOrder() {
        QFETCH(int, op);
        clsPW s, expected;
        for (clsPW* t : {&s, &expected}) {
            FillSample(*t);
            for (int i = 0; i < 200; ++i)
                t->InsertPassword(SampleEntry("E" + std::to_string((i * 7919) % 1000),
                                              static_cast<std::int16_t>(i % 3),
                                              static_cast<std::int16_t>(i % 5 % 3)));
            t->PWChangeCat("E0", -1, -1); // out of name order from the start
        }
        auto refile = [&](auto match, std::int16_t cat, std::int16_t scat, bool move) {
            std::vector<std::string> keys;
            for (std::size_t i = 0; i < expected.Password().Count(); ++i)
                if (match(expected.Password()[i])) keys.push_back(expected.Password().KeyAt(i));
            for (const auto& k : keys)
                QVERIFY(move ? expected.PWChangeCat(k, cat, scat) : expected.PWDel(k));
        };
        switch (op) {
        case 0:
        case 1:
            QVERIFY(s.CatDel("Banks", op == 0));
            refile([](const T_Password& p) { return p.Codcat == 1; }, 0, 0, op == 0);
            break;
        case 2:
            QVERIFY(s.SubCatDel(1, "Cards", true));
            refile([](const T_Password& p) { return p.CodSCat == 1; }, 1, 0, true);
            break;
        case 3:
            QVERIFY(s.SubCatMove(1, 2, "Cards", true));
            refile([](const T_Password& p) { return p.CodSCat == 1 && p.Codcat == 1; }, 2, 0, true);
            break;
        case 4:
            QVERIFY(s.CatChange("Cards", 1, 2));
            refile([](const T_Password& p) { return p.CodSCat == 1 && p.Codcat == 1; }, 2, -1,
                   true);
            break;
        case 5:
            QVERIFY(s.CambiaCatInSub("Banks", 2));
            refile([](const T_Password& p) { return p.Codcat == 1; }, 2, 3, true);
            break;
        }
        QCOMPARE(Codes(s.Password()), Codes(expected.Password()));
        QVERIFY(s.NotSaved());
        // Lookups by key still find every record where it now is.
        for (const T_Password& p : s.Password())
            QCOMPARE(s.Password().Find(p.service), &p);
    }

    void queries() {
        clsPW s;
        FillSample(s);
        QCOMPARE(s.CatValue(2), std::string("Mail"));
        QCOMPARE(s.CatValue(9), std::string());
        QCOMPARE(s.SubCatValue(2), std::string("Work"));
        QCOMPARE(s.SubCatValue(0), std::string());
        QVERIFY(s.CatExist("MAIL") && !s.CatExist("Nope"));
        QVERIFY(s.SubCatExist(1, "cards") && !s.SubCatExist(2, "Cards"));
        QCOMPARE(s.PwInCat("Banks"), 2);
        QCOMPARE(s.PwInCat(""), 1);
        QCOMPARE(s.PwInCat("Nope"), std::nullopt);
        QCOMPARE(s.PwInSubCat(1, "Cards"), 1);
        QCOMPARE(s.PwInSubCat(1, ""), 1);
        QCOMPARE(s.PwInSubCat(2, ""), 0);
        QCOMPARE(s.PwInSubCat(1, "Work"), std::nullopt);
        QCOMPARE(s.SubCatNumber(1), 1);
        QCOMPARE(s.SubCatNumber(9), 0);
        QCOMPARE(s.CatNumber(), 2);
        QCOMPARE(s.FindSubCatInCat("2!work"), std::int16_t(2));
        QCOMPARE(s.FindSubCatInCat("3!Work"), std::int16_t(0));

        // More entries than a 16-bit count holds.
        for (int i = 0; i < 33000; ++i)
            s.InsertPassword(SampleEntry(QString::asprintf("E%05d", i).toStdString(), 1, 1));
        QCOMPARE(s.PwInCat("Banks"), 33002);
        QCOMPARE(s.PwInSubCat(1, "Cards"), 33001);
    }
};

QTEST_GUILESS_MAIN(TestCategories)
#include "tst_categories.moc"
