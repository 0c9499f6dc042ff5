// Reading a file for a listing, in either format: the texts left out are
// never deciphered or kept, yet every name, code and date reads as a full
// load reads it (only where entries are filed, for a tree of names), the file's checks still refuse
// a wrong password or a changed file, and such a store is never saved or merged.
#include "store/pw.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace ardeko;

Q_DECLARE_METATYPE(ardeko::FileFormat)

namespace {

// Entries with every kind of text, some empty, some accented; format-2
// entries also hold what only that format keeps.
void MakeFile(const std::string& path, FileFormat format) {
    clsPW made;
    made.NewFile();
    made.InsertCategory({1, "Banks", false});
    made.InsertSubCategory({1, 1, "Cards"});
    for (int i = 0; i < 40; ++i) {
        T_Password p;
        p.service = "Entry " + std::to_string(i) + (i % 3 ? " é" : "");
        p.Codcat = std::int16_t(i % 2);
        p.CodSCat = std::int16_t(i % 4 == 1);
        p.User = i % 4 ? "user" : "";
        p.pw = "secret " + std::to_string(i);
        p.Descr = i % 5 ? "notes\nmore ü" : "";
        p.URL_Access = "https://example.org/" + std::to_string(i);
        p.Email = "me@example.org";
        p.Remember = "hint";
        p.stringa3 = "spare";
        p.blExpire = i % 2;
        p.Dt_Expire = 45000 + i;
        p.ggNotChange = std::int16_t(i);
        p.Favourites = i % 7 == 0;
        if (format == FileFormat::Two) {
            p.Totp = "otpauth://totp/x?secret=JBSWY3DPEHPK3PXP";
            p.History = {{"older " + std::to_string(i), 44000.5}};
            p.Fields = {{"PIN", "1234", true}, {"Branch", "North", false}};
        }
        made.InsertPassword(p);
    }
    made.SetFormat(format);
    made.SetFilePW("pw");
    QVERIFY2(made.SaveFile(path, false), made.ErrDescr().c_str());
}

bool NoSecret(const T_Password& p) {
    return p.pw.empty() && p.Remember.empty() && p.stringa3.empty() && p.Totp.empty() &&
           p.History.empty() && p.Fields.empty();
}

} // namespace

class TestListingLoad : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }

