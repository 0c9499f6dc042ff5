// Entry operations: add, replace, delete, rename, re-file, single fields and
// favourites.
#include "store/pw.h"
#include "tests/store/record_compare.h"
#include "tests/store/store_names.h"
#include "tests/store/store_samples.h"

#include <QtTest>

using namespace ardeko;

class TestEntries : public QObject {
    Q_OBJECT

private slots:
    void addAndDelete() {
        clsPW s;
        FillSample(s);
        QVERIFY(!s.PWAdd(SampleEntry("MAILBOX")));
        QCOMPARE(s.ErrNum(), Code(StoreError::DuplicateKey));
        QCOMPARE(s.ErrDescr(), std::string("You cannot duplicate Service!"));
        QVERIFY(!s.PWDel("Nope"));
        QVERIFY(!s.NotSaved());

        QVERIFY(s.PWAdd(SampleEntry("Zeta", 2, 2)));
        QVERIFY(s.NotSaved());
        QVERIFY(s.PWAdd(SampleEntry("apple")));
        QVERIFY(s.PWAdd(SampleEntry("Bank AA")));
        QCOMPARE(Names(s.Password()), "Bank A,Bank AA,Bank B,Loose,Mailbox,Zeta,apple");
        COMPARE_RECORDS(*s.Password().Find("zeta"), SampleEntry("Zeta", 2, 2));

        clsPW d;
        FillSample(d);
        QVERIFY(d.PWDel("loose"));
        QVERIFY(d.NotSaved());
        QCOMPARE(Names(d.Password()), "Bank A,Bank B,Mailbox");
    }

