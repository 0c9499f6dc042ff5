// An entry edited in a window while the store under it changed: only what
// the user changed is put on top of the entry as it is now.
#include "store/merge/entry_rebase.h"

#include <QtTest>

using namespace ardeko;

namespace {

PlacedEntry Opened() {
    PlacedEntry e;
    e.rec.service = "Bank";
    e.rec.User = "alice";
    e.rec.pw = "old";
    e.rec.Email = "a@example.org";
    e.rec.Dt_Modif = 46000;
    e.rec.Id = "id1";
    e.cat = "Banks";
    return e;
}

RebasedEdit Rebase(const PlacedEntry& edited, const PlacedEntry& current) {
    return RebaseEdit(Opened(), Opened(), edited, current, 10);
}

} // namespace

class TestEntryRebase : public QObject {
    Q_OBJECT

private slots:
    // The reported fault: the other machine set the user name, this one the
    // password; writing the window's whole record lost the user name.
    void changesInDifferentFieldsAreBothKept() {
        PlacedEntry edited = Opened(), current = Opened();
        edited.rec.pw = "mine";
        current.rec.User = "bob";
        current.rec.service = "Bank (renamed)";
        current.cat = "Money";
        current.sub = "Cards";
        current.rec.Dt_Modif = 46001;
        const RebasedEdit r = Rebase(edited, current);
        QVERIFY(r.changedSinceOpened);
        QVERIFY(r.clashes.empty());
        QCOMPARE(r.theirsOnClash.rec.pw, std::string("mine"));
        QCOMPARE(r.theirsOnClash.rec.User, std::string("bob"));
        QCOMPARE(r.theirsOnClash.rec.service, std::string("Bank (renamed)"));
        QCOMPARE(r.theirsOnClash.cat + "/" + r.theirsOnClash.sub, std::string("Money/Cards"));
        QCOMPARE(r.theirsOnClash.rec.Id, std::string("id1"));
    }

    void sameFieldChangedDifferentlyIsAClash() {
        PlacedEntry edited = Opened(), current = Opened();
        edited.rec.pw = "mine";
        edited.rec.Email = "same@example.org";
        edited.cat = "Mine";
        current.rec.pw = "theirs";
        current.rec.Email = "same@example.org"; // the same change: no clash
        current.cat = "Theirs";
        const RebasedEdit r = Rebase(edited, current);
        QCOMPARE(r.clashes, (std::vector<Field>{Field::CategoryName, Field::Password}));
        QCOMPARE(r.theirsOnClash.rec.pw, std::string("theirs"));
        QCOMPARE(r.theirsOnClash.cat, std::string("Theirs"));
        QCOMPARE(r.mineOnClash.rec.pw, std::string("mine"));
        QCOMPARE(r.mineOnClash.cat, std::string("Mine"));
        QCOMPARE(r.mineOnClash.rec.Email, std::string("same@example.org"));
    }

    // What the controls make of an entry (a date shown for an unset one)
    // is no change of the user's, and does not undo the other side's.
    void controlsNormalisingAFieldIsNoChange() {
        PlacedEntry shown = Opened(), edited = Opened(), current = Opened();
        shown.rec.Dt_Expire = edited.rec.Dt_Expire = 46400;
        current.rec.Dt_Expire = 46500;
        current.rec.blExpire = true;
        edited.rec.User = "carol";
        const RebasedEdit r = RebaseEdit(Opened(), shown, edited, current, 10);
        QVERIFY(r.clashes.empty());
        QCOMPARE(r.theirsOnClash.rec.Dt_Expire, 46500.0);
        QVERIFY(r.theirsOnClash.rec.blExpire);
        QCOMPARE(r.theirsOnClash.rec.User, std::string("carol"));
    }

    void unchangedEntryAndUnitedHistory() {
        PlacedEntry edited = Opened();
        edited.rec.pw = "mine";
        edited.rec.History = {{"old", 46002}};
        QVERIFY(!Rebase(edited, Opened()).changedSinceOpened);

        PlacedEntry current = Opened();
        current.rec.pw = "theirs";
        current.rec.History = {{"old", 46001}};
        const RebasedEdit r = Rebase(edited, current);
        QCOMPARE(r.clashes, std::vector<Field>{Field::Password});
        QCOMPARE(r.mineOnClash.rec.History.size(), std::size_t(2));
        QCOMPARE(r.theirsOnClash.rec.History, r.mineOnClash.rec.History);
    }

    // Extra fields pair by name: the user added one while the other machine
    // changed another, and both stay; the same field changed differently on
    // both sides is still a clash.
    void extraFieldsMergeOneByOne() {
        PlacedEntry opened = Opened();
        opened.rec.Fields = {{"PIN", "1234", true}};
        PlacedEntry edited = opened, current = opened;
        edited.rec.Fields.push_back({"Account", "77", false});
        current.rec.Fields[0].value = "9999";
        RebasedEdit r = RebaseEdit(opened, opened, edited, current, 10);
        QVERIFY(r.clashes.empty());
        const std::vector<T_CustomField> both{{"PIN", "9999", true}, {"Account", "77", false}};
        QCOMPARE(r.theirsOnClash.rec.Fields, both);
        QCOMPARE(r.mineOnClash.rec.Fields, both);

        edited.rec.Fields[0].value = "5555";
        r = RebaseEdit(opened, opened, edited, current, 10);
        QCOMPARE(r.clashes.size(), std::size_t(1));
        QCOMPARE(r.theirsOnClash.rec.Fields[0].value, std::string("9999"));
        QCOMPARE(r.mineOnClash.rec.Fields[0].value, std::string("5555"));
    }
};

QTEST_GUILESS_MAIN(TestEntryRebase)
#include "tst_entry_rebase.moc"
