// Reading the extension's requests and sealing the answers: the outer JSON
// object, the sessions (one client key per clientID, made by
// change-public-keys, on the connection it came from), the box that must
// open with the session's key under a nonce never seen before, and the
// error answers. Free of Qt, so that it can be fuzzed alone.
#pragma once

#include "browser/box_crypto.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qvs::browser {

using Json = nlohmann::json;

// The version of the protocol we answer as: the extension turns features
// off for versions below those of the program it was written for, so this
// is the protocol level we support, not the program's own version.
inline constexpr const char* kProtocolVersion = "2.7.10";
// Both browsers drop a host message of 1 MiB or more, and the connection
// with it: every answer stays below.
inline constexpr std::size_t kMaxAnswerBytes = 1024 * 1024 - 1;

// The error codes the extension knows.
enum class Error {
    None = 0,
    DatabaseNotOpened = 1,
    NoPublicKey = 3,
    CannotDecrypt = 4,
    Cancelled = 6,
    AssociationFailed = 8,
    KeyChangeFailed = 9,
    IncorrectAction = 12,
    EmptyMessage = 13,
    NoUrl = 14,
    NoLogins = 15,
    NoGroups = 16,
    CannotCreateGroup = 17,
    NoValidUuid = 18,
    AccessDenied = 19,
};

// {"action", "errorCode": "N", "error"}: never sealed, and without a nonce,
// so that the extension pairs it with its request by action.
std::string ErrorAnswer(Error code, std::string_view action);

// One request as the browser sent it, its message not yet opened.
struct Envelope {
    Error error = Error::None; // not a request: not JSON, not an object, no action
    std::string action;
    std::string clientId;
    std::string nonce;     // base64, as sent
    std::string message;   // base64 of the box, as sent
    std::string publicKey; // change-public-keys
    bool triggerUnlock = false;
};
Envelope ReadEnvelope(std::string_view json);

// An opened request: its message as JSON, or why it was refused.
struct Opened {
    Error error = Error::None;
    Json message;
    Nonce nonce{};
    PublicKey clientKey{}; // the session's
};

class Sessions {
public:
    using Connection = std::uint64_t;

    // change-public-keys: a new host key for the clientID on connection
    // (replacing one it had), and the answer, or error 9 for a malformed
    // key, nonce or clientID.
    std::string ChangeKeys(Connection connection, const Envelope& request);
    // Opens an encrypted request: error 3 for a clientID without keys, 13
    // for no message, 4 for a box that does not open or a nonce seen before
    // in the session, 12 for a message that is not a JSON object of the
    // same action.
    Opened Open(Connection connection, const Envelope& request);
    // The answer to an opened request: answer with nonce+1, "success" and
    // the version added, sealed for the session; "" when the session went
    // meanwhile.
    std::string Seal(Connection connection, const std::string& clientId, std::string_view action,
                     const Nonce& requestNonce, Json answer) const;
    void Closed(Connection connection);
    bool Has(Connection connection, const std::string& clientId) const;

private:
    struct Session {
        BoxKey key;
        PublicKey clientKey{};
        // Every nonce a request came with: a recorded request is not taken twice.
        std::set<Nonce> seen;
    };
    // Sessions a connection may keep at once: each browser profile makes
    // one per connect; more are dropped oldest first.
    static constexpr std::size_t kMaxSessions = 16;
    // A session this old in requests asks for new keys.
    static constexpr std::size_t kMaxNonces = 1'000'000;

    std::map<std::pair<Connection, std::string>, Session> sessions_;
    std::map<Connection, std::vector<std::string>> order_; // clientIDs, oldest first
};

// The size a sealed answer of plainBytes of JSON takes on the wire, with
// room for its envelope: what a long answer is cut to fit.
std::size_t SealedAnswerBytes(std::size_t plainBytes);

} // namespace qvs::browser
