// The tree's node keys: building them, reading the codes back, and telling
// the kinds of node apart.
#include "mainwin/node_key.h"

#include <QTest>

using namespace qvs;

Q_DECLARE_METATYPE(qvs::NodeCodes)
Q_DECLARE_METATYPE(qvs::NodeKind)

class TestNodeKey : public QObject {
    Q_OBJECT

private slots:
    void parse_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("anyFlag");
        QTest::addColumn<NodeCodes>("codes");
        const NodeCodes any{kAnyCode, kAnyCode};
        QTest::newRow("category") << "C12" << false << NodeCodes{12, 0};
        QTest::newRow("category, any subcategory") << "C12" << true << NodeCodes{12, kAnyCode};
        QTest::newRow("no category") << "C0" << true << NodeCodes{0, kAnyCode};
        QTest::newRow("subcategory") << "S7C12" << false << NodeCodes{12, 7};
        QTest::newRow("subcategory, anyFlag") << "S7C12" << true << NodeCodes{12, 7};
        QTest::newRow("no subcategory") << "S0C12" << true << NodeCodes{12, 0};
        QTest::newRow("largest codes") << "S32767C32767" << false << NodeCodes{32767, 32767};
        QTest::newRow("root") << "R" << true << any;
        QTest::newRow("root, no flag") << "R" << false << NodeCodes{0, 0};
        QTest::newRow("favourites") << "P" << true << any;
        QTest::newRow("state") << "E1" << true << any;
        QTest::newRow("state, no flag") << "X2" << false << NodeCodes{0, 0};
        QTest::newRow("empty is the root") << "" << true << any;
        QTest::newRow("empty, no flag") << "" << false << NodeCodes{0, 0};
        // Keys the tree never makes must not yield a wrong or negative code.
        QTest::newRow("too large") << "C40000" << false << NodeCodes{0, 0};
        QTest::newRow("no number") << "Cx" << false << NodeCodes{0, 0};
        QTest::newRow("subcategory without C") << "S7" << false << NodeCodes{0, 7};
        QTest::newRow("sign is not a digit") << "C-3" << false << NodeCodes{0, 0};
    }
    void parse() {
        QFETCH(QString, key);
        QFETCH(bool, anyFlag);
        QFETCH(NodeCodes, codes);
        const NodeCodes got = ParseNodeKey(key, anyFlag);
        QCOMPARE(got.cat, codes.cat);
        QCOMPARE(got.scat, codes.scat);
    }

    void buildersRoundTrip() {
        QCOMPARE(CategoryNodeKey(12), QStringLiteral("C12"));
        QCOMPARE(SubCategoryNodeKey(12, 7), QStringLiteral("S7C12"));
        QCOMPARE(SubCategoryNodeKey(12, 0), QStringLiteral("S0C12"));
        for (std::int16_t cat : {std::int16_t(1), std::int16_t(305), std::int16_t(32767)}) {
            QCOMPARE(ParseNodeKey(CategoryNodeKey(cat), false), (NodeCodes{cat, 0}));
            QCOMPARE(ParseNodeKey(SubCategoryNodeKey(cat, 41), true), (NodeCodes{cat, 41}));
        }
    }

    void kinds_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<NodeKind>("kind");
        QTest::newRow("root") << "R" << NodeKind::Root;
        QTest::newRow("empty") << "" << NodeKind::Root;
        QTest::newRow("no category") << "C0" << NodeKind::NoCategory;
        QTest::newRow("favourites") << "P" << NodeKind::Favourites;
        for (const char* state : {"E1", "E2", "X1", "X2"})
            QTest::newRow(state) << state << NodeKind::DueState;
        QTest::newRow("category") << "C3" << NodeKind::Category;
        QTest::newRow("no subcategory") << "S0C3" << NodeKind::NoSubCategory;
        QTest::newRow("subcategory") << "S9C3" << NodeKind::SubCategory;
        QTest::newRow("other") << "Z1" << NodeKind::Unknown;
    }
    void kinds() {
        QFETCH(QString, key);
        QFETCH(NodeKind, kind);
        QCOMPARE(NodeKindOf(key), kind);
    }
};

QTEST_APPLESS_MAIN(TestNodeKey)
#include "tst_node_key.moc"
