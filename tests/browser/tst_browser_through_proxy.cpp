// The extension's side talking to the protocol the way a browser does:
// through qvs-proxy and QVS's socket server, over the browsers' framing, to
// a store of the test's. Keys, association, logins for the page and none
// for a look-alike, a saved login, and the lock signal reach the browser.
#include "browser/browser_server.h"
#include "tests/browser/protocol_fixture.h"
#include "tests/browser/proxy_browser.h"

#include <QtTest>

#include <memory>

using namespace qvs;
using namespace qvs::testing;

namespace {

struct ThroughProxy {
    ardeko::clsPW store;
    FakeHost host;
    FakeQuestions questions;
    browser::BrowserProtocol protocol{host, questions};
    browser::BrowserServer server{protocol};
    std::unique_ptr<Browser> browser;
    ExtensionClient client{[this](const std::string& json) {
        browser->Send(QByteArray::fromStdString(json));
        browser->Next();
        return browser->raw.toStdString();
    }};

    ThroughProxy() {
        store.NewFile();
        host.file = &store;
        protocol.SetBroadcast(&server);
        if (!server.Listen()) qFatal("the socket server did not listen");
        browser = std::make_unique<Browser>(); // after the server, as the browser comes later
    }
};

} // namespace

class TestBrowserThroughProxy : public QObject {
    Q_OBJECT

private slots:
    void aBrowserFillsThroughTheProxy() {
        ThroughProxy qvs;
        ardeko::T_Password bank;
        bank.service = "Bank";
        bank.URL_Access = "https://bank.example/login";
        bank.User = "marta";
        bank.pw = "Tide-Pool-44";
        QVERIFY(qvs.store.PWAdd(bank));

        QVERIFY(qvs.client.ChangePublicKeys());
        const auto associated = qvs.client.Associate();
        QVERIFY(associated.nonceOk);
        QCOMPARE(associated.body.value("id", std::string()), std::string("Firefox at home"));

        const auto logins = qvs.client.GetLogins("https://www.bank.example/signin");
        QVERIFY(logins.nonceOk);
        QCOMPARE(logins.body["entries"].size(), std::size_t{1});
        QCOMPARE(logins.body["entries"][0].value("password", std::string()),
                 std::string("Tide-Pool-44"));
        QCOMPARE(qvs.client.GetLogins("https://bank.example.evil.net/").ErrorCode(), 15);

        const auto saved = qvs.client.SetLogin("https://shop.example/", "m", "new-Pw-9");
        QVERIFY(saved.nonceOk);
        QVERIFY(qvs.store.Password().Find("shop.example"));

        // Locking reaches the browser unasked, as a signal of its own.
        qvs.protocol.FileAvailable(false);
        QCOMPARE(qvs.browser->Next().value(QStringLiteral("action")).toString(),
                 QStringLiteral("database-locked"));
    }
};

QTEST_GUILESS_MAIN(TestBrowserThroughProxy)
#include "tst_browser_through_proxy.moc"
