// qvs-cli import end to end: what it writes, what --dry-run leaves alone, and
// every refusal leaving the data file exactly as it was.
#include "store/legacy/legacy_file.h"
#include "store/pw.h"
#include "tests/cli/cli_run.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kPassword = "pw-1\n";

const QByteArray kKeePass =
    "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\","
    "\"Last Modified\",\"Created\"\r\n"
    "\"Root/Mail\",\"Webmail\",\"me\",\"p\"\"w,1\",\"https://mail.example\",\"line 1\r\nline 2\","
    "\"SECRET\",\"0\",\"\",\"\"\r\n"
    "\"Root/Mail/Work/Old\",\"Existing\",\"bob\",\"x\",\"\",\"\",\"\",\"0\",\"\",\"\"\r\n";

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestCliImport : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString Data() const { return Path("data.qvs"); }

    Run Import(const QByteArray& source, QStringList extra = {},
               const QByteArray& password = kPassword) {
        if (!Write(Path("source.txt"), source)) return {};
        return RunCli(
            QStringList{"import", Data(), "--from", Path("source.txt"), "--password-stdin"} + extra,
            password);
    }

    ardeko::clsPW Load() {
        ardeko::clsPW s;
        s.LoadFile(Data().toStdString(), "pw-1");
        return s;
    }

