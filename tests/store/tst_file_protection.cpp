// What stops a mistyped password or a changed byte from getting past the
// store: old files that cannot tell a wrong password are never rewritten on
// the strength of one typing, the legacy trailer survives bytes appended
// after it and reports its own damage, key settings stay within what opens
// in seconds, and a body of many alike records is not held many times over.
#include "store/crypto/kdf.h"
#include "store/format2/format2.h"
#include "store/legacy/legacy_file.h"
#include "store/legacy/trailer.h"
#include "store/pw.h"
#include "tests/store/store_samples.h"
#include "tests/store/typo_search.h"

#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace ardeko;
using typos::FindOpeningTypo;
using typos::OpeningTypo;

namespace {

std::string FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

bool PutBytes(const QString& path, const std::string& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
}

// A legacy file our writer made, with its trailer.
std::string OwnLegacyFile(const QString& path, const std::string& password) {
    clsPW s;
    s.NewFile();
    FillSample(s);
    s.SetFilePW(password);
    s.SetFormat(FileFormat::Legacy);
    return s.SaveFile(path.toStdString(), false) ? FileBytes(path) : std::string();
}

std::size_t TrailerStart(const std::string& image) {
    return FindTrailer(image).value().start;
}

} // namespace

class TestFileProtection : public QObject {
    Q_OBJECT

private slots:
    void aTypoThatOpensAnOldFileNeverRewritesIt() {
        QTemporaryDir dir;
        const QString path = dir.filePath("old.QVS");
        const std::optional<OpeningTypo> found = FindOpeningTypo();
        QVERIFY2(found, "no typo opened any of the files searched");
        QVERIFY(PutBytes(path, found->image));

        clsPW s;
        QVERIFY(s.LoadFile(path.toStdString(), found->typo));
        QVERIFY(s.PasswordUnchecked());
        // Neither a save (which adds a trailer) nor a conversion writes.
        QVERIFY(!s.SaveFile());
        QCOMPARE(s.ErrNum(), Code(StoreError::PasswordUnchecked));
        s.SetFormat(FileFormat::Two);
        QVERIFY(!s.SaveFile(path.toStdString()));
        // The second typing is the right one: the two differ, nothing is written.
        QVERIFY(!s.ConfirmFilePW(found->password));
        QCOMPARE(s.ErrNum(), Code(StoreError::PasswordsDiffer));
        QVERIFY(!s.SaveFile());
        QCOMPARE(FileBytes(path), found->image);

        // With the right password twice, the file gets its trailer; the typo
        // is refused from then on.
        clsPW r;
        QVERIFY(r.LoadFile(path.toStdString(), found->password));
        QVERIFY(r.PasswordUnchecked());
        QVERIFY(r.ConfirmFilePW(found->password));
        QVERIFY(r.SaveFile(path.toStdString(), false));
        QVERIFY(FindTrailer(FileBytes(path)).has_value());
        clsPW again;
        QVERIFY(!again.LoadFile(path.toStdString(), found->typo));
        QCOMPARE(again.ErrNum(), Code(StoreError::BadFile));
        QVERIFY(again.LoadFile(path.toStdString(), found->password));
        QVERIFY(!again.PasswordUnchecked());
        // Following the file with the confirmed password keeps it confirmed.
        clsPW follower;
        QVERIFY(follower.LoadFileAs(path.toStdString(), r));
        QVERIFY(!follower.PasswordUnchecked());
    }

