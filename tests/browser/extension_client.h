// The browser extension's side of the protocol, for tests: its own key
// pair, clientID and identification key, boxes made with libsodium as the
// extension makes them with TweetNaCl, and the checks it makes of every
// answer (the nonce+1, inside and out). It only makes and reads JSON
// messages: a transport given to it carries them, in the same process or
// through qvs-proxy's framing.
#pragma once

#include <nlohmann/json.hpp>

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace qvs::testing {

class ExtensionClient {
public:
    using Json = nlohmann::json;
    using Bytes32 = std::array<unsigned char, 32>;
    using NonceBytes = std::array<unsigned char, 24>;
    // Sends one message and gives the answer to it.
    using Transport = std::function<std::string(const std::string& json)>;

    // What came back: the opened answer of an encrypted action (sealed), or
    // the answer as it came (an error, change-public-keys).
    struct Reply {
        Json body;
        bool sealed = false;
        bool nonceOk = false; // the answer carried the request's nonce+1 (inside too)
        std::string raw;
        // The error code of an error answer; 0 for none.
        int ErrorCode() const;
    };

    explicit ExtensionClient(Transport transport);
    ~ExtensionClient();
    ExtensionClient(const ExtensionClient&) = delete;
    ExtensionClient& operator=(const ExtensionClient&) = delete;

    // A new key pair and clientID, exchanged with the host; true when the
    // host's answer is one the extension accepts.
    bool ChangePublicKeys();
    // An encrypted action with fields (the action is added to them).
    Reply Send(const std::string& action, Json fields = Json::object(), bool triggerUnlock = false);
    // The request Send would make, with a nonce of the caller's.
    std::string Request(const std::string& action, const Json& fields, const NonceBytes& nonce,
                        bool triggerUnlock = false) const;
    // Sends a request as it is and reads the answer as Send does.
    Reply SendRaw(const std::string& request, const NonceBytes& nonce);

    // associate with this client's identification key; the id the host
    // gave is kept for the actions that name the connection.
    Reply Associate();
    Reply TestAssociate();
    Reply GetLogins(const std::string& url);
    Reply SetLogin(const std::string& url, const std::string& login, const std::string& password,
                   const std::string& uuid = std::string(), const Json& more = Json::object());

    const std::string& ClientId() const { return clientId_; }
    const std::string& ConnectionId() const { return connectionId_; }
    void SetConnection(const std::string& id, const std::string& idKey);
    std::string PublicKeyText() const;
    std::string IdKeyText() const;
    const Bytes32& HostKey() const { return hostKey_; }

    static NonceBytes RandomNonce();
    static NonceBytes Incremented(NonceBytes nonce);
    static std::string Base64(const unsigned char* bytes, std::size_t n);
    static std::optional<std::string> FromBase64(const std::string& text);
    // libsodium's box of plain for the host with our secret key (or key).
    std::string Box(const std::string& plain, const NonceBytes& nonce) const;

private:
    Transport transport_;
    Bytes32 public_{}, idPublic_{}, hostKey_{};
    unsigned char* secret_; // guarded by libsodium, wiped on the way out
    std::string clientId_, connectionId_, idKeyText_;
};

} // namespace qvs::testing
