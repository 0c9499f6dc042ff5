// Login texts: what is pasted (the entry's own keys) and what is typed (the
// settings' keys), with entry data never read as key names.
#include "autotype/key_pair.h"
#include "autotype/login_text.h"
#include "frame/one_time_code.h"
#include "frame/options.h"
#include "frame/program_state.h"

#include <QtTest>

using qvs::KeyStroke;
using qvs::Opt;

namespace {

void AddEntry(const std::string& service, const std::string& user, const std::string& pw,
              std::int16_t keys) {
    ardeko::T_Password p;
    p.service = service;
    p.User = user;
    p.pw = pw;
    p.Keyaftbef = keys;
    QVERIFY(qvs::Store().PWAdd(p));
}

} // namespace

class TestLoginText : public QObject {
    Q_OBJECT
private slots:
    void init() {
        qvs::App().store = std::make_unique<ardeko::clsPW>();
        Opt() = qvs::DefaultOptions();
    }

    void keyStrokeTexts() {
        QCOMPARE(qvs::KeyStrokeText(8, QStringLiteral("x")), QStringLiteral("{TAB}"));
        QCOMPARE(qvs::KeyStrokeText(13, QString()), QStringLiteral("{ENTER}"));
        QCOMPARE(qvs::KeyStrokeText(-1, QStringLiteral("xy")), QStringLiteral("xy"));
        QCOMPARE(qvs::KeyStrokeText(-1, QString()), QString());
        QCOMPARE(qvs::KeyStrokeText(0, QStringLiteral("x")), QString());
        QCOMPARE(qvs::KeyStrokeText(27, QStringLiteral("x")), QString());
        // A custom text is typed as it stands, like the entry's own data.
        QCOMPARE(qvs::KeyStrokeText(-1, QStringLiteral("{TAB}")), QStringLiteral("{{}TAB{}}"));
    }

    void typedLoginUsesTheSettingsKeys() {
        AddEntry("Bank", "anna", "pw", qvs::PackKeyPair(0, 0)); // own keys not used
        Opt().KeyBeforeCB = 8;
        Opt().KeyAfterCB = 13;
        QCOMPARE(qvs::KeyString(qvs::BuildTypedLogin(QStringLiteral("bank"))),
                 QStringLiteral("anna{TAB}pw{ENTER}"));

        Opt().KeyBeforeCB = -1;
        Opt().KeyBefore = QStringLiteral("x");
        Opt().KeyAfterCB = 0;
        const qvs::KeyStrokes steps = qvs::BuildTypedLogin(QStringLiteral("Bank"));
        QCOMPARE(qvs::KeyString(steps), QStringLiteral("annaxpw"));
        QCOMPARE(steps.size(), std::size_t(3)); // user, custom key, password
        QCOMPARE(qvs::DefaultKeyVal(), qvs::PackKeyPair('x', 0));
    }

    // A password holding the syntax's names must not press keys of its own.
    void typedLoginKeepsEntryDataLiteral() {
        AddEntry("Shop", "a+b", "p{ENTER}%~(x)[y]^", 0);
        Opt().KeyBeforeCB = 8;
        Opt().KeyAfterCB = 13;
        const qvs::KeyStrokes steps = qvs::BuildTypedLogin(QStringLiteral("Shop"));
        const qvs::KeyStrokes expected{{KeyStroke::Kind::Text, QStringLiteral("a+b")},
                                       {KeyStroke::Kind::Tab, {}},
                                       {KeyStroke::Kind::Text, QStringLiteral("p{ENTER}%~(x)[y]^")},
                                       {KeyStroke::Kind::Enter, {}}};
        QVERIFY(steps == expected);
        QCOMPARE(qvs::KeyString(steps),
                 QStringLiteral("a{+}b{TAB}p{{}ENTER{}}{%}{~}{(}x{)}{[}y{]}{^}{ENTER}"));
    }

    void missingEntryStillSendsTheKeys() {
        Opt().KeyBeforeCB = 8;
        Opt().KeyAfterCB = 13;
        QCOMPARE(qvs::KeyString(qvs::BuildTypedLogin(QStringLiteral("Nobody"))),
                 QStringLiteral("{TAB}{ENTER}"));
        QCOMPARE(qvs::BuildClipboardLogin(QStringLiteral("Nobody")), QString());
    }

    // The code is the one of the moment of typing, between the before key and
    // the after key; an entry without one types as before.
    void typedLoginCanHoldTheCode() {
        // RFC 6238's SHA-1 secret "12345678901234567890"; at 59 s its 8-digit
        // code is 94287082.
        ardeko::T_Password p;
        p.service = "Bank";
        p.User = "anna";
        p.pw = "pw";
        p.Totp = "otpauth://totp/Bank?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ&digits=8";
        QVERIFY(qvs::Store().PWAdd(p));
        AddEntry("Plain", "bob", "pw2", 0);
        qvs::SetCodeClock([] { return std::int64_t{59}; });
        Opt().KeyBeforeCB = 8;
        Opt().KeyAfterCB = 13;
        const auto typed = [](const char* service) {
            return qvs::KeyString(qvs::BuildTypedLogin(QString::fromLatin1(service)));
        };
        QCOMPARE(typed("Bank"), QStringLiteral("anna{TAB}pw{ENTER}"));
        Opt().LoginFields = qvs::kLoginUserPasswordCode;
        QCOMPARE(typed("Bank"), QStringLiteral("anna{TAB}pw{TAB}94287082{ENTER}"));
        QCOMPARE(typed("Plain"), QStringLiteral("bob{TAB}pw2{ENTER}"));
        Opt().LoginFields = qvs::kLoginPasswordCode;
        QCOMPARE(typed("Bank"), QStringLiteral("pw{TAB}94287082{ENTER}"));
        qvs::SetCodeClock({});
    }

    void clipboardLoginUsesTheEntrysKeys_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no keys") << 0 << 0 << QStringLiteral("annapw");
        QTest::newRow("tab and enter") << 8 << 13 << QStringLiteral("anna\tpw\r");
        QTest::newRow("after only") << 0 << 13 << QStringLiteral("annapw\r");
        QTest::newRow("custom character") << int('x') << 0 << QStringLiteral("annaxpw");
        // Byte 200 is È in the file's code page; the pair is stored negative.
        QTest::newRow("high byte") << 200 << 13 << QStringLiteral("anna\u00C8pw\r");
    }
    void clipboardLoginUsesTheEntrysKeys() {
        QFETCH(int, before);
        QFETCH(int, after);
        QFETCH(QString, expected);
        Opt().KeyBeforeCB = 0; // the settings do not count here
        AddEntry("Bank", "anna", "pw", qvs::PackKeyPair(before, after));
        QCOMPARE(qvs::BuildClipboardLogin(QStringLiteral("Bank")), expected);
    }
};

QTEST_GUILESS_MAIN(TestLoginText)
#include "tst_login_text.moc"
