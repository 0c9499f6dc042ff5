// Categories and subcategories in a merge, paired by the identifiers format
// 2 gives them: a renamed category keeps its entries, one renamed on both
// sides is one conflict (one name kept, both reported) instead of a copy of
// every entry in it, and the identifiers go through save, load and the
// conversion of a legacy file.
#include "store/crypto/kdf.h"
#include "store/entry_id.h"
#include "store/format2/format2.h"
#include "store/pw.h"
#include "tests/store/merge_samples.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ardeko;
using namespace merge_samples;

namespace {

QStringList Pairs(const std::vector<MergeNames>& list) {
    QStringList out;
    for (const MergeNames& n : list)
        out << QString::fromStdString(n.named + " <- " + n.other);
    return out;
}

std::string PlaceOf(const clsPW& s, const std::string& service) {
    const T_Password& p = *s.Password().Find(service);
    return s.CatValue(p.Codcat) + "/" + (p.CodSCat ? s.SubCatValue(p.CodSCat) : "");
}

// Saved in format (and loaded back), as another machine would find it.
clsPW SavedAndLoaded(clsPW s, FileFormat format, const std::string& path) {
    s.SetFormat(format);
    s.SetFilePW("pw");
    if (!s.SaveFile(path, false)) qWarning("save failed: %s", s.ErrDescr().c_str());
    clsPW back;
    back.AdoptKey(s);
    if (!back.LoadFile(path, "pw")) qWarning("load failed: %s", back.ErrDescr().c_str());
    return back;
}

} // namespace

class TestMergePlaces : public QObject {
    Q_OBJECT

private slots:
    // By name, the entry the other side added under the old name brought the
    // old category back beside the renamed one.
    void renamedOnOneSideKeepsItsEntries() {
        const clsPW base = IdentifiedSample();
        clsPW mine = base;
        clsPW theirs = base;
        QVERIFY(mine.CatRen("Banks", "Money"));
        QVERIFY(mine.SubCatRen(1, "Cards", "Credit cards"));
        QVERIFY(theirs.PWAdd(SampleEntry("Bank C", 1, 1)));
        EditPw(theirs, "Bank A", "new", 46100);

        Both r = MergeBothWays(&base, mine, theirs);
        QCOMPARE_BOTH(r);
        QCOMPARE(CategoryNames(r.ab), QStringList({"Mail", "Money"}));
        QCOMPARE(PlaceOf(r.ab, "Bank C"), std::string("Money/Credit cards"));
        QCOMPARE(PlaceOf(r.ab, "Bank A"), std::string("Money/Credit cards"));
        QCOMPARE(r.ab.Password().Find("Bank A")->pw, std::string("new"));
        QCOMPARE(r.ab.SubCategory().Count(), std::size_t(2));
        QVERIFY(r.sab.conflicts.empty());
        QVERIFY(r.sab.renamedPlaces.empty());
        // The result keeps the identifiers, so it merges the same way again.
        QCOMPARE(r.ab.Category().Find("Money")->Id, base.Category().Find("Banks")->Id);
        MergeSummary again;
        clsPW twice = r.ab;
        QVERIFY(twice.Merge(&base, theirs, again));
        QCOMPARE(Content(twice), Content(r.ab));

        // The other side changed only whether the category shows open: the
        // name and that state merge apart, so the rename is not lost.
        clsPW opened = base;
        CategoryCollection cats = MakeCategoryCollection();
        for (T_Categ c : base.Category()) {
            c.TVExp = !c.TVExp;
            QCOMPARE(cats.InsertByName(c.DescrCat, c), 0);
        }
        opened.SetCategory(std::move(cats));
        Both o = MergeBothWays(&base, mine, opened);
        QCOMPARE_BOTH(o);
        QCOMPARE(CategoryNames(o.ab), QStringList({"Mail", "Money"}));
        QCOMPARE(o.ab.Category().Find("Money")->TVExp, !base.Category().Find("Banks")->TVExp);
        QVERIFY(o.sab.renamedPlaces.empty());
    }

