// Loading and saving data files through the store: round trips, older and
// plain files, passwords, damage, backups, crash-safe writes and the checks
// that keep unstorable data out of a file.
#include "store/legacy/legacy_file.h"
#include "store/legacy/trailer.h"
#include "store/pw.h"
#include "tests/store/file_builder.h"
#include "tests/store/record_compare.h"
#include "tests/store/store_samples.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>

using namespace ardeko;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string S(const QString& s) {
    return s.toStdString();
}

// A Western European text holding every character the file can store.
std::string EveryStorableCharacter() {
    std::string bytes;
    for (int b = 1; b < 256; ++b)
        bytes.push_back(static_cast<char>(b));
    return Cp1252ToUtf8(bytes);
}

T_Password ExtremeEntry() {
    T_Password p = SampleEntry("Extreme ÀÉÎÕÜ €", -1, 32767);
    p.Descr = EveryStorableCharacter();
    p.Remember = std::string(kMaxTextLength, 'x');
    p.User.clear();
    p.ggNotExpire = -32768;
    p.ggNotChange = 32767;
    p.Keyaftbef = -1;
    p.int2 = -32768;
    p.int5 = 32767;
    p.Dt_Insert = 45000.75;
    p.Dt_Expire = -1.5;
    p.Data1 = 2958465.5;
    p.data5 = -657434;
    p.blChange = p.blNotExpire = p.Favourites = p.bool5 = true;
    p.Email = "ünïcødé@example.org";
    p.stringa5 = "reserved";
    return p;
}

// What an enciphered round trip gives back: every date as its day.
T_Password DaysOnly(T_Password p) {
    VisitFields(p, [](const char*, auto& f) {
        if constexpr (std::is_same_v<std::decay_t<decltype(f)>, double>) f = VbDatePart(f);
    });
    return p;
}

struct ScopedFileSizeLimit {
    rlimit old{};
    explicit ScopedFileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit lim = old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~ScopedFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
};

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString Path(const QString& name) const { return dir.filePath(name); }

