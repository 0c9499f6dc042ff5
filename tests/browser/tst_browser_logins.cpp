// What a connected browser gets and writes: the logins of the entries whose
// address serves the page (and nothing for look-alikes, other schemes or
// ports, or entries without an address), the user's decision per site
// remembered per entry, nothing while the file is locked, one-time codes,
// logins saved and updated with their history, and the groups.
#include "store/entry_id.h"
#include "tests/browser/protocol_fixture.h"

#include <QtTest>

using namespace qvs;
using namespace qvs::testing;
using Json = nlohmann::json;

namespace {

ardeko::T_Password Entry(const std::string& service, const std::string& address,
                         std::int16_t cat = 0) {
    ardeko::T_Password p;
    p.service = service;
    p.URL_Access = address;
    p.User = "user-" + service;
    p.pw = "pw-" + service;
    p.Codcat = cat;
    return p;
}

// The names of the entries an answer gives, sorted (printed when they differ).
QStringList Names(const ExtensionClient::Reply& r) {
    QStringList names;
    if (r.body.contains("entries"))
        for (const Json& e : r.body["entries"])
            names << QString::fromStdString(e["name"].get<std::string>());
    names.sort();
    return names;
}

struct Sites : ProtocolFixture {
    Sites() {
        store.CatAdd("Web");
        const std::int16_t web = store.Category().Find("Web")->Codcat;
        for (const ardeko::T_Password& p :
             {Entry("Example", "https://example.com/login", web),
              Entry("Accounts", "https://accounts.example.com"),
              Entry("Admin port", "https://example.com:8443/"), Entry("Plain", "http://plain.org"),
              Entry("Books", "https://bücher.de/"), Entry("Evil", "https://example.com.evil.net/"),
              Entry("Nowhere", ""), Entry("Mail only", "mailto:someone@example.com")})
            store.PWAdd(p);
        if (!Connect()) qFatal("no connection");
        questions.asked.clear();
    }
};

} // namespace

