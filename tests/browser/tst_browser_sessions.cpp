// The protocol's envelope: keys exchanged per clientID, answers sealed under
// the request's nonce+1, and everything that is not a request of a session
// (another key, a nonce used before, changed bytes, malformed JSON, actions
// we do not offer) refused with the error the extension expects, never an
// answer it could mistake for success. Then the connections: associate and
// test-associate.
#include "store/crypto/sodium_calls.h"
#include "tests/browser/protocol_fixture.h"

#include <QtTest>

using namespace qvs;
using namespace qvs::testing;
using Json = nlohmann::json;

namespace {

std::string Sha256Hex(const std::string& text) {
    unsigned char d[32];
    ardeko::crypto::Sha256(d, text);
    QByteArray hex = QByteArray(reinterpret_cast<const char*>(d), 32).toHex();
    return hex.toStdString();
}

int ErrorOf(const std::string& raw) {
    ExtensionClient::Reply r;
    r.body = Json::parse(raw, nullptr, false);
    return r.body.is_object() ? r.ErrorCode() : -1;
}

} // namespace

class TestBrowserSessions : public QObject {
    Q_OBJECT

private slots:
    void keysExchangedAndFileNamedByItsIdentifier() {
        ProtocolFixture f;
        QCOMPARE(f.client.Send("get-databasehash").ErrorCode(), 3); // no keys yet
        QVERIFY(f.client.ChangePublicKeys());
        auto hash = f.client.Send("get-databasehash");
        QVERIFY(hash.sealed && hash.nonceOk);
        QCOMPARE(hash.body["action"], "hash");
        QCOMPARE(hash.body["success"], "true");
        QCOMPARE(hash.body["version"], "2.7.10");
        const std::string id = f.store.FileId();
        QCOMPARE(hash.body["hash"].get<std::string>(), Sha256Hex(id));

        // A new session (and another connection) names the same file alike;
        // another file differently.
        QVERIFY(f.client.ChangePublicKeys());
        QCOMPARE(f.client.Send("get-databasehash").body["hash"], hash.body["hash"]);
        ardeko::clsPW other;
        other.NewFile();
        f.host.file = &other;
        QVERIFY(f.client.Send("get-databasehash").body["hash"] != hash.body["hash"]);

        // The session belongs to its connection, and goes with it.
        f.host.file = &f.store;
        f.connection = 2;
        QCOMPARE(f.client.Send("get-databasehash").ErrorCode(), 3);
        f.connection = 1;
        f.protocol.Closed(1);
        QCOMPARE(f.client.Send("get-databasehash").ErrorCode(), 3);

        // No file, or a locked one: "not opened".
        QVERIFY(f.client.ChangePublicKeys());
        f.host.file = nullptr;
        QCOMPARE(f.client.Send("get-databasehash").ErrorCode(), 1);
        f.host.file = &f.store;
        f.host.locked = true;
        QCOMPARE(f.client.Send("get-databasehash").ErrorCode(), 1);
        QCOMPARE(f.host.unlockQuestions, 0); // asked only when the extension says so
        f.host.unlockWhenAsked = true;
        QVERIFY(f.client.Send("get-databasehash", Json::object(), true).nonceOk);
        QCOMPARE(f.host.unlockQuestions, 1);
    }

    void keyChangeRefusesMalformedKeys() {
        ProtocolFixture f;
        const std::string nonce =
            ExtensionClient::Base64(ExtensionClient::RandomNonce().data(), 24);
        const unsigned char zeros[32] = {};
        const std::string key = ExtensionClient::Base64(zeros + 0, 31);
        for (const Json& request :
             {Json{{"action", "change-public-keys"},
                   {"publicKey", key},
                   {"nonce", nonce},
                   {"clientID", "c"}},
              Json{{"action", "change-public-keys"},
                   {"publicKey", ExtensionClient::Base64(zeros, 32)}, // a key of small order
                   {"nonce", nonce},
                   {"clientID", "c"}},
              Json{{"action", "change-public-keys"},
                   {"publicKey", "!!"},
                   {"nonce", nonce},
                   {"clientID", "c"}},
              Json{{"action", "change-public-keys"}, {"nonce", nonce}, {"clientID", "c"}}}) {
            const std::string answer = f.protocol.Reply(1, request.dump());
            QCOMPARE(ErrorOf(answer), 9);
        }
    }

