// One-time codes against the published HMAC, HOTP and TOTP vectors, and the
// secrets and addresses people paste.
#include "store/otp_hmac.h"
#include "store/totp.h"

#include <QtTest>

using namespace ardeko;

namespace {

// The RFC test keys: "12345678901234567890" repeated to the hash's size.
std::string RfcKey(std::size_t n) {
    std::string key;
    while (key.size() < n)
        key += "1234567890";
    return key.substr(0, n);
}

} // namespace

class TestTotp : public QObject {
    Q_OBJECT

private slots:
    // Keys longer than the hash's block are hashed first; an empty key and
    // message still give a full-length MAC.
    void hmacVectors() {
        const std::string message = "Test Using Larger Than Block-Size Key - Hash Key First";
        const auto hex = [](const std::string& mac) {
            return QByteArray(mac.data(), qsizetype(mac.size())).toHex();
        };
        QCOMPARE(hex(OtpHmac(TotpAlgorithm::Sha1, std::string(80, '\xaa'), message)),
                 QByteArray("aa4ae5e15272d00e95705637ce8a3b55ed402112"));
        QCOMPARE(hex(OtpHmac(TotpAlgorithm::Sha256, std::string(131, '\xaa'), message)),
                 QByteArray("60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54"));
        QCOMPARE(hex(OtpHmac(TotpAlgorithm::Sha512, std::string(131, '\xaa'), message)),
                 QByteArray("80b24263c7c1a3ebb71493c1dd7be8b49b46d1f41b4aeec1121b013783f8f352"
                            "6b56d037e05f2598bd0fd2215d6a1e5295e64f73f63f0aec8b915a985d786598"));
        QCOMPARE(hex(OtpHmac(TotpAlgorithm::Sha1, "", "")),
                 QByteArray("fbdb1d1b18aa6c08324b7d64b71fb76370690e1d"));
    }

    void hotpVectors() {
        TotpParams params;
        params.secret = RfcKey(20);
        const char* expected[] = {"755224", "287082", "359152", "969429", "338314",
                                  "254676", "287922", "162583", "399871", "520489"};
        for (std::uint64_t i = 0; i < 10; ++i)
            QCOMPARE(HotpCode(params, i, &OtpHmac), std::string(expected[i]));
    }

    void totpVectors_data() {
        QTest::addColumn<qint64>("time");
        QTest::addColumn<QString>("sha1");
        QTest::addColumn<QString>("sha256");
        QTest::addColumn<QString>("sha512");
        QTest::newRow("59") << qint64(59) << "94287082"
                            << "46119246"
                            << "90693936";
        QTest::newRow("1111111109") << qint64(1111111109) << "07081804"
                                    << "68084774"
                                    << "25091201";
        QTest::newRow("1111111111") << qint64(1111111111) << "14050471"
                                    << "67062674"
                                    << "99943326";
        QTest::newRow("1234567890") << qint64(1234567890) << "89005924"
                                    << "91819424"
                                    << "93441116";
        QTest::newRow("2000000000") << qint64(2000000000) << "69279037"
                                    << "90698825"
                                    << "38618901";
        QTest::newRow("20000000000") << qint64(20000000000) << "65353130"
                                     << "77737706"
                                     << "47863826";
    }
    // Through the stored address, so writing and reading it back are part of it.
    void totpVectors() {
        QFETCH(qint64, time);
        QFETCH(QString, sha1);
        QFETCH(QString, sha256);
        QFETCH(QString, sha512);
        const std::pair<TotpAlgorithm, QString> cases[] = {{TotpAlgorithm::Sha1, sha1},
                                                           {TotpAlgorithm::Sha256, sha256},
                                                           {TotpAlgorithm::Sha512, sha512}};
        for (const auto& [algorithm, expected] : cases) {
            TotpParams params;
            params.algorithm = algorithm;
            params.secret = RfcKey(algorithm == TotpAlgorithm::Sha1     ? 20
                                   : algorithm == TotpAlgorithm::Sha256 ? 32
                                                                        : 64);
            params.digits = 8;
            const auto now = TotpCodeAt(TotpAddress(params), time, &OtpHmac);
            QVERIFY(now);
            QCOMPARE(QString::fromStdString(now->code), expected);
            QCOMPARE(now->secondsLeft, int(30 - time % 30));
        }
    }

    void acceptsPastedForms() {
        const std::string key = "Hello!\xDE\xAD\xBE\xEF";
        for (const char* text :
             {"JBSWY3DPEHPK3PXP", " jbsw y3dp-ehpk 3pxp\n", "JBSWY3DPEHPK3PXP===="}) {
            const TotpParse p = ParseTotp(text);
            QVERIFY2(p.params, text);
            QCOMPARE(p.params->secret, key);
            QCOMPARE(p.params->digits, 6);
            QCOMPARE(p.params->period, 30);
        }
        const TotpParse a =
            ParseTotp("otpauth://TOTP/ACME%20Co:john%40example.com?secret=jbswy3dpehpk3pxp"
                      "&issuer=ACME+Co&algorithm=sha512&digits=8&period=60&image=x");
        QVERIFY(a.params);
        QCOMPARE(a.params->secret, key);
        QCOMPARE(a.params->issuer, std::string("ACME Co"));
        QCOMPARE(a.params->account, std::string("john@example.com"));
        QCOMPARE(a.params->digits, 8);
        QCOMPARE(a.params->period, 60);
        QVERIFY(a.params->algorithm == TotpAlgorithm::Sha512);

        // Texts that mean something in an address survive writing and reading.
        TotpParams odd = *a.params;
        odd.issuer = "A:B & C?";
        odd.account = "x=y/z%";
        const TotpParse back = ParseTotp(TotpAddress(odd));
        QVERIFY(back.params);
        QCOMPARE(back.params->issuer, odd.issuer);
        QCOMPARE(back.params->account, odd.account);
        QCOMPARE(TotpAddress(*back.params), TotpAddress(odd));
    }

    void refusesWithReason_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("error");
        const auto row = [](const char* name, const char* text, TotpError e) {
            QTest::newRow(name) << QString::fromUtf8(text) << int(e);
        };
        row("blank", "  ", TotpError::Empty);
        row("not base32", "JBSWY3DPEHPK3PX1", TotpError::NotBase32);
        row("cut short", "JBSWY3DPEHPK3PXPJ", TotpError::NotBase32);
        row("too short", "JBSWY3DP", TotpError::SecretTooShort);
        row("counter based", "otpauth://hotp/x?secret=JBSWY3DPEHPK3PXP&counter=1",
            TotpError::NotTotpAddress);
        row("no secret", "otpauth://totp/x?issuer=y", TotpError::Empty);
        row("nine digits", "otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&digits=9",
            TotpError::BadDigits);
        row("zero period", "otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&period=0",
            TotpError::BadPeriod);
        row("md5", "otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&algorithm=MD5",
            TotpError::BadAlgorithm);
    }
    void refusesWithReason() {
        QFETCH(QString, text);
        QFETCH(int, error);
        const TotpParse p = ParseTotp(text.toStdString());
        QVERIFY(!p.params);
        QCOMPARE(int(p.error), error);
        QVERIFY(!TotpCodeAt(text.toStdString(), 59, &OtpHmac));
    }
};

QTEST_GUILESS_MAIN(TestTotp)
#include "tst_totp.moc"
