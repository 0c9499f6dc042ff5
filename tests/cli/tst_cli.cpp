// qvs-cli end to end: JSON in, data file, JSON out, and every way of refusing input.
#include "store/legacy/trailer.h"
#include "store/records.h"
#include "store/totp.h"
#include "store/vbdate.h"
#include "tests/cli/cli_run.h"
#include "tests/store/file_builder.h"

#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageAuthenticationCode>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <type_traits>

namespace {

// variant 0 leaves every field at its default; other variants set every field,
// at the edges of what the file can hold: extreme 16-bit values, Western
// European texts, dates with a time of day (also before 1900 and in 9999).
QJsonObject Entry(const QString& service, int variant) {
    static const int ints[] = {-32768, 32767, -1, 12345};
    static const double dates[] = {45123.75, -1234.5, 2958465.5, 0.999, 36526.25};
    QJsonObject o;
    int i = variant;
    ardeko::VisitFields(ardeko::T_Password{}, [&](const char* name, const auto& field) {
        using F = std::decay_t<decltype(field)>;
        const QString key = QLatin1String(name);
        ++i;
        if constexpr (std::is_same_v<F, std::string>)
            o[key] = variant ? QString("Crème “%1” — €ŠŽœŸ ß ÿ %2").arg(key).arg(variant) : "";
        else if constexpr (std::is_same_v<F, std::int16_t>)
            o[key] = variant ? ints[i % 4] : 0;
        else if constexpr (std::is_same_v<F, bool>)
            o[key] = variant && i % 2 == 0;
        else
            o[key] = variant ? dates[i % 5] : 0.0;
    });
    o["service"] = service;
    return o;
}

// What a date becomes in an enciphered legacy file: its day, midnight. A
// format-2 file keeps every date whole; the store keeps the expiry and change
// dates by day.
QJsonObject AsStored(QJsonObject o, bool legacy = true) {
    ardeko::VisitFields(ardeko::T_Password{}, [&](const char* name, const auto& field) {
        const QString key = QLatin1String(name);
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, double>)
            if (legacy || key == "Dt_Expire" || key == "Dt_Change")
                o[key] = std::trunc(o[key].toDouble());
    });
    return o;
}

std::string Hmac(ardeko::TotpAlgorithm, std::string_view key, std::string_view message) {
    return QMessageAuthenticationCode::hash(QByteArray(message.data(), qsizetype(message.size())),
                                            QByteArray(key.data(), qsizetype(key.size())),
                                            QCryptographicHash::Sha1)
        .toStdString();
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const QString& name) const { return dir_.filePath(name); }

    Run Create(const QByteArray& json, const QByteArray& passwordLine = "pw-1\n",
               const QStringList& more = {}) {
        QFile f(Path("in.json"));
        if (!f.open(QIODevice::WriteOnly) || f.write(json) != json.size()) return {};
        f.close();
        return RunCli(QStringList{"create", Path("out.qvs"), "--from", Path("in.json"), "--force",
                                  "--password-stdin"} +
                          more,
                      passwordLine);
    }
    Run Create(const QJsonObject& doc, const QStringList& more = {}) {
        return Create(QJsonDocument(doc).toJson(), "pw-1\n", more);
    }
    Run Dump(const QString& file, const QByteArray& passwordLine = "pw-1\n") {
        return RunCli({"dump", file, "--password-stdin"}, passwordLine);
    }

    static void CompareRecords(const QJsonArray& got, const QList<QJsonObject>& want,
                               const char* what) {
        QCOMPARE(got.size(), want.size());
        for (qsizetype i = 0; i < got.size(); ++i) {
            const QJsonObject g = got[i].toObject();
            QCOMPARE(g.keys(), want[i].keys());
            for (const QString& key : g.keys())
                QVERIFY2(
                    g[key] == want[i][key],
                    qPrintable(
                        QString("%1[%2].%3: got %4, want %5")
                            .arg(what)
                            .arg(i)
                            .arg(key)
                            .arg(QJsonDocument(QJsonArray{g[key]}).toJson(QJsonDocument::Compact),
                                 QJsonDocument(QJsonArray{want[i][key]})
                                     .toJson(QJsonDocument::Compact))));
        }
    }

