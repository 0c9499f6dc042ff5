// Merging two versions of a file: what each side's changes become, in both
// orders (the merged content must not depend on which side is "mine"), with
// categories paired by name across differing codes.
#include "store/merge/merge_entries.h"
#include "store/pw.h"
#include "tests/store/merge_samples.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ardeko;
using namespace merge_samples;

class TestMerge : public QObject {
    Q_OBJECT

private slots:
    void changesOfOneSideAreTaken() {
        const clsPW base = Sample();
        clsPW mine = base;
        const clsPW theirs = base;
        QVERIFY(mine.PWAdd(SampleEntry("New", 2, 2)));
        QVERIFY(mine.PWDel("Bank B"));
        EditPw(mine, "Loose", "changed", 46100);
        QVERIFY(mine.PWChangeCat("Mailbox", 1, 1)); // moved

        Both r = MergeBothWays(&base, mine, theirs);
        QCOMPARE_BOTH(r);
        QCOMPARE(Content(r.ab), Content(mine));
        QCOMPARE(Names(r.sab.mine.added), QStringList{"New"});
        QCOMPARE(Names(r.sab.mine.deleted), QStringList{"Bank B"});
        QCOMPARE(Names(r.sab.mine.changed), QStringList({"Loose", "Mailbox"}));
        QVERIFY(r.sab.NothingFromTheirs());
        // The other order: the same changes, now from theirs.
        QCOMPARE(Names(r.sba.theirs.added), QStringList{"New"});
        QCOMPARE(Names(r.sba.theirs.deleted), QStringList{"Bank B"});
        QVERIFY(r.ab.NotSaved());
        QVERIFY(r.ba.NotSaved());
    }

    void changesOnBothSides() {
        const clsPW base = Sample();
        clsPW mine = base, theirs = base;
        // Different fields: both kept, no copy.
        EditPw(mine, "Bank A", "mine", 46100);
        Edit(
            theirs, "Bank A", [](T_Password& p) { p.User = "their user"; }, 46200);
        QVERIFY(theirs.AddFavourite("Bank A"));
        // The same field: the later change wins, the other is kept beside it.
        EditPw(mine, "Mailbox", "older", 46100.5);
        EditPw(theirs, "Mailbox", "newer", 46300.25);
        // The same change on both sides is no conflict.
        EditPw(mine, "Loose", "same", 46100);
        EditPw(theirs, "Loose", "same", 46100);

        Both r = MergeBothWays(&base, mine, theirs);
        QCOMPARE_BOTH(r);
        const clsPW& m = r.ab;
        const T_Password& a = *m.Password().Find("Bank A");
        QCOMPARE(a.pw, std::string("mine"));
        QCOMPARE(a.User, std::string("their user"));
        QVERIFY(a.Favourites);
        QCOMPARE(a.Dt_Modif, 46200.0);
        QCOMPARE(m.Password().Find("Mailbox")->pw, std::string("newer"));
        const std::string copy = "Mailbox (conflict 2026-03-19 12:00)";
        QVERIFY(m.Password().Find(copy));
        QCOMPARE(m.Password().Find(copy)->pw, std::string("older"));
        QCOMPARE(m.Password().Count(), std::size_t(5));
        QCOMPARE(r.sab.conflicts.size(), std::size_t(1));
        QCOMPARE(r.sab.conflicts[0].copy, copy);
        QCOMPARE(Names(r.sab.combined), QStringList{"Bank A"});
        // The copy stays where its version was filed.
        QCOMPARE(m.CatValue(m.Password().Find(copy)->Codcat), std::string("Mail"));
    }

