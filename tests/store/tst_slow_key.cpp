// Files whose key settings are beyond the readers' ceiling but within what
// earlier versions let a user raise them to: refused with their own error
// (neither damage nor a wrong password) and without a derivation, opened
// with one derivation once the user agreed; settings no version ever
// allowed remain damage. The ceiling is lowered for the tests, so that the
// files stay quick to make.
#include "store/crypto/kdf.h"
#include "store/legacy/legacy_file.h"
#include "store/pw.h"
#include "store/slow_key.h"
#include "tests/store/store_samples.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ardeko;

namespace {

// What the tests' readers open without asking, and a file's settings just
// beyond it.
const KdfParams kTestCeiling{1, MinimalKdfParams().memoryKiB};
const KdfParams kJustBeyond{2, MinimalKdfParams().memoryKiB};

std::string Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

bool Put(const QString& path, const std::string& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

// A file written with the given key settings, in the given format.
bool WriteFile(const QString& path, FileFormat format, const KdfParams& params) {
    SetKdfParamsForTesting(params);
    clsPW s;
    s.NewFile();
    FillSample(s);
    s.SetFilePW("right");
    s.SetFormat(format);
    const bool saved = s.SaveFile(path.toStdString(), false);
    SetKdfParamsForTesting(std::nullopt);
    return saved;
}

// The settings in a format-2 header replaced (its key check then fails).
void SetHeaderParams(std::string& image, const KdfParams& p) {
    const std::size_t at = kVersionBytes + 4 + 1;
    for (int i = 0; i < 4; ++i) {
        image[at + i] = static_cast<char>(p.passes >> (8 * i));
        image[at + 4 + i] = static_cast<char>(p.memoryKiB >> (8 * i));
    }
}

} // namespace

class TestSlowKey : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void initTestCase() {
        SetKdfCeilingForTesting(kTestCeiling);
        // The estimate measures a derivation once per process: done here, so
        // that the counts below see only the opens' own.
        QVERIFY(EstimateKdfSeconds(kJustBeyond) > 0);
    }
    void cleanupTestCase() { SetKdfCeilingForTesting(std::nullopt); }
    void cleanup() { AllowSlowKdf(false); }

    void costOfSettings() {
        QCOMPARE(KdfCostOf(kTestCeiling), KdfCost::Usual);
        QCOMPARE(KdfCostOf(kJustBeyond), KdfCost::Slow);
        // The limits of earlier versions are the last that may be slow.
        QCOMPARE(KdfCostOf(kKdfAbsoluteCeiling), KdfCost::Slow);
        QCOMPARE(KdfCostOf({65, 64 * 1024}), KdfCost::Refused);
        QCOMPARE(KdfCostOf({3, 1024 * 1024 + 1}), KdfCost::Refused);
        QCOMPARE(KdfCostOf({0, 64 * 1024}), KdfCost::Refused);
    }

    void beyondTheCeilingIsItsOwnError_data() {
        QTest::addColumn<FileFormat>("format");
        QTest::newRow("format 2") << FileFormat::Two;
        QTest::newRow("legacy with trailer") << FileFormat::Legacy;
    }
    // Refused before any derivation, with the right password or another:
    // which of them it is cannot be known without the wait.
    void beyondTheCeilingIsItsOwnError() {
        QFETCH(FileFormat, format);
        const QString path = dir_.filePath("slow.QVS");
        QVERIFY(WriteFile(path, format, kJustBeyond));
        for (const char* password : {"right", "wrong"}) {
            const std::uint64_t before = KeyDerivations();
            clsPW r;
            QVERIFY(!r.TestForPW(path.toStdString()));
            QVERIFY(!r.LoadFile(path.toStdString(), password));
            QCOMPARE(r.ErrNum(), Code(StoreError::SlowKdf));
            QVERIFY(r.SlowKdfSettings() && *r.SlowKdfSettings() == kJustBeyond);
            QVERIFY2(r.ErrDescr().find("2 passes") != std::string::npos, r.ErrDescr().c_str());
            QCOMPARE(KeyDerivations(), before);
        }
    }

