// Reading other programs' exports: text encodings, CSV quoting, and the files
// that must be refused with a message naming where the trouble is.
#include "store/import/foreign_csv.h"
#include "store/import/foreign_formats.h"
#include "store/import/foreign_text.h"

#include <QtTest>

using namespace ardeko;

namespace {

std::vector<std::vector<std::string>> Fields(const std::vector<CsvRecord>& records) {
    std::vector<std::vector<std::string>> out;
    for (const CsvRecord& r : records)
        out.push_back(r.fields);
    return out;
}

std::string Utf16Le(const std::u16string& s) {
    std::string out = "\xFF\xFE";
    for (char16_t c : s) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

// The error ReadForeignData gives, or "" when it reads the file.
std::string ErrorOf(std::string_view bytes, ReadOptions options = {}) {
    ForeignData data;
    const auto err = ReadForeignData(bytes, options, data);
    if (err && (!data.entries.empty() || !data.skipped.empty())) return "kept data: " + *err;
    return err.value_or("");
}

} // namespace

class TestForeignFiles : public QObject {
    Q_OBJECT

private slots:
    void csvQuotingAsWritten() {
        // Delimiters, doubled quotes and both kinds of line break inside
        // quoted fields; CR LF and LF between records; an empty last field.
        const std::string text = "a,\"b,c\",\"say \"\"hi\"\"\"\r\n"
                                 "\"two\r\nlines\",\"x\ny\",\r\n"
                                 "\n"
                                 "plain \"quote\" inside,,\"\"\n";
        std::vector<CsvRecord> records;
        QVERIFY(!ReadCsv(text, ',', records));
        const std::vector<std::vector<std::string>> want = {{"a", "b,c", "say \"hi\""},
                                                            {"two\nlines", "x\ny", ""},
                                                            {"plain \"quote\" inside", "", ""}};
        QCOMPARE(Fields(records), want);
        QCOMPARE(records[1].line, std::size_t(2));
        QCOMPARE(records[2].line, std::size_t(6)); // lines inside fields and blank lines count
    }

    void csvBrokenQuotesNameTheLine() {
        std::vector<CsvRecord> records;
        auto open = ReadCsv("a,b\nc,\"never\nclosed\n", ',', records);
        QVERIFY(open);
        QCOMPARE(open->line, std::size_t(2));
        QCOMPARE(open->what, ImportMsg::QuoteNotClosed);
        QCOMPARE(open->args, std::vector<std::string>{"2"});
        auto after = ReadCsv("a,b\n\"x\"y,z\n", ',', records);
        QVERIFY(after);
        QCOMPARE(after->line, std::size_t(2));
        QCOMPARE(GuessCsvDelimiter("a;b;\"c,d,e\";f\n1,2"), ';');
        QCOMPARE(GuessCsvDelimiter("a\tb\tc\n"), '\t');
    }

    void encodings() {
        std::string out;
        TextEncoding used{};
        QVERIFY(!DecodeForeignText("\xEF\xBB\xBFna\xC3\xAFve", TextEncoding::Auto, out, used));
        QCOMPARE(out, std::string("na\xC3\xAFve"));
        QCOMPARE(used, TextEncoding::Utf8);
        // UTF-16 with either byte order, a character outside the BMP included.
        QVERIFY(!DecodeForeignText(Utf16Le(u"Ж€😀"), TextEncoding::Auto, out, used));
        QCOMPARE(out, std::string("Ж€😀"));
        QCOMPARE(used, TextEncoding::Utf16);
        QVERIFY(!DecodeForeignText(std::string("\xFE\xFF\x00\x41\x20\xAC", 6), TextEncoding::Auto,
                                   out, used));
        QCOMPARE(out, std::string("A€"));
        // Not UTF-8: the Windows code page (0xE9 é, 0x80 €).
        QVERIFY(!DecodeForeignText("caf\xE9 \x80", TextEncoding::Auto, out, used));
        QCOMPARE(out, std::string("café €"));
        QCOMPARE(used, TextEncoding::Cp1252);
        // UTF-8 asked for but not given: the line is named.
        auto bad = DecodeForeignText("ok\nok\ncaf\xE9", TextEncoding::Utf8, out, used);
        QVERIFY(bad);
        QCOMPARE(bad->line, std::size_t(3));
        QVERIFY(
            DecodeForeignText(std::string("a,b\n\x01\x00\x02", 7), TextEncoding::Auto, out, used));
        QVERIFY(DecodeForeignText("\xFF\xFE\x41", TextEncoding::Auto, out, used)); // half a unit
    }

    // One byte that is not UTF-8 in a file that is UTF-8 elsewhere: read as
    // Windows-1252, every accented character would change, passwords too.
    // Under Auto it is refused, naming the line, and any encoding chosen
    // reads it as that encoding.
    void mixedEncodingIsRefusedNotGuessed() {
        const std::string bytes = "name,url,username,password\n"
                                  "Caf\xC3\xA9,,me,p\xC3\xA4ss\n"
                                  "Bar,,you,\xE9t\xE9\n";
        ForeignData data;
        const auto err = ReadForeignData(bytes, {}, data);
        QVERIFY(err);
        QVERIFY2(QString::fromStdString(*err).startsWith("Line 3: a byte here is not UTF-8"),
                 err->c_str());
        QCOMPARE(data.problem->what, ImportMsg::MixedEncoding);
        QVERIFY(data.entries.empty());
        ReadOptions cp1252;
        cp1252.encoding = TextEncoding::Cp1252;
        QVERIFY(!ReadForeignData(bytes, cp1252, data));
        QCOMPARE(data.entries[1].password, std::string("\xC3\xA9t\xC3\xA9"));
        QCOMPARE(data.encoding, TextEncoding::Cp1252);
    }

