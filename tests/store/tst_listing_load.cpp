// Reading a legacy file for a listing: the texts left out are never
// deciphered, yet every name, code and date reads as a full load reads it,
// and such a store is never saved.
#include "store/pw.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ardeko;

class TestListingLoad : public QObject {
    Q_OBJECT
private slots:
    void namesAndDatesAsAFullLoad() {
        QTemporaryDir dir;
        const std::string path = dir.filePath("list.qvs").toStdString();
        clsPW made;
        made.NewFile();
        made.InsertCategory({1, "Banks", false});
        for (int i = 0; i < 40; ++i) {
            T_Password p;
            p.service = "Entry " + std::to_string(i) + (i % 3 ? " é" : "");
            p.Codcat = std::int16_t(i % 2);
            p.User = i % 4 ? "user" : "";
            p.pw = "secret " + std::to_string(i);
            p.Descr = i % 5 ? "notes\nmore" : "";
            p.Remember = "hint";
            p.blExpire = i % 2;
            p.Dt_Expire = 45000 + i;
            p.ggNotChange = std::int16_t(i);
            made.InsertPassword(p);
        }
        made.SetFormat(FileFormat::Legacy);
        made.SetFilePW("pw");
        QVERIFY2(made.SaveFile(path, false), made.ErrDescr().c_str());

        clsPW full, names, noSecrets;
        QVERIFY(full.LoadFile(path, "pw"));
        QVERIFY(names.LoadFileForListing(path, "pw", EntryTexts::NamesOnly));
        QVERIFY(noSecrets.LoadFileForListing(path, "pw", EntryTexts::NoSecrets));
        QCOMPARE(names.Password().Count(), full.Password().Count());
        for (std::size_t i = 0; i < full.Password().Count(); ++i) {
            T_Password want = full.Password()[i];
            const T_Password& named = names.Password()[i];
            const T_Password& searched = noSecrets.Password()[i];
            QCOMPARE(searched.Descr, want.Descr);
            QCOMPARE(searched.User, want.User);
            QVERIFY(searched.pw.empty() && searched.Remember.empty());
            QVERIFY(named.pw.empty() && named.Descr.empty() && named.User.empty());
            // Everything else, the numbers and dates after the skipped texts too.
            want.User = want.pw = want.Descr = want.URL_Access = want.URL_Change =
                want.URL_Delete = want.Remember = want.Email = {};
            QVERIFY2(named == want, want.service.c_str());
        }
        QVERIFY(!names.LoadFileForListing(path, "wrong", EntryTexts::NamesOnly));
        QVERIFY(!names.SaveFile(path + ".copy"));
        QVERIFY(!QFile::exists(QString::fromStdString(path + ".copy")));
        QVERIFY(full.SaveFile(path + ".copy", false));
    }
};

QTEST_GUILESS_MAIN(TestListingLoad)
#include "tst_listing_load.moc"
