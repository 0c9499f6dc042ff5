// Importing the category tree of another data file: fresh codes, the report
// of names already present, and failures that leave the store alone.
#include "store/legacy/legacy_file.h"
#include "store/pw.h"
#include "tests/store/file_builder.h"
#include "tests/store/store_names.h"
#include "tests/store/store_samples.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ardeko;

namespace {

// Categories Banks and Mail; Banks holds Cards, Mail holds Home and Work.
const std::vector<T_Categ> kCategories{{5, "Banks", false}, {9, "Mail", true}};
const std::vector<T_SCateg> kSubcategories{{3, 5, "Cards"}, {4, 9, "Work"}, {7, 9, "Home"}};

const char* kCr = "\r";

} // namespace

class TestImport : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    // A data file with the given tree plus an entry and a node, which an
    // import must not take.
    std::string Source(const QString& name, const std::vector<T_Categ>& categories,
                       const std::vector<T_SCateg>& subcategories) {
        clsPW w;
        for (const T_Categ& c : categories)
            w.InsertCategory(c);
        for (const T_SCateg& s : subcategories)
            w.InsertSubCategory(s);
        w.InsertPassword(SampleEntry("Source entry", 5, 3));
        w.AppendNode({"Banks", true});
        w.SetFilePW("pw");
        const std::string path = dir.filePath(name).toStdString();
        return w.SaveFile(path, false) ? path : std::string();
    }

    // A plain (not enciphered) file under the password "open".
    std::string PlainSource(const QString& name, const std::string& version) {
        FileBuilder b(version, 1, "open", nullptr);
        b.Count(1);
        b.Categ({4, "Plain", false});
        b.Count(1);
        b.SCateg({6, 4, "Sub"});
        b.Count(0);
        b.Count(0);
        const QString path = dir.filePath(name);
        return b.SaveTo(path) ? path.toStdString() : std::string();
    }

