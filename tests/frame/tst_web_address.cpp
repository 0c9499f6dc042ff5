// Opening web and mail addresses: the URL a typed address becomes, the
// messages for nothing to open and for an address the desktop refused, and
// going to the tray afterwards by the option.
#include "tests/frame/modal_script.h"

#include "frame/frm_message.h"
#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "frame/web_address.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace qvs;

class TestWebAddress : public QObject {
    Q_OBJECT
    QList<QUrl> opened_;
    int toTray_ = 0;
    bool openerWorks_ = true;

    // Runs open with the message it should show answered; "" expects none.
    bool Open(bool (*open)(const QString&), const QString& text, const QString& message) {
        ModalScript script;
        if (!message.isEmpty())
            script.On<frmMessage>([message](frmMessage* m) {
                QCOMPARE(m->findChild<QLabel*>(QStringLiteral("lblMsg"))->text(), message);
                m->accept();
            });
        script.Start();
        const bool result = open(text);
        [&] { QVERIFY(script.Done()); }();
        return result;
    }

private slots:
    void initTestCase() {
        QString code = QStringLiteral("ENG");
        QVERIFY(LoadLanguage(code));
        SetUrlOpener([this](const QUrl& url) {
            opened_ << url;
            return openerWorks_;
        });
        SetWindowSwitch({[this] { ++toTray_; }, {}});
    }
    void cleanupTestCase() {
        SetUrlOpener({});
        SetWindowSwitch({});
    }
    void init() {
        opened_.clear();
        toTray_ = 0;
        openerWorks_ = true;
        Opt() = DefaultOptions();
        App().inTrayMode = false;
    }

    void typedAddressesBecomeUrls_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("url");
        QTest::newRow("mail") << " someone@mail.example "
                              << "mailto:someone@mail.example";
        QTest::newRow("mail with scheme") << "mailto:a@b.example"
                                          << "mailto:a@b.example";
        QTest::newRow("bare host") << "www.bank.example"
                                   << "http://www.bank.example";
        QTest::newRow("https") << "https://bank.example/login?x=1"
                               << "https://bank.example/login?x=1";
        // A login in the address is not a mail address.
        QTest::newRow("user in url") << "https://me@bank.example/"
                                     << "https://me@bank.example/";
        QTest::newRow("blank") << "   "
                               << "";
    }
    void typedAddressesBecomeUrls() {
        QFETCH(QString, typed);
        QFETCH(QString, url);
        QCOMPARE(WebAddressUrl(typed).toString(), url);
    }

    void emptyAndRefusedAddressesSaySo() {
        QVERIFY(!Open(&OpenWebAddress, QStringLiteral("  "), GetLocalText(30001)));
        QVERIFY(opened_.isEmpty());
        openerWorks_ = false;
        Opt().GTSAfterURL = true;
        const QString refused = GetLocalText(32103).replace(QLatin1String("%s"), "www.x.example");
        QVERIFY(!Open(&OpenWebAddress, QStringLiteral(" www.x.example"), refused));
        QCOMPARE(toTray_, 0); // nothing opened: the window stays
    }

    // An address from a hostile file may name a local file or a program's
    // scheme: asked first, opened only on Yes.
    void otherSchemesAreOpenedOnlyWhenTheUserAgrees() {
        const QString address = QStringLiteral("file:///etc/passwd");
        const QString question = LocalTextWith(33840, address);
        for (const char* answer : {"cmdNo", "cmdOK"}) {
            ModalScript script;
            script.On<frmMessage>([&](frmMessage* m) {
                QCOMPARE(m->findChild<QLabel*>(QStringLiteral("lblMsg"))->text(), question);
                m->findChild<QPushButton*>(QLatin1String(answer))->click();
            });
            script.Start();
            QCOMPARE(OpenWebAddress(address), answer == std::string_view("cmdOK"));
            QVERIFY(script.Done());
        }
        QCOMPARE(opened_, QList<QUrl>{QUrl(address)});
        // Web and mail addresses go without a question (Open fails on one).
        QVERIFY(Open(&OpenDocument, QStringLiteral("HTTPS://bank.example"), {}));
        QVERIFY(Open(&OpenDocument, QStringLiteral("a@b.example"), {}));
    }

    // Only an entry's address takes the program to the tray, and only from
    // the main window.
    void goesToTrayAfterAnEntryAddressByTheOption() {
        QVERIFY(Open(&OpenWebAddress, QStringLiteral("bank.example"), {}));
        QCOMPARE(toTray_, 0);
        Opt().GTSAfterURL = true;
        QVERIFY(Open(&OpenWebAddress, QStringLiteral("bank.example"), {}));
        QCOMPARE(toTray_, 1);
        QVERIFY(Open(&OpenDocument, QStringLiteral("mailto:support@x.example"), {}));
        QCOMPARE(toTray_, 1);
        App().inTrayMode = true;
        QVERIFY(Open(&OpenWebAddress, QStringLiteral("bank.example"), {}));
        QCOMPARE(toTray_, 1);
        QCOMPARE(opened_.size(), 4);
        QCOMPARE(opened_.front(), QUrl(QStringLiteral("http://bank.example")));
    }
};

QTEST_MAIN(TestWebAddress)
#include "tst_web_address.moc"