    void renamedOnBothSidesIsOneConflict() {
        clsPW base = IdentifiedSample();
        for (int i = 0; i < 300; ++i)
            QVERIFY(base.InsertPassword(SampleEntry("Card " + std::to_string(i), 1, 1)));
        clsPW mine = base, theirs = base;
        QVERIFY(mine.CatRen("Banks", "Money"));
        QVERIFY(theirs.CatRen("Banks", "Finance"));
        QVERIFY(mine.SubCatRen(1, "Cards", "Debit"));
        QVERIFY(theirs.SubCatRen(1, "Cards", "Credit"));
        EditPw(mine, "Card 7", "mine", 46100); // entries changed meanwhile stay single
        Edit(
            theirs, "Card 8", [](T_Password& p) { p.User = "theirs"; }, 46100);

        for (const clsPW* common : std::initializer_list<const clsPW*>{&base, nullptr}) {
            Both r = MergeBothWays(common, mine, theirs);
            QCOMPARE_BOTH(r);
            // Two-way, only the two entries changed differ (which side changed
            // them cannot be told): copies of those alone.
            const std::size_t copies = common ? 0 : 2;
            QCOMPARE(r.ab.Password().Count(), base.Password().Count() + copies);
            QCOMPARE(r.sab.conflicts.size(), copies);
            QCOMPARE(CategoryNames(r.ab), QStringList({"Finance", "Mail"}));
            QCOMPARE(PlaceOf(r.ab, "Card 299"), std::string("Finance/Credit"));
            QCOMPARE(r.ab.Password().Find("Card 7")->pw, std::string("mine"));
            const QStringList reported{"Finance <- Money", "Finance / Credit <- Finance / Debit"};
            QCOMPARE(Pairs(r.sab.renamedPlaces), reported);
            QCOMPARE(Pairs(r.sba.renamedPlaces), reported);
            QVERIFY(!r.sab.NothingFromTheirs());
        }
    }

    // Created under one name on two machines: two identifiers, one category.
    // Renamed to a name the other side gave a new category: both kept, the
    // second renamed and reported, no entry lost.
    void oneNameOnTwoCategories() {
        const clsPW base = IdentifiedSample();
        clsPW mine = base, theirs = base;
        for (clsPW* side : {&mine, &theirs}) {
            QVERIFY(side->CatAdd("Shops"));
            QVERIFY(side->SubCatAdd(side->Category().Find("Shops")->Codcat, "Food"));
        }
        QVERIFY(mine.PWAdd(SampleEntry("Shop A", 3, 3)));
        QVERIFY(theirs.PWAdd(SampleEntry("Shop B", 3, 3)));
        QVERIFY(mine.Category().Find("Shops")->Id != theirs.Category().Find("Shops")->Id);
        {
            Both r = MergeBothWays(&base, mine, theirs);
            QCOMPARE_BOTH(r);
            QCOMPARE(CategoryNames(r.ab), QStringList({"Banks", "Mail", "Shops"}));
            QCOMPARE(PlaceOf(r.ab, "Shop A"), std::string("Shops/Food"));
            QCOMPARE(PlaceOf(r.ab, "Shop B"), std::string("Shops/Food"));
            QVERIFY(r.sab.placeCollisions.empty());
        }
        clsPW renaming = base;
        QVERIFY(renaming.CatRen("Mail", "Shops"));
        Both r = MergeBothWays(&base, renaming, theirs);
        QCOMPARE_BOTH(r);
        QCOMPARE(CategoryNames(r.ab), QStringList({"Banks", "Shops", "Shops 2"}));
        QCOMPARE(r.ab.Password().Count(), std::size_t(5));
        QCOMPARE(Pairs(r.sab.placeCollisions), QStringList{"Shops 2 <- Shops"});
        QCOMPARE(PlaceOf(r.ab, "Mailbox").substr(0, 5), std::string("Shops"));
        QVERIFY(PlaceOf(r.ab, "Mailbox") != PlaceOf(r.ab, "Shop B"));
    }

