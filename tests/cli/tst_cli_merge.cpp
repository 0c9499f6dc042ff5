// qvs-cli merge as a script runs it: versions of a file built with the
// store, merged through the tool, the result read back.
#include "store/pw.h"
#include "tests/cli/cli_run.h"
#include "tests/store/store_samples.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace ardeko;

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCliMerge : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString base_, mine_, theirs_;

    QString Save(clsPW s, const QString& name, const std::string& password = "pw") {
        const QString path = dir_.filePath(name);
        s.SetFilePW(password);
        return s.SaveFile(path.toStdString(), false) ? path : QString();
    }

    clsPW Load(const QString& path, const std::string& password = "pw") {
        clsPW s;
        if (!s.LoadFile(path.toStdString(), password)) qWarning("cannot load");
        return s;
    }

private slots:
    // Base: the sample; mine adds an entry, theirs changes one and deletes one.
    void init() {
        clsPW base;
        FillSample(base);
        clsPW mine = base, theirs = base;
        QVERIFY(mine.PWAdd(SampleEntry("Mine new", 1, 1)));
        T_Password p = *theirs.Password().Find("Loose");
        p.pw = "their new secret";
        p.Dt_Modif = 46500;
        QVERIFY(theirs.PWEdit(p, "Loose"));
        QVERIFY(theirs.PWDel("Bank B"));
        base_ = Save(base, "base.QVS");
        mine_ = Save(mine, "mine.QVS");
        theirs_ = Save(theirs, "theirs.QVS");
        QVERIFY(!base_.isEmpty() && !mine_.isEmpty() && !theirs_.isEmpty());
    }

    void cleanup() { QFile::remove(dir_.filePath("mine.BCK")); }

    void threeWaySavesWithBackupAndSaysWhatCameFromWhere() {
        const QByteArray before = Bytes(mine_);
        const Run r =
            RunCli({"merge", mine_, theirs_, "--base", base_, "--password-stdin"}, "pw\n");
        QVERIFY2(r.exitCode == 0, r.err);
        QVERIFY2(r.out.contains("changed: Loose"), r.out);
        QVERIFY2(r.out.contains("deleted: Bank B"), r.out);
        QVERIFY2(r.out.contains("added: Mine new"), r.out);
        QVERIFY(!r.out.contains("their new secret"));
        const clsPW merged = Load(mine_);
        QCOMPARE(merged.Password().Find("Loose")->pw, std::string("their new secret"));
        QVERIFY(merged.Password().Contains("Mine new"));
        QVERIFY(!merged.Password().Contains("Bank B"));
        QCOMPARE(Bytes(dir_.filePath("mine.BCK")), before);
    }

    // Renamed on both sides after the file was saved in format 2: one
    // category, and the summary names both names.
    void categoryRenamedOnBothSidesIsOneCategory() {
        clsPW sample;
        FillSample(sample);
        const clsPW base = Load(Save(sample, "cat-base.QVS"));
        clsPW mine = base, theirs = base;
        QVERIFY(mine.CatRen("Banks", "Money"));
        QVERIFY(theirs.CatRen("Banks", "Finance"));
        const QString b = dir_.filePath("cat-base.QVS"), m = Save(mine, "cat-mine.QVS"),
                      t = Save(theirs, "cat-theirs.QVS");
        const Run r = RunCli({"merge", m, t, "--base", b, "--password-stdin"}, "pw\n");
        QVERIFY2(r.exitCode == 0, r.err);
        QVERIFY2(r.out.contains("category renamed on both sides: \"Finance\" kept, \"Money\" "
                                "dropped"),
                 r.out);
        const clsPW merged = Load(m);
        QCOMPARE(merged.Category().Count(), std::size_t(2));
        QCOMPARE(merged.Password().Count(), base.Password().Count());
        QCOMPARE(merged.CatValue(merged.Password().Find("Bank B")->Codcat), std::string("Finance"));
    }

    void twoWayDeletesNothingAndDryRunWritesNothing() {
        const QByteArray before = Bytes(mine_);
        const Run dry = RunCli({"merge", mine_, theirs_, "--dry-run", "--password-stdin"}, "pw\n");
        QVERIFY2(dry.exitCode == 0, dry.err);
        QVERIFY(dry.out.contains("Nothing written"));
        QCOMPARE(Bytes(mine_), before);
        QVERIFY(!QFile::exists(dir_.filePath("mine.BCK")));

        const Run r = RunCli({"merge", mine_, theirs_, "--password-stdin"}, "pw\n");
        QVERIFY2(r.exitCode == 0, r.err);
        const clsPW merged = Load(mine_);
        QVERIFY(merged.Password().Contains("Bank B"));
        QVERIFY(merged.Password().Contains("Loose (conflict 2025-12-10 00:00)"));
        QCOMPARE(merged.Password().Find("Loose")->pw, std::string("their new secret"));
    }

    void anotherPasswordIsReadNext() {
        clsPW other = Load(theirs_);
        const QString otherPath = Save(other, "other.QVS", "other pw");
        const Run wrong = RunCli({"merge", mine_, otherPath, "--password-stdin"}, "pw\nnope\n");
        QCOMPARE(wrong.exitCode, 2);
        QVERIFY2(wrong.err.contains("is wrong"), wrong.err);
        const Run r = RunCli({"merge", mine_, otherPath, "--password-stdin"}, "pw\nother pw\n");
        QVERIFY2(r.exitCode == 0, r.err);
        QCOMPARE(Load(mine_).Password().Find("Loose")->pw, std::string("their new secret"));
    }

    // A damaged other version would read as a file whose lost entries were
    // deleted: it is refused and nothing is written.
    void damagedOtherVersionIsRefused() {
        QFile f(theirs_);
        QVERIFY(f.resize(f.size() - 3));
        const QByteArray before = Bytes(mine_);
        const Run r =
            RunCli({"merge", mine_, theirs_, "--base", base_, "--password-stdin"}, "pw\n");
        QCOMPARE(r.exitCode, 3);
        QCOMPARE(Bytes(mine_), before);
    }

    // A sync tool's copies beside the file are listed without a password,
    // and a merge of one names the others still waiting.
    void conflictCopiesAreListed() {
        const QString copy = dir_.filePath("mine.sync-conflict-20261208-140211-ABCDEF7.QVS");
        const QString second = dir_.filePath("mine (conflicted copy 2026-12-08 140211).QVS");
        QVERIFY(QFile::copy(theirs_, copy));
        Run r = RunCli({"conflicts", mine_}, {});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, copy.toUtf8() + '\n');
        QVERIFY(QFile::copy(theirs_, second));
        r = RunCli({"merge", mine_, copy, "--dry-run", "--password-stdin"}, "pw\n");
        QCOMPARE(r.exitCode, 0);
        const QByteArray others = r.out.mid(r.out.indexOf("Other conflict copies"));
        QVERIFY(others.contains(second.toUtf8()));
        QVERIFY(!others.contains(copy.toUtf8()));
        QFile::remove(copy);
        QFile::remove(second);
    }

    void usageErrors() {
        for (const QStringList& args :
             {QStringList{"merge", mine_}, QStringList{"merge", mine_, theirs_, "--base"},
              QStringList{"dump", mine_, "--dry-run"}}) {
            const Run r = RunCli(args, {});
            QCOMPARE(r.exitCode, 1);
        }
    }
};

QTEST_APPLESS_MAIN(TestCliMerge)
#include "tst_cli_merge.moc"