    void withConsentItOpensWithOneDerivation_data() { beyondTheCeilingIsItsOwnError_data(); }
    void withConsentItOpensWithOneDerivation() {
        QFETCH(FileFormat, format);
        const QString path = dir_.filePath("consent.QVS");
        QVERIFY(WriteFile(path, format, kJustBeyond));
        const std::string name = path.toStdString();

        // As QVS opens it: refused, the key made ahead, then loaded.
        std::uint64_t before = KeyDerivations();
        clsPW r;
        QVERIFY(!r.LoadFile(name, "right"));
        FileKey key;
        QVERIFY(DeriveKeyOfFile(name, "right", key));
        r.AdoptKey(std::move(key));
        QVERIFY2(r.LoadFile(name, "right"), r.ErrDescr().c_str());
        QCOMPARE(r.Password().Count(), std::size_t{4});
        QVERIFY(!r.SlowKdfSettings());
        QCOMPARE(KeyDerivations() - before, std::uint64_t{1});
        // Saved again, it keeps its settings (lowering them is the user's call).
        QVERIFY(r.SaveFile(name, false));
        clsPW again;
        QVERIFY(!again.LoadFile(name, "right"));
        QCOMPARE(again.ErrNum(), Code(StoreError::SlowKdf));

        // A wrong password made ahead: one derivation, then the usual refusal.
        before = KeyDerivations();
        clsPW w;
        QVERIFY(DeriveKeyOfFile(name, "wrong", key));
        w.AdoptKey(std::move(key));
        QVERIFY(!w.LoadFile(name, "wrong"));
        QCOMPARE(w.ErrNum(), Code(StoreError::BadFile));
        QCOMPARE(KeyDerivations() - before, std::uint64_t{1});

        // As qvs-cli --allow-slow-key opens it: every read of the process may.
        AllowSlowKdf(true);
        before = KeyDerivations();
        clsPW c;
        QVERIFY(c.LoadFile(name, "right"));
        QCOMPARE(KeyDerivations() - before, std::uint64_t{1});
    }

    // A file without a password says so without a derivation, and loads
    // once the user agreed.
    void withoutPasswordTheQuestionStillComes() {
        const QString path = dir_.filePath("open.QVS");
        SetKdfParamsForTesting(kJustBeyond);
        clsPW s;
        s.NewFile();
        FillSample(s);
        const bool saved = s.SaveFile(path.toStdString(), false);
        SetKdfParamsForTesting(std::nullopt);
        QVERIFY(saved);
        const std::uint64_t before = KeyDerivations();
        clsPW r;
        QVERIFY(r.TestForPW(path.toStdString()));
        QVERIFY(!r.LoadFile(path.toStdString(), ""));
        QCOMPARE(r.ErrNum(), Code(StoreError::SlowKdf));
        QCOMPARE(KeyDerivations(), before);
    }

    // Beyond what any version allowed: damage, as before, and no key is
    // made even when asked for.
    void beyondTheAbsoluteBoundIsDamage() {
        const QString path = dir_.filePath("damaged.QVS");
        QVERIFY(WriteFile(path, FileFormat::Two, kTestCeiling));
        std::string image = Bytes(path);
        for (const KdfParams p :
             {KdfParams{65, kTestCeiling.memoryKiB}, KdfParams{3, 2048 * 1024}}) {
            SetHeaderParams(image, p);
            QVERIFY(Put(path, image));
            const std::uint64_t before = KeyDerivations();
            clsPW r;
            QVERIFY(!r.LoadFile(path.toStdString(), "right"));
            QCOMPARE(r.ErrNum(), Code(StoreError::ChangedFile));
            FileKey key;
            QVERIFY(!DeriveKeyOfFile(path.toStdString(), "right", key));
            AllowSlowKdf(true);
            QVERIFY(!r.LoadFile(path.toStdString(), "right"));
            QCOMPARE(r.ErrNum(), Code(StoreError::ChangedFile));
            AllowSlowKdf(false);
            QCOMPARE(KeyDerivations(), before);
        }
    }
};

QTEST_GUILESS_MAIN(TestSlowKey)
#include "tst_slow_key.moc"