    void codesMergeAsAFieldAndHistoriesAreUnited() {
        clsPW base = Sample();
        T_Password a = *base.Password().Find("Bank A");
        a.History = {{"h1", 45000}};
        QVERIFY(base.PWEdit(a, "Bank A"));
        clsPW mine = base, theirs = base;
        mine.SetClock([] { return 46100.0; });
        theirs.SetClock([] { return 46200.0; });
        // Bank A: mine changes the password, theirs drops h1 and changes the user.
        Edit(
            mine, "Bank A", [](T_Password& p) { p.pw = "new A"; }, 46100);
        Edit(
            theirs, "Bank A",
            [](T_Password& p) {
                p.History.clear();
                p.User = "u";
            },
            46200);
        // Loose: theirs sets a code, mine changes another field.
        Edit(
            theirs, "Loose", [](T_Password& p) { p.Totp = "otpauth://totp/x?secret=AAAA"; }, 46200);
        Edit(
            mine, "Loose", [](T_Password& p) { p.Descr = "d"; }, 46100);
        // Mailbox: both change the password, so a conflict.
        Edit(
            mine, "Mailbox", [](T_Password& p) { p.pw = "m"; }, 46100);
        Edit(
            theirs, "Mailbox", [](T_Password& p) { p.pw = "t"; }, 46200);

        Both r = MergeBothWays(&base, mine, theirs);
        for (const clsPW* m : {&r.ab, &r.ba}) {
            const T_Password& ma = *m->Password().Find("Bank A");
            QCOMPARE(ma.pw, std::string("new A"));
            QCOMPARE(ma.History, std::vector<T_PwHistory>({{"pw-Bank A", 46100}}));
            QCOMPARE(m->Password().Find("Loose")->Totp,
                     std::string("otpauth://totp/x?secret=AAAA"));
            QCOMPARE(m->Password().Find("Loose")->Descr, std::string("d"));
            const T_Password& mb = *m->Password().Find("Mailbox");
            QCOMPARE(mb.pw, std::string("t"));
            QCOMPARE(mb.History,
                     std::vector<T_PwHistory>({{"pw-Mailbox", 46200}, {"pw-Mailbox", 46100}}));
        }
        // Two-way, the same entry differing only in its history is united, not set aside.
        clsPW other = base;
        T_Password b = *other.Password().Find("Bank B");
        b.History = {{"old B", 45500}};
        QVERIFY(other.PWEdit(b, "Bank B"));
        Both two = MergeBothWays(nullptr, base, other);
        QCOMPARE(two.ab.Password().Count(), base.Password().Count());
        QCOMPARE(two.ab.Password().Find("Bank B")->History, b.History);
        QCOMPARE(two.ba.Password().Find("Bank B")->History, b.History);
        // Cut to the limit, but never below what one side already kept.
        std::vector<T_PwHistory> many;
        for (int i = 0; i < 12; ++i)
            many.push_back({"p" + std::to_string(i), double(45000 + i)});
        QCOMPARE(merge::MergeHistory(nullptr, many, {{"q", 1}}, 10).size(), std::size_t(12));
        QCOMPARE(merge::MergeHistory(nullptr, {{"a", 1}}, {{"b", 2}}, 1).size(), std::size_t(1));
        QCOMPARE(merge::MergeHistory(nullptr, {{"b", 1}}, {{"a", 1}}, 10),
                 merge::MergeHistory(nullptr, {{"a", 1}}, {{"b", 1}}, 10));
    }

    void sameMomentConflictDoesNotDependOnTheOrder() {
        const clsPW base = Sample();
        clsPW mine = base, theirs = base;
        EditPw(mine, "Loose", "a", 46500);
        EditPw(theirs, "Loose", "b", 46500);
        Both r = MergeBothWays(&base, mine, theirs);
        QCOMPARE_BOTH(r);
        QCOMPARE(r.ab.Password().Count(), std::size_t(5));
    }

    void deletedOnOneSide() {
        const clsPW base = Sample();
        clsPW mine = base, theirs = base;
        QVERIFY(mine.PWDel("Bank A")); // unchanged there: gone
        QVERIFY(mine.PWDel("Bank B")); // changed there: kept
        Edit(
            theirs, "Bank B", [](T_Password& p) { p.Descr = "note"; }, 46400);
        QVERIFY(mine.PWDel("Loose"));
        QVERIFY(theirs.PWDel("Loose")); // deleted on both

        Both r = MergeBothWays(&base, mine, theirs);
        QCOMPARE_BOTH(r);
        QVERIFY(!r.ab.Password().Contains("Bank A"));
        QVERIFY(!r.ab.Password().Contains("Loose"));
        QCOMPARE(r.ab.Password().Find("Bank B")->Descr, std::string("note"));
        QCOMPARE(Names(r.sab.keptChanged), QStringList{"Bank B"});
        QCOMPARE(Names(r.sab.mine.deleted), QStringList{"Bank A"});
    }

    void categoriesPairByNameNotCode() {
        const clsPW base = Sample();
        clsPW mine = base;
        clsPW theirs = Sample({7, 3, 9, 4}); // the same tree, numbered elsewhere
        QVERIFY(theirs.PWAdd(SampleEntry("Card 2", 7, 9)));
        QVERIFY(theirs.CatAdd("Shops"));

        MergeSummary s;
        QVERIFY(mine.Merge(&base, theirs, s));
        QCOMPARE(Names(s.theirs.added), QStringList{"Card 2"});
        QVERIFY(s.theirs.changed.empty()); // the codes alone are no change
        const T_Password& card = *mine.Password().Find("Card 2");
        QCOMPARE(card.Codcat, std::int16_t(1)); // mine's codes
        QCOMPARE(card.CodSCat, std::int16_t(1));
        QVERIFY(mine.CatExist("Shops"));
        QCOMPARE(int(mine.Category().Find("Shops")->Codcat), 3); // above mine's codes
        QCOMPARE(mine.SubCategory().Count(), std::size_t(2));
    }

