// qvs-cli analyze and estimate as a script uses them: what the report lists,
// that it never prints a password, the breached-password list, and every
// refused call with its exit code.
#include "cli/commands.h"
#include "tests/cli/cli_run.h"

#include <QCryptographicHash>
#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

const QByteArray kFilePassword = "file-pw\n";

double DaysAgo(int days) {
    return QDate(1899, 12, 30).daysTo(QDate::currentDate().addDays(-days));
}

QJsonObject Entry(const QString& service, const QString& pw) {
    return {{"service", service}, {"pw", pw}, {"Dt_Insert", DaysAgo(3)}, {"Dt_Modif", DaysAgo(3)}};
}

QByteArray HashLine(const QByteArray& pw, int count) {
    return QCryptographicHash::hash(pw, QCryptographicHash::Sha1).toHex().toUpper() + ':' +
           QByteArray::number(count);
}

QByteArrayList SortedLines(const QByteArray& out) {
    QByteArrayList lines = out.split('\n');
    lines.removeAll(QByteArray());
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace

class TestCliHealth : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const QString& name) const { return dir_.filePath(name); }

    bool Write(const QString& name, const QByteArray& data) {
        QFile f(Path(name));
        return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
    }

    // The passwords the file holds, for checking that none is ever printed.
    const QStringList passwords_ = {"password1", "Tz8!mQ4@vL2#xR7$", "Lm4!Rt8@Vx2#Qp6$",
                                    "Gd6#Jp2!Tm8@Xz4$"};

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QJsonObject expired = Entry("Expired", passwords_[2]);
        expired["blExpire"] = true;
        expired["Dt_Expire"] = DaysAgo(1);
        QJsonObject old = Entry("Old", passwords_[3]);
        old["Dt_Insert"] = DaysAgo(800);
        const QJsonObject doc{
            {"Password", QJsonArray{Entry("Weak", passwords_[0]), Entry("Shared A", passwords_[1]),
                                    Entry("Shared B", passwords_[1]), expired, old}}};
        QVERIFY(Write("in.json", QJsonDocument(doc).toJson()));
        const Run created =
            RunCli({"create", Path("health.qvs"), "--from", Path("in.json"), "--password-stdin"},
                   kFilePassword);
        QVERIFY2(created.exitCode == 0, created.err);
        QByteArrayList list = {HashLine(passwords_[0].toUtf8(), 12345),
                               HashLine(passwords_[1].toUtf8(), 2), HashLine("other", 7)};
        std::sort(list.begin(), list.end());
        QVERIFY(Write("breached.txt", list.join("\r\n") + "\r\n"));
    }

    void reportsEachFindingAndNoPassword() {
        const Run r = RunCli(
            {"analyze", Path("health.qvs"), "--breached", Path("breached.txt"), "--password-stdin"},
            kFilePassword);
        QVERIFY2(r.exitCode == 0, r.err);
        const QByteArray oldDate =
            QDate::currentDate().addDays(-800).toString(Qt::ISODate).toUtf8();
        const QByteArray expiredDate =
            QDate::currentDate().addDays(-1).toString(Qt::ISODate).toUtf8();
        QByteArrayList lines = SortedLines(r.out);
        QByteArrayList weak;
        for (const QByteArray& line : lines)
            if (line.contains("\tweak\t")) weak << line;
        QCOMPARE(weak.size(), 1);
        QVERIFY2(weak[0].startsWith("Weak\tweak\t") && weak[0].endsWith(" bits"), weak[0]);
        lines.removeAll(weak[0]);
        QCOMPARE(lines, (QByteArrayList{
                            "Expired\texpired\t" + expiredDate,
                            "Old\told\tset " + oldDate,
                            "Shared A\tbreached\tseen 2 times",
                            "Shared A\treused\tgroup 1, 2 entries",
                            "Shared B\tbreached\tseen 2 times",
                            "Shared B\treused\tgroup 1, 2 entries",
                            "Weak\tbreached\tseen 12345 times",
                        }));
        // The most often seen comes first.
        QVERIFY(r.out.startsWith("Weak\tbreached\t"));
        QVERIFY2(r.err.contains("5 entries, 3 breached, 1 weak, 2 reused, 1 expired"), r.err);
        for (const QString& pw : passwords_) {
            QVERIFY(!r.out.contains(pw.toUtf8()));
            QVERIFY(!r.err.contains(pw.toUtf8()));
        }
        // Without the list, nothing is said of breaches.
        const Run plain =
            RunCli({"analyze", Path("health.qvs"), "--password-stdin"}, kFilePassword);
        QCOMPARE(plain.exitCode, 0);
        QVERIFY(!plain.out.contains("breached"));
        QVERIFY(!plain.err.contains("breached"));
    }

    void refusesWhatItCannotUse_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        const QString file = Path("health.qvs");
        QTest::newRow("no file") << QStringList{"analyze", "--password-stdin"} << qvs::kExitUsage;
        QTest::newRow("two files") << QStringList{"analyze", file, file} << qvs::kExitUsage;
        QTest::newRow("list without name")
            << QStringList{"analyze", file, "--breached"} << qvs::kExitUsage;
        QTest::newRow("unknown option")
            << QStringList{"analyze", file, "--pw=Gd6#Jp2!Tm8@Xz4$"} << qvs::kExitUsage;
        QTest::newRow("missing list")
            << QStringList{"analyze", file, "--breached", Path("none")} << qvs::kExitBadFile;
        QTest::newRow("list is no list")
            << QStringList{"analyze", file, "--breached", Path("in.json")} << qvs::kExitBadFile;
        QTest::newRow("estimate with an argument")
            << QStringList{"estimate", "Gd6#Jp2!Tm8@Xz4$"} << qvs::kExitUsage;
    }
    // Refused before the file password is read (none is given), and nothing
    // typed in the wrong place is echoed.
    void refusesWhatItCannotUse() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        const Run r = RunCli(args, {});
        QCOMPARE(r.exitCode, code);
        QVERIFY(r.out.isEmpty());
        QVERIFY(!r.err.contains("Gd6#Jp2"));
        QVERIFY(!r.err.contains("No password"));
    }

    void estimatesOnePassword() {
        const Run weak = RunCli({"estimate"}, "password\n");
        QCOMPARE(weak.exitCode, 0);
        QVERIFY2(weak.out.endsWith("\tvery weak\n"), weak.out);
        QVERIFY(weak.out.split('\t').front().toInt() < 28);
        const Run strong = RunCli({"estimate"}, "vX7#qLm2!rT9@wZp4$kN\r\nnext line\n");
        QVERIFY2(strong.out.endsWith("\tvery strong\n"), strong.out);
        QVERIFY(!strong.out.contains("vX7#"));
        for (const QByteArray& none : {QByteArray(), QByteArray("\n")}) {
            const Run empty = RunCli({"estimate"}, none);
            QCOMPARE(empty.exitCode, qvs::kExitUsage);
            QVERIFY(empty.out.isEmpty());
        }
    }

    void helpOfEachVerb() {
        for (const char* verb : {"analyze", "estimate"}) {
            const Run r = RunCli({verb, "--help"}, {});
            QCOMPARE(r.exitCode, 0);
            QVERIFY(r.out.startsWith(QByteArray("Usage: qvs-cli ") + verb));
        }
    }
};

QTEST_GUILESS_MAIN(TestCliHealth)
#include "tst_cli_health.moc"