    // Without identifiers on every side (a legacy file, or a writer that
    // knew only entries'), categories pair by name as before.
    void withoutIdentifiersByName() {
        const clsPW base = Sample();
        clsPW mine = IdentifiedSample(), theirs = base;
        QVERIFY(mine.CatRen("Banks", "Money"));
        QVERIFY(theirs.PWAdd(SampleEntry("Bank C", 1, 1)));
        Both r = MergeBothWays(&base, mine, theirs);
        QCOMPARE_BOTH(r);
        QCOMPARE(CategoryNames(r.ab), QStringList({"Banks", "Mail", "Money"}));
    }

    void identifiersThroughFiles() {
        QTemporaryDir dir;
        auto path = [&](const char* name) { return dir.filePath(name).toStdString(); };
        // New ones get random identifiers that a format-2 file keeps.
        clsPW fresh;
        fresh.NewFile();
        QVERIFY(fresh.CatAdd("Banks"));
        QVERIFY(fresh.SubCatAdd(1, "Cards"));
        QVERIFY(fresh.CatAdd("Mail"));
        QVERIFY(fresh.AllCategoriesIdentified());
        QVERIFY(fresh.Category().Find("Banks")->Id != fresh.Category().Find("Mail")->Id);
        const clsPW loaded = SavedAndLoaded(fresh, FileFormat::Two, path("fresh.QVS"));
        QCOMPARE(Items(loaded.Category()), Items(fresh.Category()));
        QCOMPARE(Items(loaded.SubCategory()), Items(fresh.SubCategory()));
        clsPW renamed = loaded;
        QVERIFY(renamed.CatRen("Banks", "Money"));
        QCOMPARE(renamed.Category().Find("Money")->Id, fresh.Category().Find("Banks")->Id);

        // The legacy format drops them; two machines converting copies of one
        // legacy file give the same ones, so the copies pair by them.
        const clsPW legacy = SavedAndLoaded(fresh, FileFormat::Legacy, path("old.QVS"));
        QVERIFY(!legacy.AllCategoriesIdentified());
        const clsPW one = SavedAndLoaded(legacy, FileFormat::Two, path("one.QVS"));
        const clsPW two = SavedAndLoaded(legacy, FileFormat::Two, path("two.QVS"));
        QVERIFY(one.AllCategoriesIdentified());
        QCOMPARE(Items(one.Category()), Items(two.Category()));
        QCOMPARE(Items(one.SubCategory()), Items(two.SubCategory()));
        QCOMPARE(one.Category().Find("Banks")->Id, DerivedCategoryId({1, "Banks", false}));
        QVERIFY(one.SubCategory().begin()->Id != one.Category().Find("Banks")->Id);
        // A format-2 file from a writer that knew only entries' identifiers
        // gets them when loaded, from the names saved: a rename before the
        // next save keeps them.
        FileKey key;
        QVERIFY(NewFileKey("pw", kKdfFloor, key));
        const clsPW older = Sample();
        std::string image;
        QVERIFY(!EncodeFormat2(
            {older.Category(), older.SubCategory(), older.Password(), older.NodeStates()}, key,
            image));
        QFile file(QString::fromStdString(path("older.QVS")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(image.data(), static_cast<qint64>(image.size()));
        file.close();
        clsPW read;
        QVERIFY(read.LoadFile(path("older.QVS"), "pw"));
        for (const char* name : {"Banks", "Mail"})
            QCOMPARE(read.Category().Find(name)->Id, one.Category().Find(name)->Id);
        QCOMPARE(read.SubCategory().Find("1!Cards")->Id, one.SubCategory().Find("1!Cards")->Id);

        clsPW a = one, b = read;
        QVERIFY(a.CatRen("Banks", "Money"));
        QVERIFY(b.CatRen("Banks", "Finance"));
        MergeSummary s;
        QVERIFY(a.Merge(&one, b, s));
        QCOMPARE(CategoryNames(a), QStringList({"Finance", "Mail"}));
        QCOMPARE(s.renamedPlaces.size(), std::size_t(1));
    }
};

QTEST_APPLESS_MAIN(TestMergePlaces)
#include "tst_merge_places.moc"
