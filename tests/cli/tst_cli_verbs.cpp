// qvs-cli's verbs that change one thing at a time, as a script uses them:
// what each writes, every exit code, and each refusal leaving the file alone.
#include "store/pw.h"
#include "tests/cli/cli_run.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr char kPw[] = "pw-1\n";

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCliVerbs : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString file_;

    QString Path(const QString& name) const { return dir_.filePath(name); }

    // A file with categories Banks (subcategory Cards) and Mail, and the
    // entry "Bank" filed under Banks/Cards.
    void MakeFile(const QString& format = "2") {
        const QJsonObject doc{
            {"Category", QJsonArray{QJsonObject{{"Codcat", 1}, {"DescrCat", "Banks"}},
                                    QJsonObject{{"Codcat", 2}, {"DescrCat", "Mail"}}}},
            {"SubCategory",
             QJsonArray{QJsonObject{{"CodSCat", 1}, {"Codcat", 1}, {"DescrSCat", "Cards"}}}},
            {"Password", QJsonArray{QJsonObject{{"service", "Bank"},
                                                {"Codcat", 1},
                                                {"CodSCat", 1},
                                                {"User", "ann"},
                                                {"pw", "old-secret"}}}}};
        QFile f(Path("in.json"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QJsonDocument(doc).toJson());
        f.close();
        QFile::remove(file_);
        const Run r = RunCli(
            {"create", file_, "--from", Path("in.json"), "--format", format, "--password-stdin"},
            kPw);
        QVERIFY2(r.exitCode == 0, r.err);
    }

    Run Cli(QStringList args, const QByteArray& input = kPw) {
        args.insert(1, file_);
        return RunCli(args << "--password-stdin", input);
    }

    QJsonObject Entry(const QString& service) {
        const Run r = Cli({"dump", "--with-history"});
        for (const QJsonValue& e : QJsonDocument::fromJson(r.out)["Password"].toArray())
            if (e["service"].toString() == service) return e.toObject();
        return {};
    }

private slots:
    void init() {
        file_ = Path("data.qvs");
        for (const QString& name : QDir(dir_.path()).entryList(QDir::Files))
            QFile::remove(Path(name));
    }

    // add, edit, mv and rm, each saved with a backup copy of the file before.
    void entryLifeCycle() {
        MakeFile();
        const Run added = Cli({"add", "Mail box", "--category", "Mail", "--user", "me", "--url",
                               "https://m.example", "--password-prompt", "--notes-stdin"},
                              "pw-1\nnew-secret\nline 1\nline 2\n");
        QVERIFY2(added.exitCode == 0, added.err);
        QJsonObject e = Entry("Mail box");
        QCOMPARE(e["pw"].toString(), "new-secret");
        QCOMPARE(e["Descr"].toString(), "line 1\nline 2\n");
        QCOMPARE(e["Codcat"].toInt(), 2);
        QCOMPARE(e["URL_Access"].toString(), "https://m.example");
        QVERIFY(e["Dt_Insert"].toDouble() > 0);
        QVERIFY(QFile::exists(Path("data.BCK")));

        // A changed password joins the earlier ones; other fields stay.
        const Run edited = Cli({"edit", "mail BOX", "--rename", "Mailbox", "--generate", "32"});
        QVERIFY2(edited.exitCode == 0, edited.err);
        e = Entry("Mailbox");
        QCOMPARE(e["pw"].toString().size(), 32);
        QCOMPARE(e["User"].toString(), "me");
        QCOMPARE(e["History"][0]["pw"].toString(), "new-secret");
        QVERIFY(e["History"][0]["replaced"].toDouble() > 0);
        QCOMPARE(e["Descr"].toString(), "line 1\nline 2\n");

        QCOMPARE(Cli({"mv", "Mailbox", "--category", "Banks", "--subcategory", "Cards"}).exitCode,
                 0);
        e = Entry("Mailbox");
        QCOMPARE(e["Codcat"].toInt(), 1);
        QCOMPARE(e["CodSCat"].toInt(), 1);
        // Moved to another category without a subcategory named: none.
        QCOMPARE(Cli({"edit", "Mailbox", "--category", "Mail"}).exitCode, 0);
        QCOMPARE(Entry("Mailbox")["CodSCat"].toInt(), 0);

        QCOMPARE(Cli({"rm", "Mailbox"}).exitCode, 0);
        QVERIFY(Entry("Mailbox").isEmpty());
        QVERIFY(!Entry("Bank").isEmpty());
    }

    // Each refusal has its exit code and leaves the file as it was.
    void entryRefusals() {
        MakeFile();
        const QByteArray before = Bytes(file_);
        const struct {
            QStringList args;
            int exitCode;
            const char* says;
        } cases[] = {
            {{"edit", "Nobody", "--user", "x"}, 4, "Nobody"},
            {{"rm", "Nobody"}, 4, "Nobody"},
            {{"mv", "Bank", "--category", "Nowhere"}, 4, "Nowhere"},
            {{"add", "New", "--category", "Banks", "--subcategory", "Loans"}, 4, "Loans"},
            {{"add", "bank", "--category", "Mail"}, 5, "already"},
            {{"add", "New"}, 1, "--category"},
            {{"add", "New", "--category", "Mail", "--generate", "--password-prompt"},
             1,
             "not both"},
            {{"add", "New", "--category", "Mail", "--generate", "3"}, 1, "4 to 128"},
            {{"add", "New", "--category", "Mail", "--password", "x"}, 1, "--password"},
        };
        for (const auto& c : cases) {
            const Run r = Cli(c.args);
            QVERIFY2(
                r.exitCode == c.exitCode && r.err.contains(c.says),
                qPrintable(c.args.join(' ') + ": " + QString::number(r.exitCode) + " " + r.err));
            QCOMPARE(Bytes(file_), before);
        }
        // Wrong password, and a file that is no data file.
        QCOMPARE(Cli({"rm", "Bank"}, "wrong\n").exitCode, 2);
        QFile junk(Path("junk.qvs"));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a data file") > 0);
        junk.close();
        QCOMPARE(RunCli({"rm", Path("junk.qvs"), "Bank", "--password-stdin"}, kPw).exitCode, 3);
        QCOMPARE(Bytes(file_), before);
    }

    // A legacy file stays legacy and refuses what it cannot hold.
    void legacyFileKeepsItsFormat() {
        MakeFile("legacy");
        const Run refused =
            Cli({"add", "Почта", "--category", "Mail", "--password-prompt"}, "pw-1\nx\n");
        QVERIFY2(refused.exitCode == 5 && refused.err.contains("U+"), refused.err);
        QVERIFY2(Cli({"edit", "Bank", "--password-prompt"}, "pw-1\nnew\n").exitCode == 0, "edit");
        QVERIFY(RunCli({"info", file_}, {}).out.startsWith("format: legacy\n"));
        const QJsonObject e = Entry("Bank");
        QCOMPARE(e["pw"].toString(), "new");
        QVERIFY(!e.contains("History")); // the legacy format keeps none
    }

    void categoriesAndTheirEntries() {
        MakeFile();
        QCOMPARE(Cli({"mkcat", "Shops"}).exitCode, 0);
        QCOMPARE(Cli({"mkcat", "shops"}).exitCode, 5);
        QCOMPARE(Cli({"mksub", "Shops", "Food"}).exitCode, 0);
        QCOMPARE(Cli({"mksub", "Nowhere", "Food"}).exitCode, 4);
        QCOMPARE(Cli({"add", "Grocer", "--category", "Shops", "--subcategory", "Food"}).exitCode,
                 0);
        const QByteArray before = Bytes(file_);
        const Run kept = Cli({"rmsub", "Shops", "Food"});
        QVERIFY2(kept.exitCode == 5 && kept.err.contains("1 entry"), kept.err);
        QCOMPARE(Cli({"rmcat", "Banks"}).exitCode, 5);
        QCOMPARE(Bytes(file_), before);
        QCOMPARE(Cli({"rmsub", "Shops", "Food", "--with-entries"}).exitCode, 0);
        QVERIFY(Entry("Grocer").isEmpty());
        QCOMPARE(Cli({"rmcat", "Shops"}).exitCode, 0);
        QCOMPARE(Cli({"rmcat", "Banks", "--with-entries"}).exitCode, 0);
        QVERIFY(Entry("Bank").isEmpty());
        QCOMPARE(Cli({"rmsub", "Banks", "Cards"}).exitCode, 4);
        const Run ls = Cli({"ls"});
        QCOMPARE(ls.out, QByteArray("Mail/\n"));
    }

    void passwordChanges() {
        MakeFile();
        QCOMPARE(Cli({"passwd"}, "pw-1\n\n").exitCode, 1); // empty: refused
        QCOMPARE(Cli({"passwd"}, "wrong\nnew-pw\n").exitCode, 2);
        const Run changed = Cli({"passwd"}, "pw-1\nnew-pw\n");
        QVERIFY2(changed.exitCode == 0, changed.err);
        QCOMPARE(Cli({"ls"}).exitCode, 2);
        QCOMPARE(Cli({"ls"}, "new-pw\n").exitCode, 0);
        QCOMPARE(Cli({"passwd", "--no-password"}, "new-pw\n\n").exitCode, 0);
        QCOMPARE(Cli({"ls"}, "\n").exitCode, 0);

        MakeFile("legacy");
        const QByteArray before = Bytes(file_);
        QCOMPARE(Cli({"passwd", "--kdf-ms", "100"}, "pw-1\nnew\n").exitCode, 5);
        QCOMPARE(Bytes(file_), before);
    }

    void slowerKeySettings() {
        MakeFile();
        const Run raised = Cli({"passwd", "--kdf-ms", "300"}, "pw-1\npw-2\n");
        QVERIFY2(raised.exitCode == 0, raised.err);
        const Run info = RunCli({"info", file_}, {});
        const QRegularExpressionMatch m =
            QRegularExpression("Argon2id, (\\d+) passes, (\\d+) KiB").match(info.out);
        QVERIFY2(m.hasMatch(), info.out);
        QVERIFY(m.captured(1).toInt() >= 3 && m.captured(2).toInt() >= 65536);
        QCOMPARE(Cli({"ls"}, "pw-2\n").exitCode, 0);
        QCOMPARE(Cli({"passwd", "--kdf-ms", "soon"}, "pw-2\nx\n").exitCode, 1);
    }

    // Replacing a data file takes --force and keeps it; earlier passwords
    // the JSON lacks are named; a script's JSON can come on standard input.
    void createReplacesOnlyWhenForced() {
        MakeFile();
        QCOMPARE(Cli({"edit", "Bank", "--password-prompt"}, "pw-1\nnewer\n").exitCode, 0);
        const QByteArray before = Bytes(file_);
        const QByteArray json = R"({"Password": [{"service": "Only"}]})";
        const Run refused =
            RunCli({"create", file_, "--from", "-", "--password-stdin"}, "pw-1\n" + json);
        QCOMPARE(refused.exitCode, 5);
        QCOMPARE(Bytes(file_), before);
        const Run forced = RunCli({"create", file_, "--from", "-", "--force", "--password-stdin"},
                                  "pw-1\n" + json);
        QVERIFY2(forced.exitCode == 0, forced.err);
        QVERIFY2(forced.err.contains("1 entry") && forced.err.contains("earlier passwords"),
                 forced.err);
        const QString backup =
            QString::fromUtf8(forced.err).section(" is kept as ", 1).section('\n', 0, 0);
        QVERIFY2(QFile::exists(backup), forced.err);
        QCOMPARE(Bytes(backup), before);
        QFile::remove(backup);
        QVERIFY(!Entry("Only").isEmpty());
        QVERIFY(Entry("Bank").isEmpty());
    }

    void createChecksEarlierPasswords_data() {
        QTest::addColumn<QByteArray>("history");
        QTest::addColumn<QString>("says");
        QTest::newRow("no date") << QByteArray(R"([{"pw": "a"}])") << "\"replaced\"";
        QTest::newRow("oldest first")
            << QByteArray(R"([{"pw": "a", "replaced": 45000}, {"pw": "b", "replaced": 45100}])")
            << "newest first";
        QByteArray many = "[";
        for (int i = 0; i < 51; ++i)
            many += (i ? "," : "") + QByteArray(R"({"pw": "p", "replaced": 45000})");
        QTest::newRow("too many") << many + "]"
                                  << "at most 50";
    }
    void createChecksEarlierPasswords() {
        QFETCH(QByteArray, history);
        QFETCH(QString, says);
        const Run r =
            RunCli({"create", file_, "--from", "-", "--password-stdin"},
                   "pw-1\n{\"Password\": [{\"service\": \"S\", \"History\": " + history + "}]}");
        QVERIFY2(r.exitCode == 1 && QString::fromUtf8(r.err).contains(says), r.err);
        QVERIFY(!QFile::exists(file_));
    }

    // Case and accents aside, never in passwords; nothing found is exit 4.
    void searchFindsAsQvsDoes() {
        MakeFile();
        QCOMPARE(Cli({"add", "Café Crème", "--category", "Mail", "--user", "zoë"}).exitCode, 0);
        QCOMPARE(Cli({"search", "CAFE"}).out, QByteArray("Café Crème\n"));
        QCOMPARE(Cli({"search", "zoe"}).out, QByteArray("Café Crème\n"));
        QCOMPARE(Cli({"search", "ANN"}).out, QByteArray("Bank\n"));
        const Run password = Cli({"search", "old-secret"});
        QCOMPARE(password.exitCode, 4);
        QVERIFY(password.out.isEmpty());
    }

    void generateMakesWhatIsAskedFor() {
        const Run digits = RunCli({"generate", "--length", "12", "--classes", "digits"}, {});
        QVERIFY(
            QRegularExpression("^[0-9]{12}\n$").match(QString::fromUtf8(digits.out)).hasMatch());
        const Run phrase = RunCli({"generate", "--words", "5"}, {});
        QVERIFY2(QRegularExpression("^[a-z]+(-[a-z]+){4}\n$")
                     .match(QString::fromUtf8(phrase.out))
                     .hasMatch(),
                 phrase.out);
        QCOMPARE(RunCli({"generate"}, {}).out.size(), 21);
        QVERIFY(RunCli({"generate"}, {}).out != RunCli({"generate"}, {}).out);
        for (const QStringList& bad : {QStringList{"--length", "3"},
                                       {"--classes", "emoji"},
                                       {"--words", "2"},
                                       {"--words", "4", "--length", "9"}})
            QCOMPARE(RunCli(QStringList{"generate"} + bad, {}).exitCode, 1);
    }

    // The export writers of QVS, to standard output.
    void exportWritesAsQvsDoes() {
        MakeFile();
        QCOMPARE(Cli({"add", "=cmd", "--category", "Mail", "--user", "+1"}).exitCode, 0);
        const Run csv = Cli({"export", "--format", "csv", "--fields", "user name,exp. date"});
        QVERIFY2(csv.exitCode == 0, csv.err);
        QCOMPARE(csv.out, QByteArray("Service,User Name,Exp. Date\n'=cmd,'+1,\nBank,ann,\n"));
        const Run raw = Cli({"export", "--format", "csv", "--fields", "Password", "--no-header",
                             "--no-neutralise", "--delimiter", ";"});
        QCOMPARE(raw.out, QByteArray("=cmd;\nBank;old-secret\n"));
        const Run html = Cli({"export", "--format", "html", "--fields", "User Name"});
        QVERIFY(html.out.startsWith("<html>") && html.out.contains("&#x27;") == false &&
                html.out.contains(">ann&nbsp;<"));
        QCOMPARE(Cli({"export", "--format", "pdf"}).exitCode, 1);
        const Run badField = Cli({"export", "--format", "csv", "--fields", "Pin"});
        QVERIFY(badField.exitCode == 1 && badField.err.contains("Exp. Date"));
    }

    // Without a desktop session nothing is copied, and the script is told.
    void clipWithoutDesktopSaysSo() {
        MakeFile();
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        p.setProcessEnvironment(env);
        p.start(TestProgram("QVS_CLI_PATH"), {"clip", file_, "Bank", "--password-stdin"});
        p.write(kPw);
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 3);
        const QByteArray err = p.readAllStandardError();
        QVERIFY2(err.contains("nothing was copied") && err.contains("DISPLAY"), err);
        QVERIFY(!err.contains("old-secret"));
        QCOMPARE(Cli({"clip", "Nobody"}).exitCode, 4);
        QCOMPARE(Cli({"clip", "Bank", "--seconds", "0"}).exitCode, 1);
    }

    void conventions() {
        const Run version = RunCli({"--version"}, {});
        QVERIFY(version.exitCode == 0 && version.out.startsWith("qvs-cli "));
        const Run help = RunCli({"add", "--help"}, {});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains("qvs-cli add FILE SERVICE"));
        QVERIFY(!help.out.contains("qvs-cli rm "));
        QVERIFY(help.out.contains("2 wrong password"));
        const Run all = RunCli({"--help"}, {});
        for (const char* verb : {"add", "edit", "rm", "mv", "mkcat", "rmcat", "mksub", "rmsub",
                                 "passwd", "generate", "search", "clip", "export"})
            QVERIFY2(all.out.contains(QByteArray("qvs-cli ") + verb + " "), verb);
        QCOMPARE(RunCli({"frobnicate"}, {}).exitCode, 1);
        QCOMPARE(RunCli({"rm", "f.qvs"}, {}).exitCode, 1);
    }
};

QTEST_GUILESS_MAIN(TestCliVerbs)
#include "tst_cli_verbs.moc"
