// The windows' codes: Qt's HMAC under each algorithm an address can name
// gives RFC 6238's published codes.
#include "frame/one_time_code.h"
#include "store/records.h"
#include "store/totp.h"

#include <QtTest>

class TestOneTimeCode : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { qvs::SetCodeClock({}); }

    void rfcCodesUnderEachAlgorithm_data() {
        QTest::addColumn<QString>("algorithm");
        QTest::addColumn<int>("keyLength");
        QTest::addColumn<QString>("code");
        QTest::newRow("SHA1") << QStringLiteral("SHA1") << 20 << QStringLiteral("94287082");
        QTest::newRow("SHA256") << QStringLiteral("SHA256") << 32 << QStringLiteral("46119246");
        QTest::newRow("SHA512") << QStringLiteral("SHA512") << 64 << QStringLiteral("90693936");
    }
    void rfcCodesUnderEachAlgorithm() {
        QFETCH(QString, algorithm);
        QFETCH(int, keyLength);
        QFETCH(QString, code);
        std::string key;
        while (key.size() < std::size_t(keyLength))
            key += "1234567890";
        key.resize(std::size_t(keyLength));
        ardeko::T_Password p;
        p.Totp = "otpauth://totp/x?secret=" + ardeko::Base32Encode(key) +
                 "&digits=8&algorithm=" + algorithm.toStdString();
        qvs::SetCodeClock([] { return std::int64_t{59}; });
        const auto now = qvs::CurrentCode(p.Totp);
        QVERIFY(now);
        QCOMPARE(QString::fromStdString(now->code), code);
        QCOMPARE(now->secondsLeft, 1);
    }
};

QTEST_GUILESS_MAIN(TestOneTimeCode)
#include "tst_one_time_code.moc"
