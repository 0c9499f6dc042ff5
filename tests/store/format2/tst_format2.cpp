// The authenticated format and the legacy trailer: what each gives back,
// how each refuses a wrong password and a changed file, and how the store
// keeps one key per open file.
#include "store/format2/body.h"
#include "store/format2/format2.h"
#include "store/legacy/legacy_file.h"
#include "store/legacy/trailer.h"
#include "store/pw.h"
#include "tests/store/store_samples.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ardeko;

namespace {

std::string ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

void WriteBytes(const QString& path, const std::string& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// An entry whose every field differs from its default, texts beyond any
// single-byte code page included.
T_Password WorldEntry() {
    T_Password p = SampleEntry("Почта 你好 🔑", 1, 1);
    p.pw = "пароль-密码-😀";
    p.Descr = std::string("line\0two", 8);
    p.Remember = std::string(70000, 'r'); // longer than any legacy text
    p.Dt_Insert = 45000.75;
    p.Dt_Expire = -1.5;
    p.Data1 = 2958465.5;
    p.ggNotExpire = -32768;
    p.int5 = 32767;
    p.Keyaftbef = -1;
    p.blChange = p.Favourites = p.bool5 = true;
    p.Email = "ünïcødé@example.org";
    p.Totp = "otpauth://totp/%D0%9F:x?secret=JBSWY3DPEHPK3PXP&issuer=%D0%9F";
    p.History = {{"старый 😀", 45999.5}, {"", 0}, {"older", 45000.25}};
    return p;
}

struct Fixture {
    QTemporaryDir dir;
    QString Path(const QString& name) const { return dir.filePath(name); }
};

Salt SaltOf(const std::string& image) {
    return ReadFormat2Header(image).value().salt;
}

} // namespace

class TestFormat2 : public QObject {
    Q_OBJECT

private slots:
    void newFilesAreFormat2AndKeepEveryText() {
        Fixture fx;
        clsPW s;
        s.NewFile();
        FillSample(s);
        s.InsertCategory({3, "Ключи", true});
        s.InsertPassword(WorldEntry());
        s.SetFilePW("pässwörd 🔒");
        QCOMPARE(s.Format(), FileFormat::Two);
        QVERIFY2(s.SaveFile(S(fx.Path("w.QVS"))), s.ErrDescr().c_str());
        const std::string image = ReadBytes(fx.Path("w.QVS"));
        QCOMPARE(DecodeHeader(image).version, std::string(kVersion200));
        QVERIFY(image.find("Почта") == std::string::npos); // enciphered

        const DecodedFile f = DecodeFile(image, "pässwörd 🔒");
        QCOMPARE(f.status, DecodeStatus::Ok);
        QVERIFY(!f.truncated && !f.badValues);
        QCOMPARE(std::vector<T_Password>(f.passwords.begin(), f.passwords.end()),
                 Items(s.Password()));
        QCOMPARE(f.categories, Items(s.Category()));
        QCOMPARE(f.subcategories, Items(s.SubCategory()));
        QCOMPARE(f.nodes, Items(s.NodeStates()));

        clsPW back;
        QVERIFY2(back.LoadFile(S(fx.Path("w.QVS")), "pässwörd 🔒"), back.ErrDescr().c_str());
        QCOMPARE(back.Format(), FileFormat::Two);
        for (std::size_t i = 0; i < back.Password().Count(); ++i)
            QCOMPARE(back.Password()[i].Email, s.Password()[i].Email); // not a 1.0x field
        QCOMPARE(back.LoadedVersion(), std::string(kVersion200));
        QVERIFY(!back.TestForPW(S(fx.Path("w.QVS"))));
        clsPW open;
        open.NewFile();
        QVERIFY(open.SaveFile(S(fx.Path("open.QVS"))));
        QVERIFY(open.TestForPW(S(fx.Path("open.QVS")))); // no password: opens without asking
    }

    void wrongPasswordAndChangedFileAreToldApartAndShowNothing() {
        clsPW s;
        s.NewFile();
        FillSample(s);
        EncodedFile unused;
        FileKey key;
        QVERIFY(NewFileKey("right", DefaultKdfParams(), key));
        std::string image;
        QVERIFY(!EncodeFormat2({s.Category(), s.SubCategory(), s.Password(), s.NodeStates()}, key,
                               image));
        QCOMPARE(DecodeFile(image, "righT").status, DecodeStatus::WrongPassword);
        QCOMPARE(DecodeFile(image, "").status, DecodeStatus::WrongPassword);

        const std::size_t header = ReadFormat2Header(image)->bytes;
        for (std::size_t i = 0; i < image.size(); ++i) {
            std::string flipped = image;
            flipped[i] = static_cast<char>(flipped[i] ^ (1 << (i % 8)));
            const DecodedFile f = DecodeFile(flipped, "right");
            QVERIFY2(f.status != DecodeStatus::Ok, qPrintable(QString("byte %1").arg(i)));
            QVERIFY(f.passwords.empty() && f.categories.empty());
            // Past the header the key is proved, so the file is at fault.
            if (i >= header) QCOMPARE(f.status, DecodeStatus::Damaged);
        }
        for (std::size_t n = 0; n < image.size(); ++n) {
            const DecodedFile f = DecodeFile(std::string_view(image).substr(0, n), "right");
            QVERIFY2(f.status != DecodeStatus::Ok, qPrintable(QString("cut at %1").arg(n)));
            QVERIFY(f.passwords.empty());
        }
    }

