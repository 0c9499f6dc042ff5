// Packing an entry's two keys, and the default pair the settings give.
#include "autotype/key_pair.h"
#include "frame/options.h"

#include <QtTest>

using qvs::Opt;

class TestKeyPair : public QObject {
    Q_OBJECT
private slots:
    void packsAndUnpacksBothHalves();
    void defaultPairFollowsTheSettings();
};

void TestKeyPair::packsAndUnpacksBothHalves() {
    QCOMPARE(qvs::PackKeyPair(9, 13), std::int16_t(2317));
    QCOMPARE(qvs::UnpackKeyPair(2317).before, 9);
    QCOMPARE(qvs::UnpackKeyPair(2317).after, 13);
    QCOMPARE(qvs::PackKeyPair(0, 0), std::int16_t(0));

    // A high before byte goes negative and comes back whole, at every edge.
    QVERIFY(qvs::PackKeyPair(200, 13) < 0);
    for (int before : {0, 1, 127, 128, 200, 255})
        for (int after : {0, 13, 128, 255}) {
            const qvs::KeyPair pair = qvs::UnpackKeyPair(qvs::PackKeyPair(before, after));
            QCOMPARE(pair.before, before);
            QCOMPARE(pair.after, after);
        }
}

void TestKeyPair::defaultPairFollowsTheSettings() {
    Opt() = qvs::DefaultOptions();
    Opt().KeyBeforeCB = 8;
    Opt().KeyAfterCB = 13;
    QCOMPARE(qvs::DefaultKeyVal(), qvs::PackKeyPair(8, 13));

    Opt().KeyBeforeCB = -1; // the custom text's first character
    Opt().KeyBefore = QStringLiteral("xyz");
    Opt().KeyAfterCB = 0;
    QCOMPARE(qvs::DefaultKeyVal(), qvs::PackKeyPair('x', 0));

    Opt().KeyBefore = QStringLiteral("é"); // as the data file's code page has it
    QCOMPARE(qvs::UnpackKeyPair(qvs::DefaultKeyVal()).before, 0xE9);

    Opt().KeyBefore.clear(); // no character: no key
    QCOMPARE(qvs::DefaultKeyVal(), std::int16_t(0));
    Opt().KeyBefore = QStringLiteral("Ж"); // not storable: no key either
    QCOMPARE(qvs::DefaultKeyVal(), std::int16_t(0));
}

QTEST_GUILESS_MAIN(TestKeyPair)
#include "tst_key_pair.moc"