    void replaceAndRename_data() {
        QTest::addColumn<bool>("rename"); // PWRen, else PWEdit
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("names");
        const QString before = "Bank A,Bank B,Loose,Mailbox";
        QTest::newRow("edit, same name") << false << "Bank B"
                                         << "Bank B" << true << before;
        QTest::newRow("edit, new name") << false << "bank b"
                                        << "Zulu" << true << "Bank A,Loose,Mailbox,Zulu";
        QTest::newRow("edit, letter case") << false << "Bank B"
                                           << "BANK B" << true << "BANK B,Bank A,Loose,Mailbox";
        QTest::newRow("edit onto another") << false << "Bank B"
                                           << "mailbox" << false << before;
        QTest::newRow("edit unknown") << false << "Nope"
                                      << "X" << false << before;
        QTest::newRow("rename") << true << "Bank B"
                                << "Zulu" << true << "Bank A,Loose,Mailbox,Zulu";
        QTest::newRow("rename, letter case") << true << "Loose"
                                             << "LOOSE" << true << "Bank A,Bank B,LOOSE,Mailbox";
        QTest::newRow("rename onto another") << true << "Bank B"
                                             << "bank a" << false << before;
        QTest::newRow("rename unknown") << true << "Nope"
                                        << "X" << false << before;
    }
    void replaceAndRename() {
        QFETCH(bool, rename);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, ok);
        QFETCH(QString, names);
        clsPW s;
        FillSample(s);
        const clsPW original = s;
        const std::string oldName = from.toStdString(), newName = to.toStdString();
        T_Password expected = SampleEntry(newName, 2, 0);
        expected.User = "edited";
        if (rename) {
            if (const T_Password* old = s.Password().Find(oldName)) expected = *old;
            expected.service = newName;
        }
        QCOMPARE(rename ? s.PWRen(oldName, newName) : s.PWEdit(expected, oldName), ok);
        QCOMPARE(Names(s.Password()), names);
        QCOMPARE(s.NotSaved(), ok);
        if (ok) {
            COMPARE_RECORDS(*s.Password().Find(newName), expected);
        } else {
            COMPARE_RECORDS(Items(s.Password()), Items(original.Password()));
            QCOMPARE(s.ErrNum(), oldName == "Nope" ? 0 : 457);
        }
    }

    void changeCategory() {
        clsPW s;
        FillSample(s);
        QVERIFY(!s.PWChangeCat("Nope", 1, 1));
        QVERIFY(!s.NotSaved());
        QVERIFY(s.PWChangeCat("bank a", 2)); // the subcategory code stays
        QVERIFY(s.NotSaved());
        QVERIFY(s.PWChangeCat("Loose", -1, 5));
        QVERIFY(s.PWChangeCat("Bank B"));
        QCOMPARE(Codes(s.Password()), "Mailbox=2/2,Bank A=2/1,Loose=0/5,Bank B=1/0");
        COMPARE_RECORDS(*s.Password().Find("Bank A"), SampleEntry("Bank A", 2, 1));
    }

    // Many at once: as one by one, in store order; unknown names skipped,
    // nothing found leaves the store unchanged.
    void changeCategoryOfMany() {
        clsPW s;
        FillSample(s);
        QCOMPARE(s.PWChangeCatAll({"Nope"}, 1, 1), std::size_t(0));
        QVERIFY(!s.NotSaved());
        QCOMPARE(s.PWChangeCatAll({"loose", "Nope", "bank a"}, 3, 0), std::size_t(2));
        QVERIFY(s.NotSaved());
        QCOMPARE(Codes(s.Password()), "Bank B=1/0,Mailbox=2/2,Bank A=3/0,Loose=3/0");
        QCOMPARE(s.PWChangeCatAll({"Mailbox"}, -1, 7), std::size_t(1));
        QCOMPARE(s.Password().Find("Mailbox")->Codcat, 2);
    }

    void getText_data() {
        QTest::addColumn<QString>("service");
        QTest::addColumn<int>("selector");
        QTest::addColumn<QString>("expected");
        QTest::newRow("user") << "shop" << 1 << "user of Shop";
        QTest::newRow("password") << "Shop" << 2 << "pw-Shop";
        QTest::newRow("description") << "Shop" << 3 << "notes";
        QTest::newRow("access") << "Shop" << 4 << "https://example.org/Shop";
        QTest::newRow("change") << "Shop" << 5 << "https://example.org/change";
        QTest::newRow("delete") << "Shop" << 6 << "https://example.org/delete";
        QTest::newRow("keys") << "Shop" << 7 << "-1234";
        QTest::newRow("selector 0") << "Shop" << 0 << "";
        QTest::newRow("selector 8") << "Shop" << 8 << "";
        QTest::newRow("missing entry") << "Nope" << 1 << "";
    }
    void getText() {
        QFETCH(QString, service);
        QFETCH(int, selector);
        QFETCH(QString, expected);
        clsPW s;
        T_Password p = SampleEntry("Shop");
        p.Descr = "notes";
        p.URL_Change = "https://example.org/change";
        p.URL_Delete = "https://example.org/delete";
        p.Keyaftbef = -1234;
        QVERIFY(s.PWAdd(p));
        QVERIFY(!s.PWAdd(p)); // leaves an error behind
        const auto text = s.GetText(static_cast<E_GetPw>(selector), service.toStdString());
        QCOMPARE(QString::fromStdString(text), expected);
        QCOMPARE(s.ErrNum(), Code(StoreError::DuplicateKey));
        QCOMPARE(s.ErrDescr(), std::string(service == "Nope" ? "Service not Found!"
                                                             : "You cannot duplicate Service!"));
    }

    void favourites() {
        clsPW s;
        FillSample(s);
        QVERIFY(!s.AddFavourite("Nope"));
        QVERIFY(!s.NotSaved());
        QVERIFY(s.AddFavourite("bank b"));
        QVERIFY(s.NotSaved());
        QVERIFY(s.AddFavourite("Mailbox"));
        QCOMPARE(s.FavouriteNumber(), 2);
        QVERIFY(s.Password().Find("Bank B")->Favourites);
        QVERIFY(s.DelFavourite("BANK B"));
        QCOMPARE(s.FavouriteNumber(), 1);
        QCOMPARE(Names(s.Password()), "Bank A,Bank B,Loose,Mailbox");
        COMPARE_RECORDS(*s.Password().Find("Bank B"), SampleEntry("Bank B", 1, 0));
    }

    void replacedPasswordsGoToTheHistory() {
        clsPW s;
        FillSample(s);
        double now = 46100;
        s.SetClock([&now] { return now; });
        s.SetHistoryLimit(3);
        const auto setPw = [&s](const std::string& pw) {
            T_Password p = *s.Password().Find("Loose");
            p.pw = pw;
            QVERIFY(s.PWEdit(p, "Loose"));
        };
        for (const char* pw : {"one", "two", "", "three", "four"}) {
            setPw(pw);
            now += 1;
        }
        setPw("four"); // unchanged: nothing new
        QVERIFY(s.AddFavourite("Loose"));
        QVERIFY(s.PWRen("Loose", "Renamed"));
        const std::vector<T_PwHistory> expected = {
            {"three", 46104}, {"two", 46102}, {"one", 46101}};
        QCOMPARE(s.Password().Find("Renamed")->History, expected); // an empty password is not kept
        // Deleting the entry deletes its history with it.
        QVERIFY(s.PWDel("Renamed"));
        QVERIFY(s.PWAdd(SampleEntry("Renamed")));
        QVERIFY(s.Password().Find("Renamed")->History.empty());
        s.SetHistoryLimit(99);
        QCOMPARE(s.HistoryLimit(), 50);
        s.SetHistoryLimit(-1);
        QCOMPARE(s.HistoryLimit(), 0);
    }
};

QTEST_GUILESS_MAIN(TestEntries)
#include "tst_entries.moc"