    void foreignBoxesAndRepeatedNoncesRefused() {
        ProtocolFixture f;
        QVERIFY(f.client.ChangePublicKeys());
        // Boxed by a client whose keys the host never saw, under our clientID.
        ExtensionClient stranger(
            [&](const std::string& json) { return f.protocol.Reply(9, json); });
        QVERIFY(stranger.ChangePublicKeys());
        const auto nonce = ExtensionClient::RandomNonce();
        Json request = Json::parse(stranger.Request("get-databasehash", Json::object(), nonce));
        request["clientID"] = f.client.ClientId();
        QCOMPARE(f.client.SendRaw(request.dump(), nonce).ErrorCode(), 4);

        // The same request twice: the second is a replay.
        const auto again = ExtensionClient::RandomNonce();
        const std::string once = f.client.Request("get-databasehash", Json::object(), again);
        QVERIFY(f.client.SendRaw(once, again).nonceOk);
        QCOMPARE(f.client.SendRaw(once, again).ErrorCode(), 4);
        // A refused box does not use its nonce up.
        const auto fresh = ExtensionClient::RandomNonce();
        Json changed = Json::parse(f.client.Request("get-databasehash", Json::object(), fresh));
        std::string boxed = *ExtensionClient::FromBase64(changed["message"].get<std::string>());
        boxed[5] ^= 1;
        changed["message"] = ExtensionClient::Base64(
            reinterpret_cast<const unsigned char*>(boxed.data()), boxed.size());
        QCOMPARE(f.client.SendRaw(changed.dump(), fresh).ErrorCode(), 4);
        QVERIFY(f.client.SendRaw(f.client.Request("get-databasehash", Json::object(), fresh), fresh)
                    .nonceOk);
        // The nonce at the top wraps around to zero in the answer.
        ExtensionClient::NonceBytes top;
        top.fill(0xFF);
        auto wrapped =
            f.client.SendRaw(f.client.Request("get-databasehash", Json::object(), top), top);
        QVERIFY(wrapped.nonceOk);
        QCOMPARE(wrapped.body["nonce"],
                 ExtensionClient::Base64(ExtensionClient::NonceBytes{}.data(), 24));
    }

    void malformedRequestsGetErrorsNeverCrashes() {
        ProtocolFixture f;
        QVERIFY(f.client.ChangePublicKeys());
        const auto nonce = ExtensionClient::RandomNonce();
        const std::string n64 = ExtensionClient::Base64(nonce.data(), 24);
        const std::string id = f.client.ClientId();
        auto boxed = [&](const std::string& plain) {
            const std::string b = f.client.Box(plain, nonce);
            return ExtensionClient::Base64(reinterpret_cast<const unsigned char*>(b.data()),
                                           b.size());
        };
        const std::vector<std::pair<std::string, int>> cases = {
            {"", 13},
            {"null", 12},
            {"[1,2]", 12},
            {"{}", 12},
            {R"({"action": 5})", 12},
            {"{\"action\": \"get-logins\"", 12}, // cut off
            {"\xff\xfe{}", 12},
            {R"({"action":"passkeys-get","message":"x","nonce":"y","clientID":"z"})", 12},
            {R"({"action":"request-autotype"})", 12},
            {R"({"action":"get-logins-count"})", 12},
            {Json{{"action", "get-logins"}, {"nonce", n64}, {"clientID", id}}.dump(), 13},
            {Json{{"action", "get-logins"}, {"message", "%%%"}, {"nonce", n64}, {"clientID", id}}
                 .dump(),
             4},
            {Json{{"action", "get-logins"},
                  {"message", boxed("{}")},
                  {"nonce", "AAAA"},
                  {"clientID", id}}
                 .dump(),
             4},
            {Json{{"action", "get-logins"}, {"message", boxed("{}")}, {"clientID", id}}.dump(), 4},
            {Json{{"action", "get-logins"}, {"message", boxed("{}")}, {"nonce", n64}}.dump(), 3},
            {Json{{"action", "get-logins"},
                  {"message", boxed("not json")},
                  {"nonce", n64},
                  {"clientID", id}}
                 .dump(),
             12},
        };
        for (const auto& [request, code] : cases) {
            const std::string answer = f.protocol.Reply(1, request);
            const Json parsed = Json::parse(answer, nullptr, false);
            QVERIFY2(parsed.is_object() && !parsed.contains("nonce") && !parsed.contains("message"),
                     answer.c_str());
            QVERIFY2(ErrorOf(answer) == code, (request + " -> " + answer).c_str());
        }
        // Opened, but naming another action inside than outside: a box
        // made for one action is not taken for another.
        const auto other = ExtensionClient::RandomNonce();
        Json mixed = Json::parse(f.client.Request("get-databasehash", Json::object(), other));
        mixed["action"] = "lock-database";
        QCOMPARE(f.client.SendRaw(mixed.dump(), other).ErrorCode(), 12);
        QVERIFY(!f.host.locked);
    }

