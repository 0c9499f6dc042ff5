// An entry's extra fields: kept exactly through a format-2 save and load,
// refused (never dropped) by the older format, and merged as a field.
#include "store/format2/body.h"
#include "store/legacy/legacy_file.h"
#include "store/pw.h"
#include "tests/store/store_samples.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ardeko;

namespace {

std::string S(const QString& s) {
    return s.toStdString();
}

const std::vector<T_CustomField> kFields = {
    {"PIN", "0042", true},
    {"Private key", "-----BEGIN KEY-----\nAAAA\r\nBBBB\n-----END KEY-----\n", true},
    {"Kundennummer ü", "12 34", false},
    {"Empty", "", false}, // a name without a value is still a field
};

T_Password WithFields(const std::string& name, std::vector<T_CustomField> fields) {
    T_Password p = SampleEntry(name);
    p.Fields = std::move(fields);
    return p;
}

std::string Item(unsigned char tag, const std::string& value) {
    std::string s(1, static_cast<char>(tag));
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((value.size() >> (8 * i)) & 0xFF));
    return s + value;
}

} // namespace

class TestCustomFields : public QObject {
    Q_OBJECT

private slots:
    void keptExactlyThroughSaveAndLoad() {
        QTemporaryDir dir;
        const std::string path = S(dir.filePath("f.QVS"));
        clsPW s;
        s.NewFile();
        s.SetFilePW("pw");
        QVERIFY(s.InsertPassword(WithFields("Keys", kFields)));
        QVERIFY(s.InsertPassword(SampleEntry("Plain")));
        QVERIFY2(s.SaveFile(path, false), s.ErrDescr().c_str());
        clsPW r;
        QVERIFY2(r.LoadFile(path, "pw"), r.ErrDescr().c_str());
        QCOMPARE(r.Password().Find("Keys")->Fields, kFields); // order, flags and bytes
        QVERIFY(r.Password().Find("Plain")->Fields.empty());
        // An edit keeps them; a changed flag is a change like any other.
        T_Password edited = *r.Password().Find("Keys");
        edited.Fields[2].protect = true;
        QVERIFY(r.PWEdit(edited, "Keys"));
        QVERIFY(r.SaveFile(path, false));
        clsPW again;
        QVERIFY(again.LoadFile(path, "pw"));
        QVERIFY(again.Password().Find("Keys")->Fields[2].protect);
    }

    // A later writer's parts of a field are passed over; a field whose own
    // parts overrun makes the body malformed, as any overrun does.
    void laterPartsSkippedBrokenFieldRefused() {
        const std::string field = Item(1, "Name") + Item(9, "later") + Item(2, "v") + Item(3, "\1");
        DecodedFile f;
        QVERIFY(ReadBody(Item(3, Item(1, "Svc") + Item(67, field)), false, f));
        QCOMPARE(f.passwords.at(0).Fields, (std::vector<T_CustomField>{{"Name", "v", true}}));
        DecodedFile broken;
        QVERIFY(!ReadBody(Item(3, Item(1, "Svc") + Item(67, field.substr(0, field.size() - 1))),
                          false, broken));
    }

    void olderFormatRefusesNamingTheEntry() {
        QTemporaryDir dir;
        clsPW s;
        s.NewFile();
        s.SetFilePW("pw");
        s.SetFormat(FileFormat::Legacy);
        const T_Password p = WithFields("Card", {{"CVV", "123", true}});
        QVERIFY(s.Unstorable(p));
        QVERIFY(s.Unstorable(p)->find("Card") != std::string::npos);
        QVERIFY(s.InsertPassword(p));
        QVERIFY(!s.SaveFile(S(dir.filePath("l.QVS"))));
        QCOMPARE(s.ErrNum(), Code(StoreError::UnstorableText));
        QVERIFY(s.ErrDescr().find("extra fields") != std::string::npos);
        QVERIFY(s.Refusal()->field == Field::ExtraFields);
        QCOMPARE(s.Refusal()->name, std::string("Card"));
        QVERIFY(!QFile::exists(dir.filePath("l.QVS")));
        QCOMPARE(s.Password().Find("Card")->Fields, p.Fields); // nothing dropped
    }

    void mergedAsAField() {
        clsPW base;
        FillSample(base);
        clsPW mine = base, theirs = base;
        auto edit = [](clsPW& s, const char* name, auto change) {
            T_Password p = *s.Password().Find(name);
            change(p);
            p.Dt_Modif += 10;
            QVERIFY(s.PWEdit(p, name));
        };
        // Different fields on each side: both kept.
        edit(theirs, "Bank A", [](T_Password& p) { p.Fields = {{"PIN", "1", true}}; });
        edit(mine, "Bank A", [](T_Password& p) { p.User = "me"; });
        // The fields changed on both sides: a conflict, both versions kept.
        edit(mine, "Loose", [](T_Password& p) { p.Fields = {{"PIN", "mine", true}}; });
        edit(theirs, "Loose", [](T_Password& p) {
            p.Fields = {{"PIN", "theirs", true}};
            p.Dt_Modif += 1;
        });
        MergeSummary summary;
        QVERIFY(mine.Merge(&base, theirs, summary));
        const T_Password& a = *mine.Password().Find("Bank A");
        QCOMPARE(a.User, std::string("me"));
        QCOMPARE(a.Fields, (std::vector<T_CustomField>{{"PIN", "1", true}}));
        QCOMPARE(mine.Password().Find("Loose")->Fields[0].value, std::string("theirs"));
        QCOMPARE(summary.conflicts.size(), std::size_t(1));
        const T_Password* copy = mine.Password().Find(summary.conflicts[0].copy);
        QVERIFY(copy);
        QCOMPARE(copy->Fields[0].value, std::string("mine"));
    }
};

QTEST_GUILESS_MAIN(TestCustomFields)
#include "tst_custom_fields.moc"