class TestBrowserLogins : public QObject {
    Q_OBJECT

private slots:
    void loginsForThePageOnly_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("host") << "https://example.com/signin?x=1" << QStringList{"Example"};
        QTest::newRow("subdomain of the entry")
            << "https://www.example.com/" << QStringList{"Example"};
        QTest::newRow("entry's own subdomain")
            << "https://accounts.example.com/" << QStringList{"Accounts", "Example"};
        QTest::newRow("port named by the entry")
            << "https://example.com:8443/x" << QStringList{"Admin port"};
        QTest::newRow("http entry on https") << "https://plain.org/" << QStringList{"Plain"};
        QTest::newRow("https entry never on http") << "http://example.com/" << QStringList{};
        QTest::newRow("host that ends in the entry's")
            << "https://evil-example.com/" << QStringList{};
        QTest::newRow("entry's host as a label")
            << "https://example.com.evil.net/" << QStringList{"Evil"};
        QTest::newRow("IDN in its ASCII form")
            << "https://xn--bcher-kva.de/" << QStringList{"Books"};
        QTest::newRow("IDN look-alike") << "https://xn--exmple-cua.com/" << QStringList{};
        QTest::newRow("other scheme") << "ftp://example.com/" << QStringList{};
        QTest::newRow("not an address") << "example" << QStringList{};
    }
    void loginsForThePageOnly() {
        QFETCH(QString, page);
        QFETCH(QStringList, expected);
        Sites f;
        auto reply = f.client.GetLogins(page.toStdString());
        if (expected.isEmpty()) {
            QCOMPARE(reply.ErrorCode(), 15);
            QVERIFY(f.questions.asked.empty()); // nothing to ask about
            return;
        }
        QVERIFY2(reply.nonceOk, reply.raw.c_str());
        expected.sort();
        QVERIFY2(Names(reply) == expected, qPrintable(Names(reply).join(", ")));
        QCOMPARE(reply.body["count"], std::to_string(expected.size()));
    }

    void entryFieldsAsTheExtensionReadsThem() {
        Sites f;
        f.store.PWAdd([] {
            auto p = Entry("Coded", "https://coded.example.net/");
            p.Totp = "otpauth://totp/x?secret=JBSWY3DPEHPK3PXP";
            return p;
        }());
        f.store.PWAdd([] {
            auto p = Entry("Old", "https://coded.example.net/");
            p.blExpire = true;
            p.Dt_Expire = 45000; // long past
            return p;
        }());
        auto reply = f.client.GetLogins("https://coded.example.net/");
        QVERIFY(reply.nonceOk);
        QCOMPARE(reply.body["entries"].size(), std::size_t(2));
        for (const Json& e : reply.body["entries"]) {
            const ardeko::T_Password* p = f.store.Password().Find(e["name"].get<std::string>());
            QVERIFY(p);
            QCOMPARE(e["login"], p->User);
            QCOMPARE(e["password"], p->pw);
            QCOMPARE(e["uuid"], p->Id);
            QCOMPARE(e["group"], "");
            QCOMPARE(e["stringFields"], Json::array());
            QCOMPARE(e.contains("totp"), p->service == "Coded");
            QCOMPARE(e.contains("expired"), p->service == "Old");
        }
        auto example = f.client.GetLogins("https://example.com/");
        QCOMPARE(example.body["entries"][0]["group"], "Web");

        QCOMPARE(f.client.Send("get-totp", {{"uuid", f.store.Password().Find("Coded")->Id}})
                     .body["totp"],
                 "492039");
        QCOMPARE(
            f.client.Send("get-totp", {{"uuid", f.store.Password().Find("Old")->Id}}).ErrorCode(),
            18);
        QCOMPARE(f.client.Send("get-totp", {{"uuid", "0123"}}).ErrorCode(), 18);

        f.host.neverExpired = true;
        QCOMPARE(Names(f.client.GetLogins("https://coded.example.net/")), QStringList{"Coded"});
        QCOMPARE(f.client.Send("get-logins", {{"keys", Json::array()}}).ErrorCode(), 14);
    }

    void eachSiteAskedOnceRememberedPerEntry() {
        Sites f;
        f.questions.site = browser::SiteAnswer::AllowOnce;
        QVERIFY(f.client.GetLogins("https://www.example.com/").nonceOk);
        QVERIFY(f.client.GetLogins("https://www.example.com/").nonceOk);
        QCOMPARE(f.questions.asked, (std::vector<std::string>{"site www.example.com: Example",
                                                              "site www.example.com: Example"}));
        QVERIFY(!f.store.SitePermission("Example", "www.example.com"));

        f.questions.asked.clear();
        f.questions.site = browser::SiteAnswer::Deny;
        QCOMPARE(f.client.GetLogins("https://accounts.example.com/").ErrorCode(), 19);
        QCOMPARE(f.client.GetLogins("https://accounts.example.com/").ErrorCode(), 19);
        QCOMPARE(f.questions.asked.size(), std::size_t(1)); // denied, not asked again
        QCOMPARE(f.store.SitePermission("Accounts", "accounts.example.com"),
                 std::optional<bool>(false));

        f.questions.asked.clear();
        f.questions.site = browser::SiteAnswer::AllowAlways;
        QVERIFY(f.client.GetLogins("https://example.com/").nonceOk);
        QVERIFY(f.client.GetLogins("https://example.com/").nonceOk);
        QCOMPARE(f.questions.asked.size(), std::size_t(1));
        QCOMPARE(f.store.SitePermission("Example", "example.com"), std::optional<bool>(true));
        // Another entry for the same site is asked about on its own.
        f.store.PWAdd(Entry("Second", "https://example.com/"));
        f.questions.site = browser::SiteAnswer::Deny;
        QCOMPARE(Names(f.client.GetLogins("https://example.com/")), QStringList{"Example"});
        QCOMPARE(f.questions.asked.back(), "site example.com: Second");
    }

    void nothingWhileLocked() {
        Sites f;
        f.host.locked = true;
        QCOMPARE(f.client.GetLogins("https://example.com/").ErrorCode(), 1);
        QCOMPARE(f.host.unlockQuestions, 1);
        // Locked while the user was answering the site's question.
        f.host.locked = false;
        f.questions.during = [&] { f.host.locked = true; };
        auto reply = f.client.GetLogins("https://example.com/");
        QCOMPARE(reply.ErrorCode(), 1);
        QVERIFY(reply.raw.find("pw-Example") == std::string::npos);
        // Unlocked on request: the logins come.
        f.questions.during = nullptr;
        f.host.unlockWhenAsked = true;
        QCOMPARE(Names(f.client.GetLogins("https://example.com/")), QStringList{"Example"});
    }

    void setLoginNewAndUpdated() {
        Sites f;
        f.questions.save = false;
        QCOMPARE(f.client.SetLogin("https://shop.example.org/login", "anna", "s3cret").ErrorCode(),
                 6);
        QVERIFY(!f.store.CatExist("Browser"));

        f.questions.save = true;
        auto made = f.client.SetLogin("https://shop.example.org/login", "anna", "s3cret");
        QVERIFY2(made.nonceOk, made.raw.c_str());
        QCOMPARE(made.body["error"], "");
        QVERIFY(made.body["count"].is_null());
        const ardeko::T_Password* p = f.store.Password().Find("shop.example.org");
        QVERIFY(p);
        QCOMPARE(p->User, "anna");
        QCOMPARE(p->pw, "s3cret");
        QCOMPARE(p->URL_Access, "https://shop.example.org/login");
        QCOMPARE(f.store.CatValue(p->Codcat), "Browser");
        QCOMPARE(f.host.changed.back(), "shop.example.org");
        const std::string uuid = p->Id;

        // A second login for the same site gets a name of its own.
        QVERIFY(f.client.SetLogin("https://shop.example.org/", "bob", "x").nonceOk);
        QVERIFY(f.store.Password().Find("shop.example.org (bob)"));

        auto updated = f.client.SetLogin("https://shop.example.org/login", "anna2", "n3w", uuid);
        QVERIFY(updated.nonceOk);
        p = f.store.Password().Find("shop.example.org");
        QCOMPARE(p->pw, "n3w");
        QCOMPARE(p->User, "anna2");
        QVERIFY(!p->History.empty());
        QCOMPARE(p->History.front().pw, "s3cret");
        QCOMPARE(f.questions.asked.back(),
                 "save https://shop.example.org/login anna2 shop.example.org");

        QCOMPARE(f.client.SetLogin("https://x.org/", "a", "b", "ffff").ErrorCode(), 18);
        QCOMPARE(f.client.SetLogin("", "a", "b").ErrorCode(), 14);
        const std::string webId = f.store.Category().Find("Web")->Id;
        QVERIFY(f.client
                    .SetLogin("https://filed.org/", "a", "b", "",
                              {{"group", "Web"}, {"groupUuid", webId}})
                    .nonceOk);
        QCOMPARE(f.store.CatValue(f.store.Password().Find("filed.org")->Codcat), "Web");
        // A connection the user removed writes nothing.
        f.store.RemoveBrowserLink(f.client.IdKeyText());
        QCOMPARE(f.client.SetLogin("https://late.org/", "a", "b").ErrorCode(), 8);
        QVERIFY(!f.store.Password().Find("late.org"));
    }

    void groupsAreCategories() {
        Sites f;
        auto made = f.client.Send("create-new-group", {{"groupName", "Shops/Books"}});
        QVERIFY(made.nonceOk);
        QCOMPARE(made.body["name"], "Books");
        const std::int16_t shops = f.store.Category().Find("Shops")->Codcat;
        const auto* sub = f.store.SubCategory().Find(ardeko::SubCategoryKey(shops, "Books"));
        QVERIFY(sub);
        QCOMPARE(made.body["uuid"], sub->Id);
        QCOMPARE(f.client.Send("create-new-group", {{"groupName", "Shops/Books"}}).body["uuid"],
                 sub->Id);
        QCOMPARE(f.client.Send("create-new-group", {{"groupName", "a/b/c"}}).ErrorCode(), 17);
        QCOMPARE(f.client.Send("create-new-group", {{"groupName", ""}}).ErrorCode(), 17);

        auto groups = f.client.Send("get-database-groups");
        QVERIFY(groups.nonceOk);
        const Json& root = groups.body["groups"][0];
        QCOMPARE(root["uuid"], f.store.FileId());
        bool found = false;
        for (const Json& c : root["children"])
            if (c["name"] == "Shops") {
                QCOMPARE(c["children"][0]["name"], "Books");
                QCOMPARE(c["children"][0]["uuid"], sub->Id);
                found = true;
            }
        QVERIFY(found);
    }

    void manyLoginsCutToOneAnswer() {
        ProtocolFixture f;
        const std::string longPassword(400, 'p');
        for (int i = 0; i < 4000; ++i) {
            auto p = Entry("Site " + std::to_string(i), "https://big.example.com/");
            p.pw = longPassword;
            f.store.PWAdd(p);
        }
        QVERIFY(f.Connect());
        f.questions.site = browser::SiteAnswer::AllowOnce;
        auto reply = f.client.GetLogins("https://big.example.com/");
        QVERIFY(reply.nonceOk);
        QVERIFY(reply.raw.size() < 1024 * 1024);
        const std::size_t count = reply.body["entries"].size();
        QVERIFY(count > 100 && count < 4000);
        QCOMPARE(reply.body["count"], std::to_string(count));
    }
};

QTEST_GUILESS_MAIN(TestBrowserLogins)
#include "tst_browser_logins.moc"
