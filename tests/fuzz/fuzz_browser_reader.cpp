// libFuzzer target for reading the extension's requests in QVS: any bytes as
// a request of a connection that holds a session, and any bytes as the
// message a valid box holds (so that what a client with the keys may send
// is reached too). A finding is a crash, a leak, an exception, a refused
// request without an error answer the extension can read, or an opened one
// that is not a JSON object of the request's action.
#include "browser/message_reader.h"

#include <sodium.h>

#include <cstdio>
#include <cstdlib>

using namespace qvs::browser;

namespace {

[[noreturn]] void Finding(const char* what) {
    std::fprintf(stderr, "fuzz_browser_reader: %s\n", what);
    std::abort();
}

struct Client {
    PublicKey publicKey{};
    unsigned char secret[32]{};
    PublicKey host{};
    std::string clientId = "fuzz-client";
};

// A session set up once, as change-public-keys makes it.
Sessions& Established(Client& client) {
    static Sessions sessions;
    static bool made = false;
    if (!made) {
        if (!CryptoReady()) Finding("no libsodium");
        crypto_box_keypair(client.publicKey.data(), client.secret);
        Envelope e;
        e.action = "change-public-keys";
        e.clientId = client.clientId;
        e.publicKey = ToBase64(client.publicKey);
        e.nonce = ToBase64(RandomNonce());
        const Json answer = Json::parse(sessions.ChangeKeys(1, e));
        const auto host = FixedFromBase64<kBoxKeyBytes>(answer.at("publicKey").get<std::string>());
        if (!host) Finding("no host key");
        client.host = *host;
        made = true;
    }
    return sessions;
}

void CheckRefusal(const Envelope& e, Error code) {
    const Json answer = Json::parse(ErrorAnswer(code, e.action), nullptr, false);
    if (!answer.is_object() || answer.contains("nonce") || answer.value("errorCode", "") == "0")
        Finding("an error answer the extension cannot read");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Client client;
    Sessions& sessions = Established(client);
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    Envelope e;
    if (data[0] % 2 == 0) {
        e = ReadEnvelope(bytes);
        if (e.error != Error::None) {
            CheckRefusal(e, e.error);
            return 0;
        }
        if (e.action == "change-public-keys") {
            // Keys of another clientID: the session under test stays.
            if (e.clientId == client.clientId) return 0;
            if (!Json::parse(sessions.ChangeKeys(2, e), nullptr, false).is_object())
                Finding("a key change answer that is not JSON");
            sessions.Closed(2);
            return 0;
        }
    } else {
        // The bytes as the message of a valid box.
        const Nonce nonce = RandomNonce();
        std::string boxed(bytes.size() + crypto_box_MACBYTES, '\0');
        if (crypto_box_easy(reinterpret_cast<unsigned char*>(boxed.data()),
                            reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                            nonce.data(), client.host.data(), client.secret) != 0)
            Finding("no box");
        e.action = "get-logins";
        e.clientId = client.clientId;
        e.nonce = ToBase64(nonce);
        e.message = ToBase64(reinterpret_cast<const unsigned char*>(boxed.data()), boxed.size());
    }
    const Opened o = sessions.Open(1, e);
    if (o.error != Error::None) {
        CheckRefusal(e, o.error);
        return 0;
    }
    if (!o.message.is_object() || o.message.value("action", "") != e.action)
        Finding("an opened message that is not the request's action");
    const std::string sealed = sessions.Seal(1, e.clientId, e.action, o.nonce, {{"ok", "true"}});
    if (!Json::parse(sealed, nullptr, false).is_object())
        Finding("a sealed answer that is not JSON");
    return 0;
}