    void renamedCategoryAndMovedEntries() {
        const clsPW base = Sample();
        clsPW mine = base, theirs = base;
        QVERIFY(mine.CatRen("Banks", "Money"));
        QVERIFY(mine.PWChangeCat("Loose", 2, 0));
        {
            Both r = MergeBothWays(&base, mine, theirs);
            QCOMPARE_BOTH(r);
            QCOMPARE(CategoryNames(r.ab), QStringList({"Mail", "Money"}));
            QCOMPARE(r.ab.CatValue(r.ab.Password().Find("Bank A")->Codcat), std::string("Money"));
            QCOMPARE(r.ab.SubCatValue(r.ab.Password().Find("Bank A")->CodSCat),
                     std::string("Cards"));
            QCOMPARE(r.ab.CatValue(r.ab.Password().Find("Loose")->Codcat), std::string("Mail"));
        }
        // An entry the other side filed under the old name keeps it alive.
        QVERIFY(theirs.PWAdd(SampleEntry("Bank C", 1, 1)));
        Both r = MergeBothWays(&base, mine, theirs);
        QCOMPARE_BOTH(r);
        QCOMPARE(CategoryNames(r.ab), QStringList({"Banks", "Mail", "Money"}));
        const T_Password& c = *r.ab.Password().Find("Bank C");
        QCOMPARE(r.ab.CatValue(c.Codcat), std::string("Banks"));
        QCOMPARE(r.ab.SubCatValue(c.CodSCat), std::string("Cards"));
    }

    void nodeStatesAndCaseRenames() {
        const clsPW base = Sample();
        clsPW mine = base, theirs = base;
        mine.ChangeNodeStatus("Banks", true);
        theirs.ChangeNodeStatus("Mail", false);
        QVERIFY(theirs.CatRen("Mail", "MAIL"));
        Both r = MergeBothWays(&base, mine, theirs);
        QCOMPARE_BOTH(r);
        QVERIFY(r.ab.NodeStat("Banks"));
        QVERIFY(!r.ab.NodeStat("Mail"));
        QCOMPARE(CategoryNames(r.ab), QStringList({"Banks", "MAIL"}));
        // Mine's codes stay, so what the window shows is still found.
        QCOMPARE(int(r.ab.Category().Find("MAIL")->Codcat), 2);
    }

    void twoWayDeletesNothingAndKeepsBoth() {
        clsPW mine = Sample();
        clsPW theirs = Sample({5, 6, 5, 6});
        QVERIFY(mine.PWDel("Bank B"));
        QVERIFY(theirs.PWAdd(SampleEntry("Theirs only", 0, 0)));
        EditPw(mine, "Loose", "m", 46100);
        EditPw(theirs, "Loose", "t", 46200);
        Both r = MergeBothWays(nullptr, mine, theirs);
        QCOMPARE_BOTH(r);
        const clsPW& m = r.ab;
        QVERIFY(m.Password().Contains("Bank B"));
        QVERIFY(m.Password().Contains("Theirs only"));
        QCOMPARE(m.Password().Find("Loose")->pw, std::string("t"));
        QVERIFY(m.Password().Contains("Loose (conflict 2026-03-19 00:00)"));
        QCOMPARE(m.Password().Count(), std::size_t(6));
        QCOMPARE(Names(r.sab.theirs.added), QStringList({"Bank B", "Theirs only"}));
    }