private slots:
    void intoEmptyStoreAndTwice() {
        const std::string src = Source("tree.QVS", kCategories, kSubcategories);
        QVERIFY(!src.empty());
        clsPW s;
        s.SetEncryptFile(false);
        QVERIFY2(s.ImportFile(src, "pw"), s.ErrDescr().c_str());
        QCOMPARE(s.ErrNum(), 0);
        QCOMPARE(s.ErrDescr(), std::string());
        QVERIFY(s.NotSaved());
        QVERIFY(s.EncryptFile());
        QVERIFY(s.CheckFilePW(""));
        const QString categories = "Banks=1,Mail=2";
        const QString subcategories = "Cards=1/1,Home=2/2,Work=2/3";
        QCOMPARE(Codes(s.Category()), categories);
        QCOMPARE(Codes(s.SubCategory()), subcategories);
        QVERIFY(s.Password().Empty() && s.NodeStates().Empty());

        QVERIFY(!s.ImportFile(src, "pw"));
        QCOMPARE(s.ErrNum(), 0);
        QCOMPARE(s.ErrDescr(), std::string("Category not imported: ") + kCr + "Banks" + kCr +
                                   "Mail" + kCr + kCr + "SubCategory not imported: " + kCr +
                                   "Cards" + kCr + "Home" + kCr + "Work" + kCr + kCr);
        QCOMPARE(Codes(s.Category()), categories);
        QCOMPARE(Codes(s.SubCategory()), subcategories);
    }

    // Subcategories go to the existing category of the same name.
    void intoExistingCategories() {
        const std::string src = Source("tree.QVS", kCategories, kSubcategories);
        clsPW s;
        s.InsertCategory({1, "BANKS", false});
        s.InsertCategory({2, "Mail", false});
        s.InsertSubCategory({1, 1, "cards"});
        QVERIFY(!s.ImportFile(src, "pw"));
        QCOMPARE(s.ErrDescr(), std::string("Category not imported: ") + kCr + "Banks" + kCr +
                                   "Mail" + kCr + kCr + "SubCategory not imported: " + kCr +
                                   "Cards" + kCr + kCr);
        QCOMPARE(Codes(s.Category()), "BANKS=1,Mail=2");
        QCOMPARE(Codes(s.SubCategory()), "Home=2/2,Work=2/3,cards=1/1");
    }

    // A subcategory without its category in the other file is listed only
    // when a refusal brings the heading.
    void subcategoriesWithoutCategory() {
        const std::string src =
            Source("orphan.QVS", {{5, "Banks", false}}, {{3, 5, "Cards"}, {8, 77, "Lost"}});
        clsPW s;
        QVERIFY(s.ImportFile(src, "pw"));
        QCOMPARE(s.ErrDescr(), std::string());
        QCOMPARE(Codes(s.SubCategory()), "Cards=1/1");
        QVERIFY(!s.ImportFile(src, "pw"));
        QCOMPARE(s.ErrDescr(), std::string("Category not imported: ") + kCr + "Banks" + kCr + kCr +
                                   "SubCategory not imported: " + kCr + "Cards" + kCr + "Lost" +
                                   kCr + kCr);
    }

    void plainSource() {
        const std::string src = PlainSource("plain.QVS", kVersion102);
        QVERIFY(!src.empty());
        clsPW s;
        s.SetFilePW("mine");
        QVERIFY(s.ImportFile(src, "open"));
        QVERIFY(!s.EncryptFile());
        QCOMPARE(Codes(s.SubCategory()), "Sub=1/1");
        QVERIFY(s.CheckFilePW("mine"));
        QVERIFY(s.SaveFile(dir.filePath("saved.QVS").toStdString(), false));
        QVERIFY(s.EncryptFile());
    }

    void failuresLeaveTheStoreAlone_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("errNum");
        QTest::addColumn<QString>("errDescr"); // %1: the path
        QTest::addColumn<bool>("encrypted");   // EncryptFile afterwards; false before
        QTest::newRow("wrong password")
            << "tree"
            << "PW" << 50001 << "The password for file %1 is wrong, or the file is damaged!"
            << true;
        QTest::newRow("plain, wrong password")
            << "plain"
            << "Open" << 50001 << "The password for file %1 is wrong, or the file is damaged!"
            << false;
        QTest::newRow("unknown version")
            << "future"
            << "" << 50001 << "File %1: Invalid File Version!" << false;
        QTest::newRow("missing") << "missing"
                                 << "" << 50003 << "File %1 not Found!" << false;
    }
    void failuresLeaveTheStoreAlone() {
        QFETCH(QString, file);
        QFETCH(QString, password);
        QFETCH(int, errNum);
        QFETCH(QString, errDescr);
        QFETCH(bool, encrypted);
        std::string path = dir.filePath("missing.QVS").toStdString();
        if (file == "tree")
            path = Source("tree.QVS", kCategories, kSubcategories);
        else if (file == "plain")
            path = PlainSource("plain.QVS", kVersion103);
        else if (file == "future")
            path = PlainSource("future.QVS", "<Password File 9.99>");
        clsPW s;
        FillSample(s);
        s.SetEncryptFile(false);
        QVERIFY(!s.ImportFile(path, password.toStdString()));
        QCOMPARE(s.ErrNum(), errNum);
        // A wrong password goes on to name the backup copies.
        QVERIFY2(QString::fromStdString(s.ErrDescr())
                     .startsWith(errDescr.arg(QString::fromStdString(path))),
                 s.ErrDescr().c_str());
        QCOMPARE(s.EncryptFile(), encrypted);
        QVERIFY(!s.NotSaved());
        QVERIFY(s.CheckFilePW(""));
        QCOMPARE(Codes(s.Category()), "Banks=1,Mail=2");
        QCOMPARE(Codes(s.SubCategory()), "Cards=1/1,Work=2/2");
        QCOMPARE(s.Password().Count(), std::size_t{4});
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
