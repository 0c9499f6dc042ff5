// The store sealed while the program is locked: nothing readable is left of
// the records, the key or the password, nothing can be saved, and only the
// file password gives everything back as it was, unsaved changes included.
#include "store/crypto/kdf.h"
#include "store/pw.h"
#include "tests/store/store_samples.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ardeko;

namespace {

// A store of the sample records under password, saved in format, then
// changed without saving.
void OpenChanged(clsPW& s, const QTemporaryDir& dir, FileFormat format) {
    clsPW w;
    w.NewFile();
    FillSample(w);
    w.SetFilePW("right");
    w.SetFormat(format);
    const std::string path = dir.filePath("s.QVS").toStdString();
    QVERIFY(w.SaveFile(path, false));
    QVERIFY(s.LoadFile(path, "right"));
    QVERIFY(s.PWAdd(SampleEntry("Unsaved", 1, 1)));
    // Given again, the password holds no key until the next save.
    if (format == FileFormat::Legacy) s.SetFilePW("right");
}

} // namespace

class TestSeal : public QObject {
    Q_OBJECT

private slots:
    void onlyTheFilePasswordUnseals_data() {
        QTest::addColumn<bool>("legacy");
        QTest::newRow("format 2, the file key") << false;
        QTest::newRow("legacy, a key made at lock time") << true;
    }
    void onlyTheFilePasswordUnseals() {
        QFETCH(bool, legacy);
        QTemporaryDir dir;
        clsPW s;
        OpenChanged(s, dir, legacy ? FileFormat::Legacy : FileFormat::Two);
        const auto before = Items(s.Password());
        clsPW base = s; // the version a merge starts from, kept beside
        std::vector<std::string> texts{"typed in an editor", ""};
        QVERIFY(s.Seal(texts, {&base}));
        QVERIFY(s.Sealed() && base.Sealed());
        QVERIFY(texts.empty());
        QCOMPARE(s.Password().Count(), std::size_t{0});
        QCOMPARE(base.Password().Count(), std::size_t{0});
        QVERIFY(!s.SaveFile());
        QVERIFY(!s.CheckFilePW("right"));

        QVERIFY(!s.Unseal("wrong", texts, {&base}));
        QCOMPARE(s.ErrNum(), Code(StoreError::BadFile));
        QVERIFY(s.Sealed() && base.Sealed());

        QVERIFY(s.Unseal("right", texts, {&base}));
        QVERIFY(!s.Sealed() && !base.Sealed());
        QCOMPARE(texts, (std::vector<std::string>{"typed in an editor", ""}));
        QCOMPARE(Items(s.Password()), before);
        QCOMPARE(Items(base.Password()), before);
        QVERIFY(s.NotSaved());
        // Key and password are back: saving needs no password again.
        QVERIFY(s.CheckFilePW("right"));
        QVERIFY(s.SaveFile());
        clsPW r;
        QVERIFY(r.LoadFile(s.Filename(), "right"));
        QVERIFY(r.Password().Contains("Unsaved"));
    }
};

QTEST_GUILESS_MAIN(TestSeal)
#include "tst_seal.moc"
