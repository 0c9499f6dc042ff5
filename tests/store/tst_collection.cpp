// Texts in the file's code page, name keys, and the keyed collection the
// store's lists live in: order, keys and the insert helpers built on them.
#include "store/codepage.h"
#include "store/pw.h"
#include "tests/store/store_samples.h"

#include <QtTest>
#include <algorithm>
#include <random>

using namespace ardeko;

namespace {
std::vector<std::string> Names(const PasswordCollection& c) {
    std::vector<std::string> out;
    for (const T_Password& p : c)
        out.push_back(p.service);
    return out;
}
} // namespace

class TestCollection : public QObject {
    Q_OBJECT
private slots:
    void everyCodePageByteSurvives() {
        std::string bytes;
        for (int b = 0; b < 256; ++b)
            bytes.push_back(static_cast<char>(b));
        const std::string utf8 = Cp1252ToUtf8(bytes);
        const Cp1252Result back = Utf8ToCp1252(utf8);
        QVERIFY(!back.badCodePoint);
        QCOMPARE(back.bytes, bytes);
        // The mapped characters, including the five bytes the code page leaves undefined.
        QCOMPARE(Cp1252ToUtf8("\x80\x81\x9F\xE9"), std::string("€\u0081Ÿé"));
    }

    void unstorableTextIsReported() {
        QCOMPARE(Utf8ToCp1252("abcЖ").badCodePoint, std::optional<std::uint32_t>(0x416));
        QCOMPARE(Utf8ToCp1252("emoji 😀").badCodePoint, std::optional<std::uint32_t>(0x1F600));
        QVERIFY(Utf8ToCp1252("\xC3").badCodePoint);     // cut-off sequence
        QVERIFY(Utf8ToCp1252("\xC0\xAF").badCodePoint); // overlong form
        QVERIFY(!Utf8ToCp1252("Crème brûlée — “ok” €").badCodePoint);
    }

    void keysFoldTheCodePagesLetters() {
        QCOMPARE(FoldKey("banks"), FoldKey("BANKS"));
        QCOMPARE(FoldKey("café"), FoldKey("CAFÉ"));
        QCOMPARE(FoldKey("œuvre šÿž"), FoldKey("ŒUVRE ŠŸŽ"));
        QVERIFY(FoldKey("strasse") != FoldKey("straße"));
        QVERIFY(FoldKey("a") != FoldKey("à"));
    }

    void insertHelpersKeepNameOrderAndUniqueKeys() {
        clsPW s;
        QVERIFY(s.InsertCategory({1, "apple", false}));
        QVERIFY(s.InsertCategory({2, "Banks", false}));
        QVERIFY(s.InsertCategory({3, "Émile", false}));
        QVERIFY(!s.InsertCategory({4, "banks", false}));
        QCOMPARE(s.ErrNum(), Code(StoreError::DuplicateKey));
        QCOMPARE(s.ErrDescr(), std::string("You cannot duplicate Category!"));
        QVERIFY(!s.InsertCategory({5, "ÉMILE", false}));
        // Ordinal order: upper case before lower case, accented letters last.
        std::vector<std::string> order;
        for (const T_Categ& c : s.Category())
            order.push_back(c.DescrCat);
        QCOMPARE(order, (std::vector<std::string>{"Banks", "apple", "Émile"}));

        QVERIFY(s.InsertSubCategory({1, 1, "Cards"}));
        QVERIFY(s.InsertSubCategory({2, 2, "Cards"}));
        QVERIFY(!s.InsertSubCategory({3, 2, "CARDS"}));
        QCOMPARE(s.ErrDescr(), std::string("You cannot duplicate SubCategory!"));
        QVERIFY(s.SubCategory().Find("1!cards"));
        QVERIFY(s.SubCategory().Find("2!Cards"));

        QVERIFY(s.InsertPassword(SampleEntry("Mail")));
        QVERIFY(!s.InsertPassword(SampleEntry("MAIL")));
        QCOMPARE(s.ErrDescr(), std::string("You cannot duplicate Service!"));
    }