    void appendedBytesLeaveTheTrailerInForce_data() {
        QTest::addColumn<QByteArray>("appended");
        QTest::newRow("line feed") << QByteArray("\n");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("zero byte") << QByteArray(1, '\0');
        QTest::newRow("a block") << QByteArray(300, '\x5a');
        QTest::newRow("a second marker") << QByteArray("QVS-TRL1") + QByteArray(90, '\1');
    }
    void appendedBytesLeaveTheTrailerInForce() {
        QFETCH(QByteArray, appended);
        QTemporaryDir dir;
        const QString path = dir.filePath("own.QVS");
        const std::string image = OwnLegacyFile(path, "secret1") + appended.toStdString();
        QVERIFY(PutBytes(path, image));

        clsPW s;
        QVERIFY(s.LoadFile(path.toStdString(), "secret1"));
        QCOMPARE(s.ErrNum(), Code(StoreError::AppendedBytes));
        QVERIFY(!s.PasswordUnchecked());
        QCOMPARE(s.Password().Count(), std::size_t{4});
        QCOMPARE(DecodeFile(image, "secret2").status, DecodeStatus::WrongPassword);
        for (std::size_t at : {std::size_t{40}, TrailerStart(image) - 3}) {
            std::string flipped = image;
            flipped[at] ^= 0x10;
            QCOMPARE(DecodeFile(flipped, "secret1").status, DecodeStatus::Damaged);
        }
        // The next save leaves the appended bytes out.
        QVERIFY(s.SaveFile());
        const std::string saved = FileBytes(path);
        QCOMPARE(FindTrailer(saved).value().end, saved.size());
    }

    void aTrailerOutOfPlaceOrMarredIsDamage() {
        QTemporaryDir dir;
        const std::string image = OwnLegacyFile(dir.filePath("own.QVS"), "secret1");
        const std::size_t start = TrailerStart(image);
        auto statusOf = [](const std::string& bytes) {
            return DecodeFile(bytes, "secret1").status;
        };
        for (std::size_t i = 0; i < 8; ++i) {
            std::string marred = image;
            marred[start + i] ^= 0x01;
            QCOMPARE(statusOf(marred), DecodeStatus::Damaged);
            QCOMPARE(statusOf(marred + "\r\n"), DecodeStatus::Damaged);
        }
        // Cut inside the trailer, or bytes put between the records and it.
        for (std::size_t keep : {std::size_t{3}, std::size_t{8}, kTrailerBytes - 1})
            QCOMPARE(statusOf(image.substr(0, start + keep)), DecodeStatus::Damaged);
        std::string moved = image;
        moved.insert(start, "\n");
        QCOMPARE(statusOf(moved), DecodeStatus::Damaged);
        // Without it, the records read as any other program's file.
        QCOMPARE(statusOf(image.substr(0, start)), DecodeStatus::Ok);
    }

    void aFailedKeyCheckMayBeDamageAndNamesTheCopies() {
        QTemporaryDir dir;
        const QString path = dir.filePath("f2.QVS");
        clsPW s;
        s.NewFile();
        FillSample(s);
        s.SetFilePW("right");
        QVERIFY(s.SaveFile(path.toStdString(), false));
        std::string image = FileBytes(path);
        image[ReadFormat2Header(image)->bytes - kCheckBytes - kNonceBytes - 3] ^= 0x04; // the salt
        QVERIFY(PutBytes(path, image));
        clsPW r;
        QVERIFY(!r.LoadFile(path.toStdString(), "right"));
        QCOMPARE(r.ErrNum(), Code(StoreError::BadFile));
        QVERIFY(r.ErrDescr().find("or the file is damaged") != std::string::npos);
        QVERIFY(r.ErrDescr().find(r.BackupPathFor(path.toStdString(), false)) != std::string::npos);
        QVERIFY(r.ErrDescr().find(r.BackupFolder()) != std::string::npos);
    }

    void keySettingsStayWithinWhatOpensInSeconds() {
        // The settings a hostile header named before: refused without a derivation.
        clsPW s;
        s.NewFile();
        FillSample(s);
        s.SetFilePW("right");
        QTemporaryDir dir;
        const QString path = dir.filePath("f2.QVS");
        QVERIFY(s.SaveFile(path.toStdString(), false));
        std::string image = FileBytes(path);
        const std::size_t params = kVersionBytes + 4 + 1;
        // The limit of earlier versions is asked about first (a user may
        // have raised a file that far); beyond it is damage.
        for (const auto& [hostile, status] :
             {std::pair{KdfParams{64, 1024 * 1024}, DecodeStatus::SlowKey},
              std::pair{KdfParams{4096, 64 * 1024}, DecodeStatus::Damaged},
              std::pair{KdfParams{3, 4u * 1024 * 1024}, DecodeStatus::Damaged}}) {
            for (int i = 0; i < 4; ++i) {
                image[params + i] = static_cast<char>(hostile.passes >> (8 * i));
                image[params + 4 + i] = static_cast<char>(hostile.memoryKiB >> (8 * i));
            }
            const std::uint64_t before = KeyDerivations();
            QCOMPARE(DecodeFile(image, "right").status, status);
            QCOMPARE(KeyDerivations(), before);
        }
        // Whatever a writer makes stronger stays readable, and at least the floor.
        KdfParams p = kKdfFloor;
        for (int i = 0; i < 12; ++i) {
            p = WithinCeiling({p.passes * 2, p.memoryKiB * 2});
            QVERIFY(KdfParamsAcceptable(p));
            QVERIFY(p.passes >= kKdfFloor.passes && p.memoryKiB >= kKdfFloor.memoryKiB);
        }
    }