    // A message about a broken file says where, never what is there: the
    // text around a fault may be a password.
    void problemsNeverQuoteTheFile() {
        const std::string secret = "hunter2-Secret";
        for (const std::string& bytes :
             {"{\"items\": [ {\"login\": {\"password\": \"" + secret + "\" } ] ]",
              "{\"items\": [ {\"login\": {\"password\": \"" + secret + "\x01\"} } ] }",
              "{\"items\": [ {\"login\": {\"uris\": \"" + secret + "\"} } ] }",
              "name,url,username,password\nx,,,\"" + secret + "\"z\n"}) {
            ForeignData data;
            const auto err = ReadForeignData(bytes, {}, data);
            QVERIFY2(err, bytes.c_str());
            QVERIFY2(err->find("hunter") == std::string::npos, err->c_str());
        }
    }

    void detectionAndRefusals() {
        ForeignData data;
        QVERIFY(!ReadForeignData("name,url,username,password,note\n", {}, data));
        QCOMPARE(data.format, ForeignFormat::Chrome);
        QVERIFY(!ReadForeignData("url,username,password,totp,extra,name,grouping,fav\n", {}, data));
        QCOMPARE(data.format, ForeignFormat::LastPass);
        QVERIFY(!ReadForeignData(Utf16Le(u"\"Group\",\"Title\",\"Username\",\"Password\",\"URL\","
                                         u"\"Notes\"\r\n"),
                                 {}, data));
        QCOMPARE(data.format, ForeignFormat::KeePassCsv);
        QVERIFY(!ReadForeignData("{\"encrypted\":false,\"items\":[]}", {}, data));
        QCOMPARE(data.format, ForeignFormat::BitwardenJson);

        const std::map<std::string, std::string> refused = {
            {"", "empty"},
            {"\r\n  \n", "empty"},
            {"id,colour,size\n1,red,2\n", "Line 1"},
            {"name,url,username,password\nx,y,z\n", "Line 2: 3 fields"},
            {"name,url,username,password\na,b,c,d,e\n", "Line 2: 5 fields"},
            {"name,url,username,password\n\"a,b,c,d\n", "Line 2: field 1"},
            {"{\"items\": [ {\"name\": 1}, {\"login\": []} ]}", "items[1].login"},
            {"{\"folders\": []}", "items"},
            {"[1,2,3]", "items"},
            {"{\"items\": [}", "Line 1: the file is not valid JSON (column 12)"},
            {"{\"encrypted\": true, \"items\": []}", "encrypted"},
        };
        for (const auto& [bytes, part] : refused) {
            const std::string err = ErrorOf(bytes);
            QVERIFY2(QString::fromStdString(err).contains(QString::fromStdString(part)),
                     (bytes + " -> " + err).c_str());
        }
        ReadOptions firefox;
        firefox.format = ForeignFormat::Firefox;
        QVERIFY(QString::fromStdString(ErrorOf("name,url,username,password\n", firefox))
                    .contains("httprealm"));
        QVERIFY(QString::fromStdString(ErrorOf(std::string(kMaxForeignFileBytes + 1, 'a')))
                    .contains("larger than"));
    }

    void genericCsvMapping() {
        const std::string text = "Site;Login;Secret;Where\n"
                                 "Mail;me;p;a/b/c\n";
        ReadOptions o;
        o.format = ForeignFormat::Csv;
        ForeignData data;
        QVERIFY(!ReadForeignData(text, o, data)); // captions guessed: nothing matches "Site"
        QCOMPARE(data.delimiter, ';');
        o.mapText = "title=Site,user=login,password=3,group=4";
        QVERIFY(!ReadForeignData(text, o, data));
        QCOMPARE(data.entries.size(), std::size_t(1));
        const ForeignEntry& e = data.entries.front();
        QCOMPARE(e.title, std::string("Mail"));
        QCOMPARE(e.user, std::string("me"));
        QCOMPARE(e.password, std::string("p"));
        QCOMPARE(e.groups, (std::vector<std::string>{"a", "b", "c"}));
        // Without captions the first row is data and columns are numbers.
        o.firstRowCaptions = false;
        o.mapText = "title=1,password=3";
        QVERIFY(!ReadForeignData(text, o, data));
        QCOMPARE(data.entries.size(), std::size_t(2));
        QCOMPARE(data.captions.front(), std::string("Column 1"));
        // Columns given no field are not lost: they are kept as fields.
        const std::vector<T_CustomField> unmapped = {{"Column 2", "me", false},
                                                     {"Column 4", "a/b/c", false}};
        QCOMPARE(data.entries[1].fields, unmapped);
        for (const char* wrong : {"title=9", "colour=1", "title"}) {
            o.mapText = wrong;
            QVERIFY2(QString::fromStdString(ErrorOf(text, o)).contains("--map"), wrong);
        }
    }

    void dates() {
        const auto d = ParseIsoDate("2024-03-01T10:20:30Z");
        QVERIFY(d);
        QCOMPARE(*ParseIsoDate("2024-03-01 10:20:30.125+00:00"), *d);
        QCOMPARE(*ParseIsoDate("2024-03-01T12:20:30+02:00"), *d);
        QCOMPARE(ParseIsoDate("2024-03-01").value(), 45352.0); // no zone: taken as local
        QVERIFY(!ParseIsoDate("yesterday"));
        QVERIFY(!ParseIsoDate("2024-13-01"));
    }
};

QTEST_GUILESS_MAIN(TestForeignFiles)
#include "tst_foreign_files.moc"