    void storeReportsBothFailuresByNumber() {
        Fixture fx;
        clsPW s;
        s.NewFile();
        FillSample(s);
        s.SetFilePW("pw");
        QVERIFY(s.SaveFile(S(fx.Path("a.QVS"))));
        clsPW r;
        QVERIFY(!r.LoadFile(S(fx.Path("a.QVS")), "pW"));
        QCOMPARE(r.ErrNum(), Code(StoreError::BadFile));
        std::string image = ReadBytes(fx.Path("a.QVS"));
        image[image.size() - 20] ^= 1;
        WriteBytes(fx.Path("a.QVS"), image);
        QVERIFY(!r.LoadFile(S(fx.Path("a.QVS")), "pw"));
        QCOMPARE(r.ErrNum(), Code(StoreError::ChangedFile));
        QVERIFY(r.ErrDescr().find(".BCK") != std::string::npos);
        QCOMPARE(r.Password().Count(), std::size_t{0});
    }

    void laterFieldsAndRecordsAreSkipped() {
        // A body as a later writer might write it: an unknown record kind,
        // and an entry with an unknown field between known ones.
        auto item = [](unsigned char tag, const std::string& value) {
            std::string s(1, static_cast<char>(tag));
            for (int i = 0; i < 4; ++i)
                s.push_back(static_cast<char>((value.size() >> (8 * i)) & 0xFF));
            return s + value;
        };
        const std::string entry = item(1, "Svc") + item(200, "future") + item(5, "secret");
        const std::string body = item(99, "whatever") + item(3, entry) + item(4, item(1, "Node"));
        DecodedFile f;
        QVERIFY(ReadBody(body, false, f));
        QCOMPARE(f.passwords.size(), std::size_t{1});
        QCOMPARE(f.passwords[0].service, std::string("Svc"));
        QCOMPARE(f.passwords[0].pw, std::string("secret"));
        QCOMPARE(f.nodes.size(), std::size_t{1});
        DecodedFile cut;
        QVERIFY(!ReadBody(body.substr(0, body.size() - 1), false, cut));
        // A history item is a field sequence of its own: one that overruns
        // is as malformed as a field that does.
        DecodedFile badItem;
        QVERIFY(!ReadBody(item(3, item(1, "Svc") + item(65, item(1, "old").substr(0, 7))), false,
                          badItem));
    }

    void legacyFormatRefusesCodesAndHistoryInsteadOfDroppingThem() {
        Fixture fx;
        clsPW s;
        s.NewFile();
        s.SetFilePW("pw");
        s.SetFormat(FileFormat::Legacy);
        T_Password coded = SampleEntry("Coded");
        coded.Totp = "otpauth://totp/x?secret=JBSWY3DPEHPK3PXP";
        T_Password earlier = SampleEntry("Earlier");
        earlier.History = {{"old", 46000}};
        for (const T_Password& p : {coded, earlier}) {
            QVERIFY(s.Unstorable(p));
            QVERIFY(s.Unstorable(p)->find(p.service) != std::string::npos);
            s.InsertPassword(p);
            QVERIFY(!s.SaveFile(S(fx.Path("l.QVS"))));
            QCOMPARE(s.ErrNum(), Code(StoreError::UnstorableText));
            QVERIFY(s.Refusal()); // so a window can say it in its language
            QVERIFY(s.Refusal()->field == (p.Totp.empty() ? Field::History : Field::Code));
            QVERIFY(!QFile::exists(fx.Path("l.QVS")));
            s.PWDel(p.service);
        }
        // A legacy file's entries gain no history when their password changes.
        s.InsertPassword(SampleEntry("Plain"));
        T_Password changed = SampleEntry("Plain");
        changed.pw = "new";
        QVERIFY(s.PWEdit(changed, "Plain"));
        QVERIFY(s.Password().Find("Plain")->History.empty());
        QVERIFY2(s.SaveFile(S(fx.Path("l.QVS"))), s.ErrDescr().c_str());
    }