    void nextCodesFollowTheHighest() {
        clsPW s;
        QCOMPARE(s.NextCatCode(), std::optional<std::int16_t>(1));
        QCOMPARE(s.NextSubCatCode(), std::optional<std::int16_t>(1));
        s.InsertCategory({7, "A", false});
        s.InsertCategory({3, "B", false});
        QCOMPARE(s.NextCatCode(), std::optional<std::int16_t>(8));
        s.InsertCategory({32767, "Top", false});
        QCOMPARE(s.NextCatCode(), std::nullopt);
    }

    // The fast insert must give exactly the order the walk from the start
    // gives, in order or not.
    void fastInsertMatchesTheWalk() {
        std::mt19937 rng(7);
        std::vector<std::string> names;
        for (int i = 0; i < 2000; ++i)
            names.push_back("Name " + std::to_string(rng() % 100000));
        auto walk = [](std::vector<std::string>& v, const std::string& n) {
            const auto at =
                std::find_if(v.begin(), v.end(), [&](const std::string& x) { return x > n; });
            v.insert(at, n);
        };
        PasswordCollection c = MakePasswordCollection();
        std::vector<std::string> model;
        for (std::size_t i = 0; i < names.size(); ++i) {
            // Now and then an append at the end breaks the order, as some
            // operations do; later inserts must then walk.
            if (i % 500 == 250) {
                const std::string stray = "Aaa stray " + std::to_string(i);
                if (c.Append(stray, SampleEntry(stray)) == 0) model.push_back(stray);
                continue;
            }
            if (c.InsertByName(names[i], SampleEntry(names[i])) == 0) walk(model, names[i]);
        }
        QVERIFY(!c.InNameOrder());
        QCOMPARE(Names(c), model);
    }

    // What keeps an index of the entries rebuilds it when the revision
    // moves: every kind of change must move it, reads and refusals not.
    void revisionMovesWithEveryChange() {
        clsPW s;
        FillSample(s);
        PasswordCollection c = s.Password();
        std::uint64_t seen = c.Revision();
        const auto moved = [&] {
            const bool changed = c.Revision() != seen;
            seen = c.Revision();
            return changed;
        };
        QVERIFY(c.Find("Loose") && c.Count() == 4 && !moved());
        QVERIFY(c.InsertByName("New", SampleEntry("New")) == 0 && moved());
        QVERIFY(c.InsertByName("new", SampleEntry("new")) != 0 && !moved()); // a duplicate
        QVERIFY(c.EditOne("New", [](T_Password& p) { p.URL_Access = "https://x.org"; }) && moved());
        QVERIFY(!c.EditOne("Nobody", [](T_Password&) {}) && !moved());
        c.EditEach([](T_Password&) {});
        QVERIFY(moved());
        QVERIFY(c.Remove("New") == 0 && moved());
        c.MoveToEndIf([](const T_Password& p) { return p.service == "Loose"; }, [](T_Password&) {});
        QVERIFY(moved());
        c.RemoveIf([](const T_Password& p) { return p.service == "Loose"; });
        QVERIFY(moved());
        PasswordCollection copy = c; // another collection: a number of its own
        QVERIFY(copy.Revision() != c.Revision());
        c.Clear();
        QVERIFY(moved());
    }

    void removeAndLookup() {
        PasswordCollection c = MakePasswordCollection();
        for (const char* n : {"b", "a", "c", "B2"})
            QCOMPARE(c.InsertByName(n, SampleEntry(n)), 0);
        QCOMPARE(c.Remove("A"), 0);
        QCOMPARE(c.Remove("a"), Code(StoreError::InvalidCall));
        QVERIFY(!c.Find("a"));
        QCOMPARE(Names(c), (std::vector<std::string>{"B2", "b", "c"}));
        QCOMPARE(c.KeyAt(0), std::string("B2"));
        PasswordCollection copy = c; // copies are independent
        QCOMPARE(copy.Remove("b"), 0);
        QVERIFY(c.Find("B"));
        QCOMPARE(copy.Count() + 1, c.Count());
    }
};

QTEST_APPLESS_MAIN(TestCollection)
#include "tst_collection.moc"