private slots:
    void init() { WriteData(ardeko::FileFormat::Two); }

    void WriteData(ardeko::FileFormat format) {
        QFile::remove(Path("data.BCK"));
        ardeko::clsPW s;
        s.NewFile();
        s.SetFormat(format);
        ardeko::T_Password p;
        p.service = "Existing";
        s.PWAdd(p);
        s.SetFilePW("pw-1");
        QVERIFY(s.SaveFile(Data().toStdString(), false));
    }

    void importsInOneSaveWithABackup() {
        const QByteArray before = Bytes(Data());
        const Run r = Import(kKeePass);
        QVERIFY2(r.exitCode == 0, r.err);
        QVERIFY(r.out.contains("Entries: 2"));
        QVERIFY(r.out.contains(
            "Line 4: \"Existing\" becomes \"Existing (bob)\"")); // a line break above
        QCOMPARE(Bytes(Path("data.BCK")), before);
        const ardeko::clsPW s = Load();
        QCOMPARE(s.ErrNum(), 0);
        const ardeko::T_Password* mail = s.Password().Find("Webmail");
        QVERIFY(mail);
        QCOMPARE(mail->pw, std::string("p\"w,1"));
        QCOMPARE(mail->Descr, std::string("line 1\nline 2\n\n--- Other fields (imported) ---\n"
                                          "TOTP: SECRET"));
        QCOMPARE(s.CatValue(mail->Codcat), std::string("Mail"));
        const ardeko::T_Password* bob = s.Password().Find("Existing (bob)");
        QVERIFY(bob);
        QCOMPARE(s.SubCatValue(bob->CodSCat), std::string("Work / Old"));
    }

    void dryRunAndGenericCsv() {
        const QByteArray before = Bytes(Data());
        const Run dry = Import(kKeePass, {"--dry-run"});
        QVERIFY2(dry.exitCode == 0, dry.err);
        QVERIFY(dry.out.contains("New categories: 1"));
        QCOMPARE(Bytes(Data()), before);
        QVERIFY(!QFile::exists(Path("data.BCK")));

        const Run mapped = Import(
            "Where;Who;Secret\nbank;ann;s1\n",
            {"--format", "csv", "--delimiter", ";", "--map", "title=Where,user=2,password=Secret"});
        QVERIFY2(mapped.exitCode == 0, mapped.err);
        const ardeko::clsPW s = Load();
        QVERIFY(s.Password().Find("bank"));
        QCOMPARE(s.Password().Find("bank")->pw, std::string("s1"));
    }

    // Any text goes into a format-2 file; a legacy file refuses what its code
    // page cannot hold, and is left as it was.
    void textFollowsTheFilesFormat() {
        const QByteArray cyrillic = "name,url,username,password\nx,,Жанна,p\n";
        QCOMPARE(Import(cyrillic).exitCode, 0);
        QCOMPARE(Load().Password().Find("x")->User, std::string("Жанна"));
        WriteData(ardeko::FileFormat::Legacy);
        const QByteArray before = Bytes(Data());
        const Run r = Import(cyrillic);
        QVERIFY2(r.exitCode == 5 && r.err.contains("U+0416"), r.err);
        QCOMPARE(Bytes(Data()), before);
    }

    // A dry run goes as far as the import would: into a legacy file, more
    // entries than it can hold are refused, dry run or not.
    void dryRunAppliesTheImportsLimits() {
        WriteData(ardeko::FileFormat::Legacy);
        const QByteArray before = Bytes(Data());
        QByteArray csv = "name,url,username,password\n";
        for (std::size_t i = 0; i < ardeko::kMaxRecords; ++i)
            csv += "n" + QByteArray::number(qulonglong(i)) + ",,,\n";
        for (const QStringList& extra : {QStringList{"--dry-run"}, QStringList{}}) {
            const Run r = Import(csv, extra);
            QVERIFY2(r.exitCode == 5 && r.err.contains("older format holds at most 32767"), r.err);
            QCOMPARE(Bytes(Data()), before);
        }
        const Run fits = Import("name,url,username,password\nok,,,\n", {"--dry-run"});
        QVERIFY2(fits.exitCode == 0 && fits.out.contains("Encoding: UTF-8"), fits.out);
    }

    void refusalsLeaveTheFileAlone() {
        const QByteArray before = Bytes(Data());
        struct Case {
            QByteArray source;
            QStringList extra;
            QByteArray password;
            int exitCode;
            const char* message;
        };
        const QList<Case> cases = {
            {"name,url,username,password\n\"open,x,y,z\n", {}, kPassword, 3, "Line 2: field 1"},
            {"name,url,username,password\na,b,c\n", {}, kPassword, 3, "Line 2: 3 fields"},
            {"", {}, kPassword, 3, "empty"},
            {QByteArray("\x00\x01\x02garbage", 10), {}, kPassword, 3, "binary"},
            {"{\"something\": 1}", {}, kPassword, 3, "items"},
            {kKeePass, {}, "wrong\n", 2, "wrong"},
            {kKeePass, {"--format", "opera"}, kPassword, 1, "unknown format"},
            {kKeePass, {"--map", "title=1"}, kPassword, 1, "--format csv"},
            {kKeePass, {"--encoding", "latin9"}, kPassword, 1, "unknown encoding"},
            {kKeePass, {"--format", "firefox"}, kPassword, 3, "httprealm"},
        };
        for (const Case& c : cases) {
            const Run r = Import(c.source, c.extra, c.password);
            QVERIFY2(r.exitCode == c.exitCode && r.err.contains(c.message),
                     qPrintable(QString::number(r.exitCode) + " " + r.err));
            QCOMPARE(Bytes(Data()), before);
        }
        // A damaged file (its data ends early) is never saved over.
        QFile::resize(Data(), before.size() - 30);
        const QByteArray damaged = Bytes(Data());
        const Run intoDamaged = Import(kKeePass);
        QVERIFY2(intoDamaged.exitCode == 3 && intoDamaged.err.contains("damaged"), intoDamaged.err);
        QCOMPARE(Bytes(Data()), damaged);
        const Run noFrom = RunCli({"import", Data()}, kPassword);
        QCOMPARE(noFrom.exitCode, 1);
        const Run notForDump = RunCli({"dump", Data(), "--dry-run"}, kPassword);
        QCOMPARE(notForDump.exitCode, 1);
        QVERIFY(notForDump.err.contains("dump takes no option --dry-run"));
    }
};

QTEST_GUILESS_MAIN(TestCliImport)
#include "tst_cli_import.moc"