private slots:
    void freshAndNewStores() {
        clsPW s;
        QVERIFY(s.EncryptFile());
        QVERIFY(!s.NotSaved());
        QCOMPARE(s.Filename(), std::string());
        QCOMPARE(s.FileVersion(), std::string("<Password File 1.03>"));
        FillSample(s);
        s.SetFilePW("pw");
        QVERIFY(s.NotSaved());
        s.NewFile();
        QCOMPARE(s.Filename(), std::string("<New QVS File>"));
        QVERIFY(!s.NotSaved());
        QVERIFY(s.Password().Empty() && s.Category().Empty() && s.NodeStates().Empty());
        QVERIFY(s.CheckFilePW(""));
    }

    void roundTripKeepsEveryField() {
        clsPW s;
        FillSample(s);
        s.InsertPassword(ExtremeEntry());
        s.InsertCategory({32767, "Zeta", true});
        s.InsertSubCategory({-5, 32767, ""});
        s.SetFilePW("Pässwörd");
        s.SetFormat(FileFormat::Legacy);
        const QString path = Path("roundtrip.QVS");
        QVERIFY2(s.SaveFile(S(path), false), s.ErrDescr().c_str());
        QVERIFY(!s.NotSaved());
        QCOMPARE(s.Filename(), S(path));

        clsPW r;
        QVERIFY2(r.LoadFile(S(path), "Pässwörd"), r.ErrDescr().c_str());
        QCOMPARE(r.ErrNum(), 0);
        QCOMPARE(r.ErrDescr(), std::string());
        QVERIFY(r.EncryptFile());
        COMPARE_RECORDS(Items(r.Category()), Items(s.Category()));
        COMPARE_RECORDS(Items(r.SubCategory()), Items(s.SubCategory()));
        COMPARE_RECORDS(Items(r.NodeStates()), Items(s.NodeStates()));
        std::vector<T_Password> expected;
        for (const T_Password& p : s.Password())
            expected.push_back(DaysOnly(p));
        COMPARE_RECORDS(Items(r.Password()), expected);
        QVERIFY(r.CheckFilePW("Pässwörd"));
        QVERIFY(!r.CheckFilePW("pässwörd"));
        QCOMPARE(std::filesystem::status(S(path)).permissions(),
                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    }

    void everySaveDrawsANewSeed() {
        clsPW s;
        FillSample(s);
        s.SetFormat(FileFormat::Legacy);
        const QString path = Path("seeds.QVS");
        QVERIFY(s.SaveFile(S(path), false));
        const QByteArray first = ReadAll(path);
        const std::int32_t seed = s.FileSeed();
        QTest::qWait(20); // a seed drawn on another tick of the clock
        QVERIFY(s.SaveFile(S(path), false));
        QVERIFY(s.FileSeed() != seed);
        QVERIFY(ReadAll(path) != first);
    }

    void plainFilesKeepTimesAndAreEncipheredOnSave() {
        T_Password p = SampleEntry("Plain");
        p.Dt_Insert = 45000.25;
        p.Dt_Expire = 45100.75;
        p.Dt_Change = -3.5;
        // Our trailer's marker in a text of another program's plain file is
        // only text: such a file has no trailer.
        p.Descr = "QVS-TRL1 and more than eighty bytes of notes after it, "
                  "so that it would pass for a whole trailer";
        FileBuilder b("<Password File 1.03>", 777, "open", nullptr);
        b.Count(1);
        b.Categ({1, "Banks", false});
        b.Count(0);
        b.Count(1);
        b.Password(p);
        b.Count(0);
        const QString path = Path("plain.QVS");
        QVERIFY(b.SaveTo(path));

        clsPW s;
        QVERIFY(!s.LoadFile(S(path), "wrong"));
        QVERIFY2(s.LoadFile(S(path), "open"), s.ErrDescr().c_str());
        QVERIFY(!s.EncryptFile());
        const T_Password* got = s.Password().Find("plain");
        QVERIFY(got);
        QCOMPARE(got->Dt_Insert, 45000.25); // a plain file keeps the time of day
        QCOMPARE(got->Dt_Expire, 45100.0);  // the loader cuts these two to their day
        QCOMPARE(got->Dt_Change, -3.0);
        QCOMPARE(got->Descr, p.Descr);

        QVERIFY(s.SaveFile("", false));
        QVERIFY(s.EncryptFile());
        clsPW again;
        QVERIFY(again.LoadFile(S(path), "open"));
        QVERIFY(again.EncryptFile());
        QCOMPARE(again.LoadedVersion(), std::string("<Password File 1.03>"));
    }

    void olderVersionsLoad_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("enciphered");
        QTest::addColumn<bool>("keepsKeys");
        QTest::newRow("1.01 plain") << "<Password File 1.01>" << false << false;
        QTest::newRow("1.01 enciphered") << "<Password File 1.01>" << true << false;
        QTest::newRow("1.02 enciphered") << "<Password File 1.02>" << true << true;
    }
    void olderVersionsLoad() {
        QFETCH(QString, version);
        QFETCH(bool, enciphered);
        QFETCH(bool, keepsKeys);
        T_Password p = SampleEntry("Old");
        p.Email = "meaningless";
        p.Keyaftbef = 1234;
        clsEncrypt cipher;
        cipher.Init("legacy", 424242);
        FileBuilder b(S(version), 424242, "legacy", enciphered ? &cipher : nullptr);
        b.Count(0);
        b.Count(0);
        b.Count(1);
        b.Password(p);
        b.Count(1);
        b.Node({"Old node", true});
        const QString path = Path("old.QVS");
        QVERIFY(b.SaveTo(path));

        clsPW s;
        QVERIFY2(s.LoadFile(S(path), "legacy", 777), s.ErrDescr().c_str());
        const T_Password* got = s.Password().Find("OLD");
        QVERIFY(got);
        QCOMPARE(got->Email, std::string());
        QCOMPARE(got->Keyaftbef, std::int16_t(keepsKeys ? 1234 : 777));
        QCOMPARE(got->User, p.User);
        QCOMPARE(s.NodeStates().Count(), std::size_t{1});
        // Another program's enciphered file cannot tell a wrong password:
        // it is written only once the password was given again.
        QCOMPARE(s.PasswordUnchecked(), enciphered);
        QVERIFY(s.ConfirmFilePW("legacy"));
        QVERIFY(s.SaveFile("", false));
        QCOMPARE(DecodeHeader(ReadAll(path).toStdString()).version,
                 std::string("<Password File 1.03>"));
        QVERIFY(DecodeHeader(ReadAll(path).toStdString()).encrypted);
    }

    void passwordAndVersionFailuresLeaveTheStoreAlone() {
        const QString locked = Path("locked.QVS");
        {
            clsPW w;
            w.InsertPassword(SampleEntry("Other file"));
            w.SetFilePW("right");
            QVERIFY(w.SaveFile(S(locked), false));
        }
        FileBuilder bad("<Password File 9.99>", 1, "", nullptr);
        QVERIFY(bad.SaveTo(Path("future.QVS")));

        clsPW s;
        FillSample(s);
        s.SetFilePW("mine");
        const QString mine = Path("mine.QVS");
        QVERIFY(s.SaveFile(S(mine), false));
        s.InsertPassword(SampleEntry("Unsaved"));
        s.SetFilePW("mine"); // marks the change unsaved

        QVERIFY(!s.LoadFile(S(locked), "wrong"));
        QCOMPARE(s.ErrNum(), Code(StoreError::BadFile));
        // Wrong, or damaged: the key check cannot tell, so the copies are named.
        QCOMPARE(s.ErrDescr(), "The password for file " + S(locked) +
                                   " is wrong, or the file is damaged! If the password is right, "
                                   "its backup copies may still be whole: " +
                                   s.BackupPathFor(S(locked), false) + " and the dated copies in " +
                                   s.BackupFolder() + ".");
        QVERIFY(!s.LoadFile(S(Path("future.QVS")), ""));
        QCOMPARE(s.ErrDescr(), "File " + S(Path("future.QVS")) + ": Invalid File Version!");
        QVERIFY(!s.TestForPW(S(locked)));
        QVERIFY(s.TestForPW(S(Path("future.QVS"))));

        // Nothing of the failed attempts reached the open store, not even the
        // mistyped password: saving it again must keep the old password.
        QCOMPARE(s.Filename(), S(mine));
        QVERIFY(s.NotSaved());
        QVERIFY(s.Password().Contains("Unsaved"));
        QVERIFY(s.CheckFilePW("mine"));
        QVERIFY(s.SaveFile("", false));
        clsPW r;
        QVERIFY(r.LoadFile(S(mine), "mine"));
        QCOMPARE(r.Password().Count(), std::size_t{5});
    }

    void emptyPasswordsAndMissingFiles() {
        clsPW w;
        FillSample(w);
        w.SetFormat(FileFormat::Legacy);
        const QString open = Path("open.QVS");
        QVERIFY(w.SaveFile(S(open), false));
        clsPW s;
        QVERIFY(s.TestForPW(S(open)));
        QVERIFY(!s.LoadFile(S(open), "anything"));
        QVERIFY(s.LoadFile(S(open), ""));

        const std::string missing = S(Path("missing.QVS"));
        QVERIFY(s.TestForPW(missing));
        QCOMPARE(s.ErrNum(), Code(StoreError::NotFound));
        QVERIFY(!s.FileExist(missing));
        QVERIFY(!s.LoadFile(missing));
        QCOMPARE(s.ErrNum(), Code(StoreError::NotFound));
        QCOMPARE(s.ErrDescr(), "File " + missing + " not Found!");
        QCOMPARE(s.Filename(), missing);
        QVERIFY(s.Password().Empty());
    }

    void damagedFilesKeepWhatWasRead() {
        clsPW w;
        FillSample(w);
        w.SetFormat(FileFormat::Legacy);
        const QString whole = Path("whole.QVS");
        QVERIFY(w.SaveFile(S(whole), false));
        // Cut within the records, the trailer goes first.
        const QByteArray bytes = ReadAll(whole).chopped(static_cast<qsizetype>(kTrailerBytes));

        // The last node record loses its final byte: everything else stays.
        QFile cut(Path("cut.QVS"));
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write(bytes.left(bytes.size() - 1));
        cut.close();
        clsPW s;
        QVERIFY(s.LoadFile(S(cut.fileName())));
        QCOMPARE(s.ErrNum(), Code(StoreError::DamagedFile));
        QCOMPARE(s.ErrDescr(), "File " + S(cut.fileName()) + " is damaged: its data ends early!");
        QCOMPARE(s.Password().Count(), std::size_t{4});
        QCOMPARE(s.Category().Count(), std::size_t{2});
        QCOMPARE(s.NodeStates().Count(), std::size_t{1});

        // Cut in the middle: only whole records before the break survive.
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write(bytes.left(bytes.size() / 2));
        cut.close();
        QVERIFY(s.LoadFile(S(cut.fileName())));
        QCOMPARE(s.ErrNum(), Code(StoreError::DamagedFile));
        QVERIFY(s.Password().Count() < 4);
        QVERIFY(s.NodeStates().Empty());

        QVERIFY(s.LoadFile(S(whole)));
        QCOMPARE(s.ErrNum(), 0);
        QCOMPARE(s.ErrDescr(), std::string());

        // A file that is not a data file at all.
        QFile junk(Path("junk.QVS"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("x");
        junk.close();
        QVERIFY(!s.LoadFile(S(junk.fileName())));
        QCOMPARE(s.ErrNum(), Code(StoreError::BadFile));
    }

    void backupCopies() {
        QDir(dir.path()).mkdir("b");
        const QString home = Path("b/Home.QVS");
        clsPW s;
        s.InsertPassword(SampleEntry("First"));
        QVERIFY(s.SaveFile(S(home)));
        QVERIFY(!QFile::exists(Path("b/Home.BCK"))); // nothing to back up yet
        const QByteArray original = ReadAll(home);
        s.InsertPassword(SampleEntry("Second"));
        QVERIFY(s.SaveFile());
        s.InsertPassword(SampleEntry("Third"));
        QVERIFY(s.SaveFile());
        QCOMPARE(ReadAll(Path("b/Home.BCK")), original); // kept from the first backup

        const QString bare = Path("b/NoExtension");
        QVERIFY(s.SaveFile(S(bare)));
        QVERIFY(s.SaveFile(S(bare)));
        QVERIFY(QFile::exists(bare + ".BCK"));

        s.SetBackupFolder(S(Path("history/deep")));
        s.SetClock([] { return VbDateFromParts({2026, 12, 6, 16, 55, 25}); });
        QVERIFY(s.SaveFile(S(home), true, true));
        const QString stamped = Path("history/deep/Home_06122026_165525.BCK");
        QVERIFY(QFile::exists(stamped));
        clsPW r;
        QVERIFY(r.LoadFile(S(stamped)));
        QCOMPARE(r.Password().Count(), std::size_t{3});
    }

    void failedWritesLeaveTheOldFileIntact() {
        const QString target = Path("safe/Keep.QVS");
        QDir(dir.path()).mkdir("safe");
        clsPW s;
        FillSample(s);
        QVERIFY(s.SaveFile(S(target), false));
        const QByteArray before = ReadAll(target);

        T_Password big = SampleEntry("Big");
        big.Descr = std::string(40000, 'b');
        s.InsertPassword(big);
        s.SetFilePW(""); // marks the change unsaved
        {
            ScopedFileSizeLimit limit(static_cast<rlim_t>(before.size() + 1000));
            QVERIFY(!s.SaveFile("", true));
        }
        QCOMPARE(s.ErrNum(), Code(StoreError::DiskFull));
        QVERIFY(s.NotSaved());
        QCOMPARE(ReadAll(target), before);
        QCOMPARE(QDir(Path("safe")).entryList(QDir::Files | QDir::Hidden), QStringList{"Keep.QVS"});

        const std::string nowhere = S(Path("no/such/folder/X.QVS"));
        QVERIFY(!s.SaveFile(nowhere, false));
        QCOMPARE(s.ErrNum(), Code(StoreError::PathNotFound));
        QVERIFY(s.ErrDescr().find(nowhere) != std::string::npos);
        QCOMPARE(s.Filename(), S(target));
    }

    void unstorableDataIsRefusedBeforeWriting() {
        const QString path = Path("refuse.QVS");
        clsPW s;
        FillSample(s);
        s.SetFormat(FileFormat::Legacy);
        QVERIFY(s.SaveFile(S(path), false));
        const QByteArray before = ReadAll(path);

        s.InsertPassword(SampleEntry("Fine"));
        T_Password bad = SampleEntry("Shop");
        bad.pw = "secretЖ";
        s.InsertPassword(bad);
        QVERIFY(!s.SaveFile());
        QCOMPARE(s.ErrNum(), Code(StoreError::UnstorableText));
        QVERIFY2(s.ErrDescr().find("Entry \"Shop\", field pw") != std::string::npos,
                 s.ErrDescr().c_str());
        QVERIFY(s.ErrDescr().find("Ж") == std::string::npos); // no character of a password
        clsPW other;
        T_Password named = SampleEntry("Named");
        named.User = "Жанна";
        other.InsertPassword(named);
        other.SetFormat(FileFormat::Legacy);
        QVERIFY(!other.SaveFile(S(Path("other.QVS")), false));
        QVERIFY(other.ErrDescr().find("field User: the character U+0416") != std::string::npos);
        QCOMPARE(ReadAll(path), before);

        clsPW longText;
        T_Password huge = SampleEntry("Huge");
        huge.Descr = std::string(kMaxTextLength + 1, 'x');
        longText.InsertPassword(huge);
        longText.SetFormat(FileFormat::Legacy);
        QVERIFY(!longText.SaveFile(S(Path("long.QVS")), false));
        QCOMPARE(longText.ErrNum(), Code(StoreError::TooLarge));
        QVERIFY(!QFile::exists(Path("long.QVS")));

        clsPW many;
        for (int i = 0; i <= 32767; ++i)
            many.InsertCategory(
                {static_cast<std::int16_t>(i % 32767), "C" + std::to_string(i), false});
        many.SetFormat(FileFormat::Legacy);
        QVERIFY(!many.SaveFile(S(Path("many.QVS")), false));
        QCOMPARE(many.ErrNum(), Code(StoreError::TooLarge));
        QVERIFY(!QFile::exists(Path("many.QVS")));

        clsPW password;
        password.SetFilePW("пароль");
        password.SetFormat(FileFormat::Legacy);
        QVERIFY(!password.SaveFile(S(Path("pw.QVS")), false));
        QCOMPARE(password.ErrNum(), Code(StoreError::UnstorableText));
    }

    // Short passwords stay out of the key; their files must open every time.
    void shortPasswordsAlwaysOpen() {
        for (const std::string password : {"p", "pw", "pwd"}) {
            clsPW s;
            for (int i = 0; i < 30; ++i) {
                T_Password p = SampleEntry("Entry " + std::to_string(i));
                p.Descr = "Some longer description text, number " + std::to_string(i);
                s.InsertPassword(p);
            }
            s.SetFilePW(password);
            const QString path = Path("short.QVS");
            for (int save = 0; save < 20; ++save) {
                QVERIFY(s.SaveFile(S(path), false));
                clsPW r;
                QVERIFY2(r.LoadFile(S(path), password), r.ErrDescr().c_str());
                QCOMPARE(r.Password().Count(), std::size_t{30});
            }
        }
    }

    // Another writer may use a seed whose key depends on its own generator
    // history; such files must still open.
    void filesWithHistoryDependentSeedsOpen_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("seed");
        QTest::newRow("password") << "Secret" << 0x12345600;
        QTest::newRow("no password") << "" << 0x00ABCD00;
        QTest::newRow("negative seed") << "Secret" << ~0x11223300;
    }
    void filesWithHistoryDependentSeedsOpen() {
        QFETCH(QString, password);
        QFETCH(int, seed);
        clsEncrypt cipher;
        cipher.Init("earlier history", 98765); // leaves the generator somewhere else
        cipher.Init(S(password), seed);
        FileBuilder b("<Password File 1.03>", seed, S(password), &cipher);
        b.Count(1);
        b.Categ({1, "Banks", false});
        b.Count(1);
        b.SCateg({7, 1, "Cards"});
        b.Count(2);
        b.Password(SampleEntry("Alpha", 1, 7));
        b.Password(SampleEntry("Beta"));
        b.Count(0);
        const QString path = Path("elsewhere.QVS");
        QVERIFY(b.SaveTo(path));

        clsPW s;
        QVERIFY2(s.LoadFile(S(path), S(password)), s.ErrDescr().c_str());
        QCOMPARE(s.ErrNum(), 0);
        COMPARE_RECORDS(Items(s.Password()), (std::vector{DaysOnly(SampleEntry("Alpha", 1, 7)),
                                                          DaysOnly(SampleEntry("Beta"))}));
        COMPARE_RECORDS(Items(s.SubCategory()), (std::vector<T_SCateg>{{7, 1, "Cards"}}));
        // A small file offers little to check a near miss against, but it
        // must never load cleanly under it.
        if (!password.isEmpty() && s.LoadFile(S(path), "secret"))
            QCOMPARE(s.ErrNum(), Code(StoreError::DamagedFile));
    }

    // The stored password alone accepts some wrong passwords. A wrong
    // character among the first four garbles every number the file holds, so
    // the data gives it away. (Beyond the fourth, a wrong character only
    // garbles text, and the data can tell only when that makes no sense.)
    void wrongPasswordsTheDataContradictsAreRefused() {
        const std::string password = "Hunter2xQ";
        clsPW s;
        FillSample(s);
        for (int i = 0; i < 40; ++i) {
            T_Password p = SampleEntry("Service " + std::to_string(i), 1, 1);
            p.Descr = "Account number " + std::to_string(1000 + i * 7) + " at the branch";
            s.InsertPassword(p);
        }
        s.SetFilePW(password);
        s.SetFormat(FileFormat::Legacy);
        const QString path = Path("nearmiss.QVS");
        for (int save = 0; save < 6; ++save) {
            QVERIFY(s.SaveFile(S(path), false));
            const QByteArray bytes = ReadAll(path);
            for (std::size_t i = 0; i < password.size(); ++i) {
                if (i >= 4) break;
                for (int delta : {-1, 1, 32, -32, 100}) {
                    std::string typo = password;
                    typo[i] = static_cast<char>(typo[i] + delta);
                    clsPW r;
                    if (r.LoadFile(S(path), typo))
                        QFAIL(qPrintable(
                            QString("wrong character at %1 (%2) accepted").arg(i).arg(delta)));
                    QCOMPARE(r.ErrNum(), Code(StoreError::BadFile));
                }
            }
            clsPW right;
            QVERIFY(right.LoadFile(S(path), password));
            QCOMPARE(right.Password().Count(), std::size_t{44});
            // Damage with the right password still loads what was read.
            QFile cut(Path("nearmiss-cut.QVS"));
            QVERIFY(cut.open(QIODevice::WriteOnly));
            cut.write(bytes.left(bytes.size() * 2 / 3));
            cut.close();
            QVERIFY2(right.LoadFile(S(cut.fileName()), password), right.ErrDescr().c_str());
            QCOMPARE(right.ErrNum(), Code(StoreError::DamagedFile));
        }
    }

    void rootNames() {
        clsPW s;
        QCOMPARE(s.RootName(), std::optional<std::string>(""));
        s.NewFile();
        QCOMPARE(s.RootName(), std::optional<std::string>("<New QVS File>"));
        s.SetFilename("/data/My.Files/Home.QVS");
        QCOMPARE(s.RootName(), std::optional<std::string>("Home"));
        s.SetFilename("Plain.qvs");
        QCOMPARE(s.RootName(), std::optional<std::string>("Plain"));
        s.SetFilename("/data/My.Files/NoExtension");
        QCOMPARE(s.RootName(), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