private slots:
    void formats_data() {
        QTest::addColumn<FileFormat>("format");
        QTest::newRow("legacy") << FileFormat::Legacy;
        QTest::newRow("2") << FileFormat::Two;
    }

    void namesAndDatesAsAFullLoad_data() { formats_data(); }
    void namesAndDatesAsAFullLoad() {
        QFETCH(FileFormat, format);
        const std::string path = Path("list.qvs");
        MakeFile(path, format);
        clsPW full, names, noSecrets;
        QVERIFY(full.LoadFile(path, "pw"));
        QVERIFY(names.LoadFileForListing(path, "pw", EntryTexts::NamesOnly));
        QVERIFY(noSecrets.LoadFileForListing(path, "pw", EntryTexts::NoSecrets));
        QVERIFY(names.ListingOnly() && noSecrets.ListingOnly() && !full.ListingOnly());
        QCOMPARE(names.ErrNum(), full.ErrNum());
        QVERIFY(names.Category()[0] == full.Category()[0]);
        QVERIFY(names.SubCategory()[0] == full.SubCategory()[0]);
        QCOMPARE(names.Password().Count(), full.Password().Count());
        for (std::size_t i = 0; i < full.Password().Count(); ++i) {
            T_Password want = full.Password()[i];
            const T_Password& named = names.Password()[i];
            T_Password searched = noSecrets.Password()[i];
            QVERIFY(NoSecret(named) && NoSecret(searched));
            // What a search reads is all there.
            QCOMPARE(searched.Descr, want.Descr);
            QCOMPARE(searched.User, want.User);
            QCOMPARE(searched.Email, want.Email);
            QCOMPARE(searched.URL_Access, want.URL_Access);
            QCOMPARE(searched.Id, want.Id);
            // Everything else, the numbers and dates after the skipped texts too.
            want.User = want.pw = want.Descr = want.URL_Access = want.URL_Change = want.URL_Delete =
                want.Remember = want.Email = want.stringa3 = want.Totp = want.Id = {};
            want.History.clear();
            want.Fields.clear();
            QVERIFY2(named == want, want.service.c_str());
        }
    }

    // A tree of names needs only the names and where each entry is filed.
    void namesAndPlacesFileEveryEntry_data() { formats_data(); }
    void namesAndPlacesFileEveryEntry() {
        QFETCH(FileFormat, format);
        const std::string path = Path("places.qvs");
        MakeFile(path, format);
        clsPW full, places;
        QVERIFY(full.LoadFile(path, "pw"));
        QVERIFY(places.LoadFileForListing(path, "pw", EntryTexts::NamesAndPlaces));
        QVERIFY(places.ListingOnly());
        QCOMPARE(places.Password().Count(), full.Password().Count());
        for (std::size_t i = 0; i < full.Password().Count(); ++i) {
            const T_Password& want = full.Password()[i];
            const T_Password& got = places.Password()[i];
            QCOMPARE(got.service, want.service);
            QCOMPARE(got.Codcat, want.Codcat);
            QCOMPARE(got.CodSCat, want.CodSCat);
            QVERIFY(NoSecret(got) && got.Descr.empty() && got.User.empty());
        }
    }

    // Nothing read for a listing may reach a file: not by a save, and not
    // through a merge into a store that has its secrets.
    void neverSavedNorMerged_data() { formats_data(); }
    void neverSavedNorMerged() {
        QFETCH(FileFormat, format);
        const std::string path = Path("keep.qvs"), copy = Path("copy.qvs");
        QFile::remove(QString::fromStdString(copy));
        MakeFile(path, format);
        clsPW names, full;
        QVERIFY(names.LoadFileForListing(path, "pw", EntryTexts::NoSecrets));
        QVERIFY(full.LoadFile(path, "pw"));
        QVERIFY(!names.SaveFile());
        QCOMPARE(names.ErrNum(), Code(StoreError::ListingOnly));
        QVERIFY(!names.SaveFile(copy));
        QVERIFY(!QFile::exists(QString::fromStdString(copy)));
        MergeSummary summary;
        QVERIFY(!full.Merge(nullptr, names, summary));
        QCOMPARE(full.ErrNum(), Code(StoreError::ListingOnly));
        QVERIFY(!full.Merge(&names, full, summary));
        QVERIFY(!names.Merge(nullptr, full, summary));
        QVERIFY(!full.NotSaved());
        QCOMPARE(full.Password()[0].pw, std::string("secret 0"));
        // A failed load leaves the listing as it was; a full one lifts it.
        QVERIFY(!names.LoadFile(path, "wrong"));
        QVERIFY(!names.SaveFile(copy));
        QVERIFY(names.LoadFile(path, "pw"));
        QVERIFY2(names.SaveFile(copy, false), names.ErrDescr().c_str());
        clsPW again;
        QVERIFY(again.LoadFile(copy, "pw"));
        QCOMPARE(again.Password()[0].pw, std::string("secret 0"));
    }

    // The trailer's key check and MAC (legacy) and the authentication of the
    // whole body (format 2) run as in a full load.
    void checksRunInFull_data() { formats_data(); }
    void checksRunInFull() {
        QFETCH(FileFormat, format);
        const std::string path = Path("checked.qvs");
        MakeFile(path, format);
        clsPW names;
        QVERIFY(!names.LoadFileForListing(path, "wrong", EntryTexts::NamesOnly));
        QCOMPARE(names.ErrNum(), Code(StoreError::BadFile));
        QFile f(QString::fromStdString(path));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        // A byte of a late entry's password: a text a listing never reads.
        const qsizetype at = bytes.size() * 3 / 4;
        bytes[at] = static_cast<char>(bytes[at] ^ 0x20);
        QVERIFY(f.seek(0));
        QCOMPARE(f.write(bytes), bytes.size());
        f.close();
        for (EntryTexts texts :
             {EntryTexts::NamesOnly, EntryTexts::NamesAndPlaces, EntryTexts::NoSecrets}) {
            clsPW changed;
            QVERIFY(!changed.LoadFileForListing(path, "pw", texts));
            QCOMPARE(changed.ErrNum(), Code(StoreError::ChangedFile));
            QCOMPARE(changed.Password().Count(), std::size_t(0));
        }
    }
};

QTEST_GUILESS_MAIN(TestListingLoad)
#include "tst_listing_load.moc"