    void associationAskedNamedAndStored() {
        ProtocolFixture f;
        QVERIFY(f.client.ChangePublicKeys());
        f.questions.name.reset(); // Cancel
        QCOMPARE(f.client.Associate().ErrorCode(), 6);
        QVERIFY(f.store.BrowserLinks().empty());

        f.questions.name = "Laptop";
        auto made = f.client.Associate();
        QVERIFY(made.nonceOk);
        QCOMPARE(made.body["id"], "Laptop");
        QCOMPARE(made.body["hash"], f.client.Send("get-databasehash").body["hash"]);
        QVERIFY(f.store.FindBrowserLink("Laptop", f.client.IdKeyText()));
        QVERIFY(f.store.NotSaved());
        QCOMPARE(f.host.changed.size(), std::size_t(1));

        // A key that is not this session's own is no association.
        const auto nonce = ExtensionClient::RandomNonce();
        auto foreign = f.client.SendRaw(
            f.client.Request("associate",
                             {{"key", f.client.IdKeyText()}, {"idKey", f.client.IdKeyText()}},
                             nonce),
            nonce);
        QCOMPARE(foreign.ErrorCode(), 8);

        QVERIFY(f.client.TestAssociate().nonceOk);
        QCOMPARE(f.client.TestAssociate().body["id"], "Laptop");
        ExtensionClient impostor(
            [&](const std::string& json) { return f.protocol.Reply(1, json); });
        QVERIFY(impostor.ChangePublicKeys());
        impostor.SetConnection("Laptop", impostor.IdKeyText()); // the name without the key
        QCOMPARE(impostor.TestAssociate().ErrorCode(), 8);
        QCOMPARE(impostor.GetLogins("https://example.org/").ErrorCode(), 8);

        // The user removed the connection: it is refused from then on.
        QVERIFY(f.store.RemoveBrowserLink(f.client.IdKeyText()));
        QCOMPARE(f.client.TestAssociate().ErrorCode(), 8);
        QCOMPARE(f.client.GetLogins("https://example.org/").ErrorCode(), 8);
        QCOMPARE(f.client.Associate().ErrorCode(), 8); // its key never comes back

        // The file went while the user was naming: nothing is stored.
        ExtensionClient late([&](const std::string& json) { return f.protocol.Reply(1, json); });
        QVERIFY(late.ChangePublicKeys());
        f.questions.during = [&] { f.host.locked = true; };
        QCOMPARE(late.Associate().ErrorCode(), 8);
        QCOMPARE(f.store.BrowserLinks().size(), std::size_t(0));
    }

    void legacyFileOffersTheNewFormat() {
        ProtocolFixture f;
        f.store.SetFormat(ardeko::FileFormat::Legacy);
        QVERIFY(f.client.ChangePublicKeys());
        auto hash = f.client.Send("get-databasehash");
        QVERIFY(hash.nonceOk); // the extension goes on to associate, where it is told
        QCOMPARE(f.client.Associate().ErrorCode(), 8);
        QCOMPARE(f.questions.asked, std::vector<std::string>{"format"});
        QVERIFY(f.store.BrowserLinks().empty());
    }

    void lockedAndUnlockedReachEveryBrowser() {
        struct Recorder : browser::Broadcast {
            std::vector<std::string> sent;
            void ToAll(const QByteArray& json) override { sent.push_back(json.toStdString()); }
        } recorder;
        ProtocolFixture f;
        f.protocol.SetBroadcast(&recorder);
        QVERIFY(f.Connect());
        // lock-database: the extension takes "not opened" as done.
        QCOMPARE(f.client.Send("lock-database").ErrorCode(), 1);
        QVERIFY(f.host.locked);
        f.protocol.FileAvailable(false);
        f.protocol.FileAvailable(true);
        QCOMPARE(recorder.sent.size(), std::size_t(2));
        QCOMPARE(Json::parse(recorder.sent[0]), Json({{"action", "database-locked"}}));
        QCOMPARE(Json::parse(recorder.sent[1]), Json({{"action", "database-unlocked"}}));
    }

    void answersThroughTheSeam() {
        ProtocolFixture f;
        QVERIFY(f.client.ChangePublicKeys());
        int calls = 0;
        QByteArray answer;
        f.protocol.Handle(1, QByteArray(R"({"action":"passkeys-register"})"),
                          [&](const QByteArray& json) {
                              ++calls;
                              answer = json;
                          });
        QCOMPARE(calls, 1);
        QCOMPARE(ErrorOf(answer.toStdString()), 12);
        QCOMPARE(Json::parse(answer.toStdString())["action"], "passkeys-register");
        auto generated =
            f.client.Send("generate-password", {{"nonce", "x"}, {"clientID", f.client.ClientId()}});
        QCOMPARE(generated.body["password"], "generated-Pw-1");
    }
};

QTEST_GUILESS_MAIN(TestBrowserSessions)
#include "tst_browser_sessions.moc"
