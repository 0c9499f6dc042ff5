// The merge summary names the categories that were renamed differently on
// the two sides and those that met one name, in both languages.
#include "app/merge_summary.h"
#include "frame/language.h"
#include "store/merge/merge.h"

#include <QtTest>

class TestMergeSummary : public QObject {
    Q_OBJECT

private slots:
    void namesCategoryConflicts_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("renamed");
        QTest::addColumn<QString>("collided");
        QTest::newRow("English") << "ENG"
                                 << "Categories renamed differently on the two sides, one name "
                                    "kept: 2"
                                 << "One name given to two different categories, the second "
                                    "renamed: 1";
        QTest::newRow("Italian") << "ITA"
                                 << "Categorie rinominate in modo diverso dalle due parti, tenuto "
                                    "un nome: 2"
                                 << "Uno stesso nome dato a due categorie diverse, rinominata la "
                                    "seconda: 1";
    }
    void namesCategoryConflicts() {
        QFETCH(QString, language);
        QFETCH(QString, renamed);
        QFETCH(QString, collided);
        QVERIFY(qvs::LoadLanguage(language));
        ardeko::MergeSummary s;
        s.threeWay = true;
        s.renamedPlaces = {{"Finance", "Money"}, {"Finance / Credit", "Finance / Debit"}};
        s.placeCollisions = {{"Shops 2", "Shops"}};
        const QStringList lines = qvs::MergeSummaryText(s, "other.QVS").split('\n');
        const qsizetype at = lines.indexOf(renamed);
        QVERIFY2(at > 0, qPrintable(lines.join('\n')));
        QCOMPARE(lines.mid(at + 1, 4), QStringList({"  \"Finance\" / \"Money\"",
                                                    "  \"Finance / Credit\" / \"Finance / Debit\"",
                                                    collided, "  \"Shops 2\" / \"Shops\""}));
        // A category conflict alone is something from the other version.
        QVERIFY(!lines.contains(qvs::GetLocalText(34519)));
    }
};

QTEST_GUILESS_MAIN(TestMergeSummary)
#include "tst_merge_summary.moc"
