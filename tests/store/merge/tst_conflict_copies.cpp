// The copies sync tools leave beside a file that two machines saved at
// once: told from the file itself and from other files, found in the
// folder, and moved aside without ever being overwritten.
#include "store/merge/conflict_copies.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace ardeko;

namespace {

void Touch(const QString& path, const QByteArray& data = "x") {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write a test file");
    f.write(data);
}

} // namespace

class TestConflictCopies : public QObject {
    Q_OBJECT

private slots:
    void namesOfTheToolsCopies_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("copy");
        QTest::newRow("syncthing") << "Shared.sync-conflict-20261208-140211-ABCDEF7.QVS" << true;
        QTest::newRow("nextcloud") << "Shared (conflicted copy 2026-12-08 140211).QVS" << true;
        QTest::newRow("dropbox") << "Shared (Anna's conflicted copy 2026-12-08).QVS" << true;
        QTest::newRow("owncloud") << "Shared_conflict-20261208-140211.QVS" << true;
        QTest::newRow("case") << "shared.SYNC-CONFLICT-20261208-140211-X.qvs" << true;
        QTest::newRow("the file") << "Shared.QVS" << false;
        QTest::newRow("other ext") << "Shared.sync-conflict-20261208-140211-X.txt" << false;
        QTest::newRow("other file") << "Sharedconflict.QVS" << false;
        QTest::newRow("longer stem") << "Shared2 (conflicted copy).QVS" << false;
        QTest::newRow("no conflict") << "Shared (copy).QVS" << false;
        QTest::newRow("moved aside") << "Shared.sync-conflict-1-X.QVS.merged" << false;
    }
    void namesOfTheToolsCopies() {
        QFETCH(QString, name);
        QFETCH(bool, copy);
        QCOMPARE(IsConflictCopyName(name.toStdString(), "Shared.QVS"), copy);
    }

    // Found in the file's folder only; moved aside under a free name.
    void foundAndMovedAside() {
        QTemporaryDir dir;
        const QString file = dir.filePath("Shared.QVS");
        const QString a = dir.filePath("Shared (conflicted copy 2026-12-08 140211).QVS");
        const QString b = dir.filePath("Shared.sync-conflict-20261208-140211-ABCDEF7.QVS");
        for (const QString& path : {file, a, b, dir.filePath("Other (conflicted copy).QVS")})
            Touch(path);
        QDir(dir.path()).mkpath("sub");
        Touch(dir.filePath("sub/Shared.sync-conflict-1-X.QVS"));
        QCOMPARE(FindConflictCopies(file.toStdString()),
                 (std::vector<std::string>{a.toStdString(), b.toStdString()}));

        Touch(b + ".merged", "earlier");
        const std::string aside = MoveConflictCopyAside(b.toStdString());
        QCOMPARE(QString::fromStdString(aside), b + ".merged-2");
        QVERIFY(!QFile::exists(b));
        QFile earlier(b + ".merged");
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("earlier")); // never overwritten
        QCOMPARE(FindConflictCopies(file.toStdString()), std::vector<std::string>{a.toStdString()});
        QVERIFY(MoveConflictCopyAside(dir.filePath("gone.QVS").toStdString()).empty());
    }
};

QTEST_GUILESS_MAIN(TestConflictCopies)
#include "tst_conflict_copies.moc"