    void openingDerivesOneKey() {
        QTemporaryDir dir;
        for (const std::string password : {"right", ""}) {
            const QString path = dir.filePath("one.QVS");
            clsPW s;
            s.NewFile();
            FillSample(s);
            s.SetFilePW(password);
            QVERIFY(s.SaveFile(path.toStdString(), false));
            // As the programs open a file: ask whether it needs a password, then load.
            const std::uint64_t before = KeyDerivations();
            clsPW r;
            QCOMPARE(r.TestForPW(path.toStdString()), password.empty());
            QVERIFY(r.LoadFile(path.toStdString(), password));
            QCOMPARE(KeyDerivations() - before, std::uint64_t{1});
        }
    }

    void weakKeySettingsLoadWithAWarning() {
        QTemporaryDir dir;
        const QString path = dir.filePath("weak.QVS");
        SetKdfParamsForTesting(MinimalKdfParams());
        clsPW s;
        s.NewFile();
        FillSample(s);
        s.SetFilePW("right");
        QVERIFY(s.SaveFile(path.toStdString(), false));
        SetKdfParamsForTesting(kKdfFloor); // a writer as installed programs have it
        clsPW r;
        const bool loaded = r.LoadFile(path.toStdString(), "right");
        const int warning = r.ErrNum();
        SetKdfParamsForTesting(std::nullopt);
        QVERIFY(loaded);
        QCOMPARE(warning, Code(StoreError::WeakKdf));
        QCOMPARE(r.Password().Count(), std::size_t{4});
    }

    void manyAlikeEntriesAreNotHeldManyTimesOver() {
        // A body of many entries of one name: one is kept, the rest counted.
        constexpr std::size_t kAlike = 20000;
        clsPW s;
        s.NewFile();
        PasswordCollection entries;
        const T_Password same = SampleEntry("same");
        for (std::size_t i = 0; i < kAlike; ++i)
            QCOMPARE(entries.Append(std::to_string(i), same), 0);
        FileKey key;
        QVERIFY(NewFileKey("k", DefaultKdfParams(), key));
        std::string image;
        QVERIFY(
            !EncodeFormat2({s.Category(), s.SubCategory(), entries, s.NodeStates()}, key, image));
        entries.Clear();
        const DecodedFile f = DecodeFile(image, "k");
        QCOMPARE(f.status, DecodeStatus::Ok);
        QCOMPARE(f.passwords.size(), std::size_t{1});
        QCOMPARE(f.duplicates, kAlike - 1);
    }

    void textsThatAreNotUtf8AreRepairedAndTold() {
        clsPW s;
        s.NewFile();
        T_Password p = SampleEntry("Bank");
        p.User = "ab\xff\xc3";
        p.Remember = "ok \xe2\x82\xac"; // a whole sequence stays
        QVERIFY(s.InsertPassword(p));
        FileKey key;
        QVERIFY(NewFileKey("k", DefaultKdfParams(), key));
        std::string image;
        QVERIFY(!EncodeFormat2({s.Category(), s.SubCategory(), s.Password(), s.NodeStates()}, key,
                               image));
        const DecodedFile f = DecodeFile(image, "k");
        QCOMPARE(f.status, DecodeStatus::Ok);
        QVERIFY(f.badValues);
        QCOMPARE(f.passwords.front().User, std::string("ab\xef\xbf\xbd\xef\xbf\xbd"));
        QCOMPARE(f.passwords.front().Remember, p.Remember);
    }
};

QTEST_GUILESS_MAIN(TestFileProtection)
#include "tst_file_protection.moc"