    void savesKeepTheKeyAndANewPasswordDrawsANewSalt() {
        Fixture fx;
        const std::string path = S(fx.Path("k.QVS"));
        clsPW s;
        s.NewFile();
        FillSample(s);
        s.SetFilePW("one");
        QVERIFY(s.SaveFile(path));
        const std::string first = ReadBytes(fx.Path("k.QVS"));
        QVERIFY(s.SaveFile(path));
        const std::string second = ReadBytes(fx.Path("k.QVS"));
        QCOMPARE(SaltOf(second), SaltOf(first));
        QVERIFY(second != first); // a fresh nonce each save
        s.SetFilePW("two");
        QVERIFY(s.SaveFile(path));
        QVERIFY(SaltOf(ReadBytes(fx.Path("k.QVS"))) != SaltOf(first));
        clsPW r;
        QVERIFY(r.LoadFile(path, "two"));
        QVERIFY(!r.LoadFile(path, "one"));

        // A follower holding the key reads later saves with no password, and
        // still knows that the file has one (an empty one would unlock it).
        clsPW follower;
        QVERIFY2(follower.LoadFileAs(path, s), follower.ErrDescr().c_str());
        QCOMPARE(Items(follower.Password()), Items(s.Password()));
        QVERIFY(!follower.CheckFilePW(""));
        QVERIFY(follower.CheckFilePW("two"));
    }

    void raisingTheKdfIsWrittenAndRead() {
        Fixture fx;
        const std::string path = S(fx.Path("r.QVS"));
        clsPW s;
        s.NewFile();
        s.SetFilePW("pw");
        QVERIFY(!s.RaiseKdf({1, 8}, "pw"));
        QCOMPARE(s.ErrNum(), Code(StoreError::InvalidCall));
        QVERIFY(!s.RaiseKdf(kKdfFloor, "PW"));
        QCOMPARE(s.ErrNum(), Code(StoreError::BadFile));
        QVERIFY(s.RaiseKdf(kKdfFloor, "pw"));
        QVERIFY(s.SaveFile(path));
        QCOMPARE(ReadFormat2Header(ReadBytes(fx.Path("r.QVS")))->params, kKdfFloor);
        clsPW r;
        QVERIFY(r.LoadFile(path, "pw"));
        QCOMPARE(r.KdfSettings(), kKdfFloor);
    }

    void legacyFilesStayLegacyAndCarryATrailer() {
        Fixture fx;
        const std::string path = S(fx.Path("l.QVS"));
        clsPW s;
        s.NewFile();
        FillSample(s);
        s.SetFilePW("secret1");
        s.SetFormat(FileFormat::Legacy);
        QVERIFY(s.SaveFile(path));
        const std::string image = ReadBytes(fx.Path("l.QVS"));
        QCOMPARE(DecodeHeader(image).version, std::string(kVersion103));
        const auto trailer = FindTrailer(image);
        QVERIFY(trailer.has_value());
        QCOMPARE(trailer->start + kTrailerBytes, image.size());
        // What precedes the trailer is the legacy file as any reader knows it.
        const DecodedFile plain = DecodeFile(image.substr(0, trailer->start), "secret1");
        QCOMPARE(plain.status, DecodeStatus::Ok);
        QCOMPARE(Items(s.Password()).size(), plain.passwords.size());

        clsPW r;
        QVERIFY(r.LoadFile(path, "secret1"));
        QCOMPARE(r.Format(), FileFormat::Legacy);
        QVERIFY(r.SaveFile());
        QCOMPARE(DecodeHeader(ReadBytes(fx.Path("l.QVS"))).version, std::string(kVersion103));
        QCOMPARE(DecodeFile(image, "secret2").status, DecodeStatus::WrongPassword);

        // Any change before the MAC is found.
        std::string changed = image;
        changed[trailer->start - 3] ^= 0x10;
        QCOMPARE(DecodeFile(changed, "secret1").status, DecodeStatus::Damaged);

        // Converting: the same store written as format 2, read back alike.
        r.SetFormat(FileFormat::Two);
        QVERIFY(r.SaveFile());
        clsPW c;
        QVERIFY(c.LoadFile(path, "secret1"));
        QCOMPARE(c.Format(), FileFormat::Two);
        QCOMPARE(Items(c.Password()), Items(r.Password()));
    }

    void onlyTheLegacyWriterRefusesTextsItCannotHold() {
        Fixture fx;
        clsPW s;
        s.NewFile();
        s.InsertPassword(WorldEntry());
        s.SetFilePW("pw");
        s.SetFormat(FileFormat::Legacy);
        QVERIFY(!s.SaveFile(S(fx.Path("x.QVS"))));
        QCOMPARE(s.ErrNum(), Code(StoreError::UnstorableText));
        QVERIFY(s.ErrDescr().find("only Western European characters can") != std::string::npos);
        // The parts, for a window to say it in the user's language.
        QVERIFY(s.Refusal());
        QCOMPARE(s.Refusal()->name, WorldEntry().service);
        QVERIFY(s.Refusal()->field == Field::Service);
        QCOMPARE(s.Refusal()->character, std::optional<std::uint32_t>(U'П'));
        QVERIFY(!QFile::exists(fx.Path("x.QVS")));
        s.SetFormat(FileFormat::Two);
        QVERIFY(s.SaveFile(S(fx.Path("x.QVS"))));
    }

private:
    static std::string S(const QString& s) { return s.toStdString(); }
};

QTEST_GUILESS_MAIN(TestFormat2)
#include "tst_format2.moc"