private slots:
    void init() { QVERIFY(dir_.isValid()); }
    void cleanup() {
        QFile::remove(Path("out.qvs"));
        QFile::remove(Path("plain.qvs"));
    }

    void everyFieldSurvivesTheRoundTrip_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("version");
        QTest::newRow("legacy") << "legacy"
                                << "<Password File 1.03>";
        QTest::newRow("2") << "2"
                           << "<Password File 2.00>";
    }

    void everyFieldSurvivesTheRoundTrip() {
        QFETCH(QString, format);
        QFETCH(QString, version);
        const bool legacy = format == "legacy";
        QJsonObject catLow{{"Codcat", -32768}, {"DescrCat", "Zubehör & Öle"}, {"TVExp", true}};
        QJsonObject catHigh{{"Codcat", 32767}, {"DescrCat", "Ärzte"}, {"TVExp", false}};
        QJsonObject sub1{{"CodSCat", 32767}, {"Codcat", -32768}, {"DescrSCat", "Garçon"}};
        QJsonObject sub2{{"CodSCat", -32768}, {"Codcat", 32767}, {"DescrSCat", "Garçon"}};
        const QJsonObject node{{"DescrCat", "Ärzte"}, {"TVExp", true}};
        QJsonObject zeta = Entry("Zeta", 1), alpha = Entry("Alpha", 2),
                    minimal = Entry("Minimal", 0);
        QJsonObject bare{{"service", "Minimal"}};
        // Identifiers come back as given (a merge pairs entries by them).
        if (!legacy) {
            zeta["Id"] = QString(32, QChar('f'));
            alpha["Id"] = QStringLiteral("0123456789abcdef0123456789abcdef");
            bare["Id"] = minimal["Id"] = QString(32, QChar('0'));
            catLow["Id"] = sub1["Id"] = QString(32, QChar('1'));
            catHigh["Id"] = sub2["Id"] = QString(32, QChar('2'));
        }
        const QJsonObject doc{{"Category", QJsonArray{catLow, catHigh}},
                              {"SubCategory", QJsonArray{sub1, sub2}},
                              {"Password", QJsonArray{zeta, alpha, bare}},
                              {"NodeStates", QJsonArray{node}}};
        const Run created = Create(doc, {"--format", format});
        QVERIFY2(created.exitCode == 0, created.err);

        const Run dumped = Dump(Path("out.qvs"));
        QVERIFY2(dumped.exitCode == 0, dumped.err);
        QVERIFY(dumped.err.isEmpty());
        const QJsonObject out = QJsonDocument::fromJson(dumped.out).object();
        QCOMPARE(out["version"].toString(), version);
        QCOMPARE(out["encrypted"], QJsonValue(true));
        QVERIFY(out["seed"].isDouble());
        // Records come back in the collections' name order, ordinal over UTF-8
        // ("Zubehör" before "Ärzte").
        CompareRecords(out["Category"].toArray(), {catLow, catHigh}, "Category");
        CompareRecords(out["SubCategory"].toArray(), {sub1, sub2}, "SubCategory");
        CompareRecords(out["Password"].toArray(),
                       {AsStored(alpha, legacy), minimal, AsStored(zeta, legacy)}, "Password");
        CompareRecords(out["NodeStates"].toArray(), {node}, "NodeStates");
    }

    // A plain (not enciphered) file keeps a date's time of day, so the dump
    // must print doubles with every digit.
    void plainFileDatesKeepFullPrecision() {
        ardeko::T_Password r;
        r.service = "Plain";
        r.Dt_Insert = 45123.123456789012;
        r.Data1 = -1234.5678901234567;
        FileBuilder b("<Password File 1.03>", 77, "", nullptr);
        b.Count(0);
        b.Count(0);
        b.Count(1);
        b.Password(r);
        b.Count(0);
        QVERIFY(b.SaveTo(Path("plain.qvs")));

        const Run dumped = Dump(Path("plain.qvs"), "\n");
        QVERIFY2(dumped.exitCode == 0, dumped.err);
        const QJsonObject out = QJsonDocument::fromJson(dumped.out).object();
        QCOMPARE(out["encrypted"], QJsonValue(false));
        QCOMPARE(out["seed"].toInt(), 77);
        const QJsonObject entry = out["Password"].toArray()[0].toObject();
        QVERIFY(entry["Dt_Insert"].toDouble() == r.Dt_Insert);
        QVERIFY(entry["Data1"].toDouble() == r.Data1);
    }

    // The dump is written piece by piece; its text must stay exactly what
    // Qt's indented JSON writer makes of the same document (escapes, number
    // forms, key order, empty lists), as scripts that read it rely on.
    void dumpTextIsQtsIndentedJson() {
        ardeko::T_Password r;
        r.service = "Quote \" back\\slash /\x01\x1f\x7f\b\f\t\r\n é€\u0081 end";
        r.User = std::string(300, 'u');
        r.Dt_Insert = 45123.123456789012; // a plain file keeps the time of day
        r.Dt_Modif = 100000;              // whole: printed as an integer, not 1e+05
        r.Data1 = 1e-5;
        r.Data2 = -657434;
        r.Data3 = 2958465.5;
        r.Data4 = -0.0;
        r.int2 = -32768;
        r.bool3 = true;
        FileBuilder b("<Password File 1.02>", -2147483647, "", nullptr);
        b.Count(1);
        b.Categ({7, "Cat \"A\"", true});
        b.Count(0);
        b.Count(1);
        b.Password(r);
        b.Count(1);
        b.Node({"Cat \"A\"", false});
        QVERIFY(b.SaveTo(Path("plain.qvs")));
        QCOMPARE(Create(QByteArray("{}"), "\n", {"--no-password"}).exitCode, 0);
        for (const QString& file : {Path("plain.qvs"), Path("out.qvs")}) {
            const Run dumped = Dump(file, "\n");
            QVERIFY2(dumped.exitCode == 0, dumped.err);
            QCOMPARE(dumped.out, QJsonDocument::fromJson(dumped.out).toJson());
        }
    }

    // A cut legacy file shows what is left; a changed format-2 file shows nothing.
    void damagedFileIsShownWithAWarning() {
        const QJsonObject doc{{"Password", QJsonArray{Entry("One", 1), Entry("Two", 2)}}};
        QCOMPARE(Create(doc, {"--format", "legacy"}).exitCode, 0);
        QFile f(Path("out.qvs"));
        QVERIFY(f.resize(f.size() - static_cast<qint64>(ardeko::kTrailerBytes) -
                         3)); // the records, past the trailer
        const Run dumped = Dump(Path("out.qvs"));
        QCOMPARE(dumped.exitCode, 0);
        QVERIFY2(dumped.err.contains("damaged"), dumped.err);
        QCOMPARE(QJsonDocument::fromJson(dumped.out).object()["Password"].toArray().size(), 1);

        QCOMPARE(Create(doc).exitCode, 0);
        QVERIFY(f.resize(f.size() - 3));
        const Run refused = Dump(Path("out.qvs"));
        QCOMPARE(refused.exitCode, 3);
        QVERIFY2(refused.err.contains("changed or is damaged"), refused.err);
        QVERIFY(refused.out.isEmpty());
    }

    void formatsAreChosenConvertedAndTold() {
        QJsonObject entry = Entry("Почта", 0);
        entry["pw"] = "密码";
        const QJsonObject world{{"Password", QJsonArray{entry}}};
        const Run legacy = Create(world, {"--format", "legacy"});
        QCOMPARE(legacy.exitCode, 5);
        QVERIFY2(legacy.err.contains("only Western European characters can"), legacy.err);

        const QJsonObject doc{{"Password", QJsonArray{Entry("One", 1), Entry("Two", 2)}}};
        QCOMPARE(Create(doc, {"--format", "legacy"}).exitCode, 0);
        const Run info = RunCli({"info", Path("out.qvs")}, {});
        QCOMPARE(info.exitCode, 0);
        QVERIFY2(info.out.startsWith("format: legacy\nversion: <Password File 1.03>\n"
                                     "key derivation: Argon2id, "),
                 info.out);
        const QByteArray before = Dump(Path("out.qvs")).out;

        const Run converted = RunCli({"convert", Path("out.qvs"), "--password-stdin"}, "pw-1\n");
        QVERIFY2(converted.exitCode == 0, converted.err);
        const QString backup = QString::fromUtf8(converted.err).section(" kept as ", 1).trimmed();
        QVERIFY2(QFile::exists(backup), converted.err);
        QVERIFY(RunCli({"info", Path("out.qvs")}, {}).out.startsWith("format: 2\n"));
        QVERIFY(RunCli({"info", backup}, {}).out.startsWith("format: legacy\n"));
        // The same entries, now with identifiers.
        QJsonArray after = QJsonDocument::fromJson(Dump(Path("out.qvs")).out)["Password"].toArray();
        for (QJsonValueRef entry : after) {
            QJsonObject o = entry.toObject();
            QCOMPARE(o.take("Id").toString().size(), 32);
            entry = o;
        }
        QCOMPARE(after, QJsonDocument::fromJson(before)["Password"].toArray());

        const Run again = RunCli({"convert", Path("out.qvs"), "--password-stdin"}, "pw-1\n");
        QCOMPARE(again.exitCode, 0);
        QVERIFY(again.err.contains("already"));
        const Run wrong =
            RunCli({"convert", Path("out.qvs"), "--format", "legacy", "--password-stdin"}, "x\n");
        QCOMPARE(wrong.exitCode, 2);
        QVERIFY(
            RunCli({"convert", Path("out.qvs"), "--format", "legacy", "--password-stdin"}, "pw-1\n")
                .exitCode == 0);
        QVERIFY(RunCli({"info", Path("out.qvs")}, {}).out.startsWith("format: legacy\n"));

        const Run notData = RunCli({"info", Path("in.json")}, {});
        QCOMPARE(notData.exitCode, 3);
        QVERIFY(notData.err.contains("Invalid File Version"));
    }

    void passwordsComeFromTheFirstLineOfStdin() {
        QCOMPARE(Create(QByteArray("{}"), "\n", {"--no-password"}).exitCode, 0);
        const Run empty = Dump(Path("out.qvs"), "\n");
        QVERIFY2(empty.exitCode == 0, empty.err);
        for (const char* section : {"Category", "SubCategory", "Password", "NodeStates"})
            QCOMPARE(QJsonDocument::fromJson(empty.out).object()[section],
                     QJsonValue(QJsonArray()));

        QCOMPARE(Create(QByteArray("{}"), "two words\r\nignored\n").exitCode, 0);
        QCOMPARE(Dump(Path("out.qvs"), "two words").exitCode, 0);

        const Run wrong = Dump(Path("out.qvs"), "two words \n");
        QCOMPARE(wrong.exitCode, 2);
        QVERIFY2(wrong.err.contains("is wrong"), wrong.err);
        QVERIFY(wrong.out.isEmpty());

        QFile::remove(Path("out.qvs"));
        QCOMPARE(Create(QByteArray("{}"), "").exitCode, 1);
        QVERIFY(!QFile::exists(Path("out.qvs")));
    }

    void badInputIsRefused_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("mentions");
        auto entries = [](const QByteArray& records) {
            return "{\"Password\": [" + records + "]}";
        };
        QTest::newRow("text for int")
            << entries(R"({"service": "Shop", "Codcat": "3"})")
            << QStringList{"Password[0] \"Shop\"", "\"Codcat\"", "a text"};
        QTest::newRow("int16 too big") << QByteArray(R"({"Category": [{"Codcat": 32768}]})")
                                       << QStringList{"Category[0]", "\"Codcat\"", "out of range"};
        QTest::newRow("int16 too small") << entries(R"({"ggNotExpire": -32769})")
                                         << QStringList{"\"ggNotExpire\"", "out of range"};
        QTest::newRow("fraction for int")
            << entries(R"({"int2": 1.5})") << QStringList{"\"int2\"", "integer"};
        QTest::newRow("number for bool")
            << entries(R"({"Favourites": 1})") << QStringList{"\"Favourites\""};
        QTest::newRow("text for date")
            << entries(R"({"Dt_Expire": "2024-05-01"})") << QStringList{"\"Dt_Expire\""};
        QTest::newRow("date out of range")
            << entries(R"({"Data1": 1e9})") << QStringList{"\"Data1\"", "out of range"};
        QTest::newRow("counter-based code")
            << entries(
                   "{\"service\": \"S\", \"Totp\": \"otpauth://hotp/x?secret=GEZDGNBVGY3TQOJQ\"}")
            << QStringList{"\"Totp\"", "otpauth://totp/"};
        QTest::newRow("history item")
            << entries(
                   R"({"service": "S", "History": [{"pw": "a", "replaced": 45000}, {"pw": 1}]})")
            << QStringList{"\"History\"", "item 1", "\"pw\""};
        QTest::newRow("identifier in capitals")
            << entries(R"({"service": "S", "Id": "0123456789ABCDEF0123456789abcdef"})")
            << QStringList{"\"Id\"", "32 lowercase"};
        QTest::newRow("identifier too short")
            << entries(R"({"service": "S", "Id": "0123"})") << QStringList{"\"Id\"", "\"0123\""};
        QTest::newRow("identifier twice")
            << entries(R"({"service": "S", "Id": "00000000000000000000000000000000"},
                          {"service": "T", "Id": "00000000000000000000000000000000"})")
            << QStringList{"\"S\" and \"T\"", "same \"Id\""};
        QTest::newRow("category identifier twice")
            << QByteArray(
                   R"({"Category": [{"DescrCat": "A", "Id": "11111111111111111111111111111111"},
                          {"DescrCat": "B", "Id": "11111111111111111111111111111111"}]})")
            << QStringList{"categories \"A\" and \"B\"", "same \"Id\""};
        QTest::newRow("category identifier malformed")
            << QByteArray(R"({"Category": [{"DescrCat": "A", "Id": "x"}]})")
            << QStringList{"Category[0] \"A\"", "\"Id\""};
        QTest::newRow("identifier of a node")
            << QByteArray(
                   R"({"NodeStates": [{"DescrCat": "A", "Id": "11111111111111111111111111111111"}]})")
            << QStringList{"NodeStates[0]", "unknown field \"Id\""};
        QTest::newRow("null for text")
            << entries(R"({"service": null})") << QStringList{"\"service\"", "null"};
        QTest::newRow("unknown field")
            << entries(R"({"service": "Shop", "Pasword": "x"})") << QStringList{"\"Pasword\""};
        QTest::newRow("duplicate name") << entries(R"({"service": "Shop"}, {"service": "SHOP"})")
                                        << QStringList{"Password[1] \"SHOP\"", "duplicate"};
        QTest::newRow("duplicate node")
            << QByteArray(R"({"NodeStates": [{"DescrCat": "A"}, {"DescrCat": "a"}]})")
            << QStringList{"NodeStates[1]"};
        QTest::newRow("record not object")
            << QByteArray(R"({"Category": [7]})") << QStringList{"Category[0]"};
        QTest::newRow("list not array")
            << QByteArray(R"({"SubCategory": {}})") << QStringList{"\"SubCategory\""};
        QTest::newRow("unknown list")
            << QByteArray(R"({"Passwords": []})") << QStringList{"\"Passwords\""};
        QTest::newRow("broken JSON")
            << QByteArray(R"({"Category": [)") << QStringList{"invalid JSON"};
        QTest::newRow("lone surrogate") << entries(R"({"service": "Shop", "Remember": "a\ud800b"})")
                                        << QStringList{"\"Remember\"", "lone surrogate", "\\uD800"};
        QTest::newRow("unstorable character")
            << entries(R"({"service": "Shop", "Descr": "Cyrillic Ж"})")
            << QStringList{"Entry \"Shop\"", "Descr", "U+0416"};
    }

    void badInputIsRefused() {
        QFETCH(QByteArray, json);
        QFETCH(QStringList, mentions);
        QFile::remove(Path("out.qvs"));
        // The legacy writer, which refuses the most.
        const Run r = Create(json, "pw-1\n", {"--format", "legacy"});
        // Bad input is a usage fault; text the file cannot hold a refusal.
        QCOMPARE(r.exitCode, QTest::currentDataTag() == QByteArray("unstorable character") ? 5 : 1);
        for (const QString& m : mentions)
            QVERIFY2(QString::fromUtf8(r.err).contains(m), qPrintable(m + " not in: " + r.err));
        QVERIFY(!QFile::exists(Path("out.qvs")));
    }

    void jsonThatIsNoFileIsRefused() {
        QFile::remove(Path("out.qvs"));
        QDir(dir_.path()).mkdir("folder.json");
        const Run r =
            RunCli({"create", Path("out.qvs"), "--from", Path("folder.json"), "--password-stdin"},
                   "pw-1\n");
        QCOMPARE(r.exitCode, 3);
        QVERIFY2(r.err.contains("folder.json") && r.err.contains("Is a directory"), r.err);
        QVERIFY(!QFile::exists(Path("out.qvs")));
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("unknown command") << QStringList{"list", "f.qvs"};
        QTest::newRow("create without --from") << QStringList{"create", "f.qvs"};
        QTest::newRow("dump with --from") << QStringList{"dump", "f.qvs", "--from", "x.json"};
        QTest::newRow("--from without file") << QStringList{"create", "f.qvs", "--from"};
        QTest::newRow("password as argument") << QStringList{"dump", "f.qvs", "--password=pw-1"};
        QTest::newRow("two files") << QStringList{"dump", "f.qvs", "g.qvs"};
        QTest::newRow("unknown format") << QStringList{"convert", "f.qvs", "--format", "3"};
        QTest::newRow("format for dump") << QStringList{"dump", "f.qvs", "--format", "2"};
        QTest::newRow("show without entry") << QStringList{"show", "f.qvs"};
        QTest::newRow("field for dump") << QStringList{"dump", "f.qvs", "--field", "pw"};
        QTest::newRow("history for show") << QStringList{"show", "f.qvs", "x", "--with-history"};
    }

    void usageErrors() {
        QFETCH(QStringList, args);
        const Run r = RunCli(args, {});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains("sage"));
        QVERIFY(!r.err.contains("pw-1"));
        QVERIFY(r.out.isEmpty());
    }

    // The history leaves the file only when asked for; codes, history and
    // extra fields come back whole through create, and show prints one field
    // at a time, a protected one only when asked for by name.
    void codesAndHistoryRoundTripAndShow() {
        QJsonObject entry = Entry("Bank", 0);
        entry["pw"] = "now";
        entry["User"] = "me";
        entry["Descr"] = "line 1\nline 2";
        entry["Totp"] = "gezd gnbv gy3t qojq gezd gnbv gy3t qojq"; // stored as an address
        entry["History"] = QJsonArray{QJsonObject{{"pw", "old ü"}, {"replaced", 46000.5}},
                                      QJsonObject{{"pw", "older"}, {"replaced", 45000}}};
        entry["Fields"] =
            QJsonArray{QJsonObject{{"name", "PIN"}, {"protected", true}, {"value", "9876"}},
                       QJsonObject{{"name", "Branch"}, {"protected", false}, {"value", "Zürich"}}};
        QCOMPARE(Create(QJsonObject{{"Password", QJsonArray{entry}}}).exitCode, 0);

        const QJsonObject plain = QJsonDocument::fromJson(Dump(Path("out.qvs")).out).object();
        const QJsonObject shown = plain["Password"][0].toObject();
        QVERIFY(!shown.contains("History"));
        QVERIFY(shown["Totp"].toString().startsWith("otpauth://totp/?secret=GEZDGNBVGY3TQOJQ"));
        QCOMPARE(shown["Id"].toString().size(), 32); // given at the save, then carried along
        QCOMPARE(shown["Fields"].toArray(), entry["Fields"].toArray());
        const Run full =
            RunCli({"dump", Path("out.qvs"), "--with-history", "--password-stdin"}, "pw-1\n");
        QCOMPARE(full.out, QJsonDocument::fromJson(full.out).toJson());
        QCOMPARE(QJsonDocument::fromJson(full.out)["Password"][0]["History"].toArray(),
                 entry["History"].toArray());
        QFile f(Path("in.json"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(full.out) == full.out.size());
        f.close();
        QCOMPARE(
            RunCli({"create", Path("again.qvs"), "--from", Path("in.json"), "--password-stdin"},
                   "pw-1\n")
                .exitCode,
            0);
        QCOMPARE(
            RunCli({"dump", Path("again.qvs"), "--with-history", "--password-stdin"}, "pw-1\n").out,
            full.out);
        // A legacy file has no place for either: refused, not dropped.
        const Run legacy =
            Create(QJsonObject{{"Password", QJsonArray{entry}}}, {"--format", "legacy"});
        QCOMPARE(legacy.exitCode, 5);
        QVERIFY2(legacy.err.contains("one-time code"), legacy.err);

        const auto show = [&](const QString& service, const QStringList& more) {
            return RunCli(QStringList{"show", Path("out.qvs"), service, "--password-stdin"} + more,
                          "pw-1\n");
        };
        const Run all = show("bank", {});
        QCOMPARE(all.exitCode, 0);
        QVERIFY2(all.out.contains("\nuser: me\n"), all.out);
        QVERIFY(all.out.endsWith("notes:\nline 1\nline 2\n"));
        QVERIFY(!all.out.contains("now") && !all.out.contains("old"));
        QVERIFY2(all.out.contains("field Branch: Zürich\n"), all.out);
        QVERIFY(all.out.contains("field PIN: (protected") && !all.out.contains("9876"));
        QCOMPARE(show("Bank", {"--field", "password"}).out, QByteArray("now\n"));
        QCOMPARE(show("Bank", {"--field", "PIN"}).out, QByteArray("9876\n"));
        const Run noField = show("Bank", {"--field", "pw"});
        QCOMPARE(noField.exitCode, 4);
        QVERIFY(noField.err.contains("no field \"pw\""));
        const auto codeAt = [&](std::int64_t t) {
            return ardeko::TotpCodeAt(shown["Totp"].toString().toStdString(), t, &Hmac)->code +
                   "\n";
        };
        const std::int64_t before = QDateTime::currentSecsSinceEpoch();
        const QByteArray code = show("Bank", {"--field", "code"}).out;
        const std::int64_t after = QDateTime::currentSecsSinceEpoch();
        QVERIFY2(code == codeAt(before).c_str() || code == codeAt(after).c_str(), code);
        QCOMPARE(show("Nobody", {}).exitCode, 4);
        QFile::remove(Path("again.qvs"));
    }

    // Orphans (a subcategory or an entry whose category is gone) must show up
    // somewhere sensible, never vanish or break the listing.
    void listShowsTheTreeAndEveryEntry() {
        const QJsonObject doc{
            {"Category", QJsonArray{QJsonObject{{"Codcat", 1}, {"DescrCat", "Banks"}}}},
            {"SubCategory",
             QJsonArray{QJsonObject{{"CodSCat", 5}, {"Codcat", 1}, {"DescrSCat", "Cards"}},
                        QJsonObject{{"CodSCat", 6}, {"Codcat", 9}, {"DescrSCat", "Orphan"}}}},
            {"Password",
             QJsonArray{
                 QJsonObject{{"service", "Visa"}, {"Codcat", 1}, {"CodSCat", 5}, {"pw", "s3cret"}},
                 QJsonObject{{"service", "Branch"}, {"Codcat", 1}},
                 QJsonObject{{"service", "Stray"}, {"Codcat", 1}, {"CodSCat", 6}},
                 QJsonObject{{"service", "Lost"}, {"Codcat", 9}, {"CodSCat", 6}},
                 QJsonObject{{"service", "Loose"}}}}};
        QVERIFY(Create(doc).exitCode == 0);
        const Run ls = RunCli({"ls", Path("out.qvs"), "--password-stdin"}, "pw-1\n");
        QCOMPARE(ls.exitCode, 0);
        QCOMPARE(QString::fromUtf8(ls.out), QString("Banks/\n"
                                                    "  Cards/\n"
                                                    "    Visa\n"
                                                    "  Branch\n"
                                                    "  Stray\n"
                                                    "(no category)/\n"
                                                    "  Loose\n"
                                                    "(unknown category 9)/\n"
                                                    "  Lost\n"));
        QVERIFY(!ls.out.contains("s3cret"));
    }

    void expiringNamesTheReason() {
        const double today = ardeko::LocalNow();
        auto entry = [&](const char* name, double expireIn, double changeIn) {
            return QJsonObject{{"service", name},
                               {"blExpire", expireIn < 1000},
                               {"Dt_Expire", std::trunc(today) + expireIn},
                               {"ggNotExpire", 7},
                               {"blNotExpire", true},
                               {"blChange", changeIn < 1000},
                               {"Dt_Change", std::trunc(today) + changeIn},
                               {"ggNotChange", 3},
                               {"blNotChange", true}};
        };
        const QJsonObject doc{
            {"Password", QJsonArray{entry("Due today", 0, 5000), entry("Soon", 7, 2),
                                    entry("Later", 8, 4), entry("Past", -30, -1)}}};
        QVERIFY(Create(doc).exitCode == 0);
        const Run run = RunCli({"expiring", Path("out.qvs"), "--password-stdin"}, "pw-1\n");
        QCOMPARE(run.exitCode, 0);
        QStringList reasons;
        for (const QString& line : QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts))
            reasons << line.section('\t', 0, 1);
        QCOMPARE(reasons, QStringList({"Due today\texpired", "Past\texpired", "Past\tchange due",
                                       "Soon\texpires soon", "Soon\tchange soon"}));
    }

    void helpGoesToStdout() {
        const Run r = RunCli({"--help"}, {});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.contains("qvs-cli create FILE --from JSON"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