    // Through files, as two machines would see them: format 2 gives every
    // entry an identifier and keeps deletion marks, so a rename pairs with
    // its other version and a deletion carries over even without a base;
    // a legacy file still pairs by name.
    void identifiersTellRenamesFromDeletions() {
        QTemporaryDir dir;
        const std::string path = dir.filePath("ids.QVS").toStdString();
        auto saved = [&](clsPW s, FileFormat format) {
            s.SetFormat(format);
            s.SetFilePW("pw");
            s.SetClock([] { return 46400.0; });
            if (!s.SaveFile(path, false)) qWarning("save failed");
            clsPW back;
            back.AdoptKey(s);
            if (!back.LoadFile(path, "pw")) qWarning("load failed");
            back.SetClock([] { return 46400.0; });
            return back;
        };
        const clsPW base = saved(Sample(), FileFormat::Two);
        QVERIFY(base.AllEntriesIdentified());
        const std::string bankA = base.Password().Find("Bank A")->Id;
        clsPW mine = base, theirs = base;
        QVERIFY(mine.PWRen("Bank A", "Bank Alpha"));
        T_Password edited = *theirs.Password().Find("Bank A");
        edited.Id.clear(); // an editor's record: the entry keeps its identifier
        edited.pw = "new";
        QVERIFY(theirs.PWEdit(edited, "Bank A"));
        Both r = MergeBothWays(&base, mine, theirs);
        QCOMPARE_BOTH(r);
        QVERIFY(!r.ab.Password().Contains("Bank A"));
        QCOMPARE(r.ab.Password().Find("Bank Alpha")->pw, std::string("new"));
        QCOMPARE(r.ab.Password().Find("Bank Alpha")->Id, bankA);
        QCOMPARE(Names(r.sab.combined), QStringList{"Bank Alpha"});
        // Added under one name on both machines: two identifiers, one entry.
        QVERIFY(mine.PWAdd(SampleEntry("Twice")));
        T_Password twice = SampleEntry("Twice");
        twice.pw = "other";
        twice.Dt_Modif = 46600;
        QVERIFY(theirs.PWAdd(twice));
        r = MergeBothWays(&base, mine, theirs);
        QCOMPARE_BOTH(r);
        QCOMPARE(r.sab.conflicts.size(), std::size_t(1));
        QCOMPARE(r.ab.Password().Find("Twice")->pw, std::string("other"));

        // Two-way: a deletion marked after the other's last change deletes;
        // one renamed after the deletion is kept under its new name.
        clsPW deleting = base;
        QVERIFY(deleting.PWDel("Loose"));
        QVERIFY(deleting.PWDel("Bank B"));
        const clsPW deleted = saved(deleting, FileFormat::Two);
        QCOMPARE(deleted.DeletionMarks().size(), std::size_t(2));
        clsPW other = base;
        QVERIFY(other.PWRen("Bank B", "Bank Beta"));
        Edit(
            other, "Bank Beta", [](T_Password&) {}, 46500);
        Both two = MergeBothWays(nullptr, other, deleted);
        QCOMPARE_BOTH(two);
        QVERIFY(!two.ab.Password().Contains("Loose"));
        QVERIFY(two.ab.Password().Contains("Bank Beta"));
        QCOMPARE(Names(two.sab.theirs.deleted), QStringList{"Loose"});
        QCOMPARE(two.ab.DeletionMarks().size(), std::size_t(1)); // Bank B lives on
        // Marks go after a while, so that files do not grow for ever.
        clsPW later = deleted;
        later.SetClock([] { return 46400.0 + kDeletionMarkDays + 1; });
        QVERIFY(later.SaveFile(path, false));
        QVERIFY(later.DeletionMarks().empty());

        // A legacy file has no identifiers: the rename is a delete and an add.
        const clsPW legacy = saved(Sample(), FileFormat::Legacy);
        QVERIFY(!legacy.AllEntriesIdentified());
        clsPW renamed = legacy, changed = legacy;
        QVERIFY(renamed.PWRen("Bank A", "Bank Alpha"));
        Edit(
            changed, "Bank A", [](T_Password& p) { p.pw = "new"; }, 46300);
        MergeSummary s;
        QVERIFY(renamed.Merge(&legacy, changed, s));
        QCOMPARE(renamed.Password().Find("Bank A")->pw, std::string("new"));
        QVERIFY(renamed.Password().Contains("Bank Alpha"));
    }

    void resultKeepsFileAndSavesWhole() {
        QTemporaryDir dir;
        const clsPW base = Sample();
        clsPW mine = base, theirs = base;
        const std::string path = dir.filePath("m.QVS").toStdString();
        mine.SetFilePW("secret");
        QVERIFY(mine.SaveFile(path, false));
        QVERIFY(theirs.PWAdd(SampleEntry("Added", 1, 1)));
        MergeSummary s;
        QVERIFY(mine.Merge(&base, theirs, s));
        QCOMPARE(mine.Filename(), path);
        QVERIFY(mine.NotSaved());
        QVERIFY(mine.SaveFile("", false));
        clsPW back;
        QVERIFY(back.LoadFile(path, "secret"));
        QCOMPARE(Content(back), Content(mine));
    }

    // A category turned into a subcategory leaves its own subcategories
    // under a code no category has: a category new from the other side must
    // not take that code and adopt them.
    void orphanedSubcategoriesStayOrphans() {
        const clsPW base = Sample();
        clsPW mine = base, theirs = base;
        QVERIFY(mine.CambiaCatInSub("Mail", 1)); // Work stays behind under code 2
        QVERIFY(theirs.CatAdd("Shops"));
        MergeSummary s;
        QVERIFY(mine.Merge(&base, theirs, s));
        const std::int16_t shops = mine.Category().Find("Shops")->Codcat;
        QCOMPARE(int(shops), 3);
        QCOMPARE(mine.SubCatNumber(shops), 0);
        QVERIFY(mine.SubCategory().Contains("2!Work"));
    }
};

QTEST_APPLESS_MAIN(TestMerge)
#include "tst_merge.moc"
