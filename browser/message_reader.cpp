#include "browser/message_reader.h"

#include <sodium.h>

#include <algorithm>

namespace qvs::browser {

namespace {

const char* ErrorText(Error code) {
    switch (code) {
    case Error::DatabaseNotOpened:
        return "Database not opened";
    case Error::NoPublicKey:
        return "Client public key not received";
    case Error::CannotDecrypt:
        return "Cannot decrypt message";
    case Error::Cancelled:
        return "Action cancelled or denied";
    case Error::AssociationFailed:
        return "Association failed";
    case Error::KeyChangeFailed:
        return "Key change was not successful";
    case Error::IncorrectAction:
        return "Incorrect action";
    case Error::EmptyMessage:
        return "Empty message received";
    case Error::NoUrl:
        return "No URL provided";
    case Error::NoLogins:
        return "No logins found";
    case Error::NoGroups:
        return "No groups found";
    case Error::CannotCreateGroup:
        return "Cannot create new group";
    case Error::NoValidUuid:
        return "No valid UUID provided";
    case Error::AccessDenied:
        return "Access to all entries is denied";
    case Error::None:
        break;
    }
    return "Unknown error";
}

std::string Dump(const Json& j) {
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// A text member, "" when it is missing or not a text.
std::string TextOf(const Json& object, const char* name) {
    const auto it = object.find(name);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

void Wipe(std::string& s) {
    sodium_memzero(s.data(), s.size());
}

} // namespace

std::string ErrorAnswer(Error code, std::string_view action) {
    return Dump({{"action", std::string(action)},
                 {"errorCode", std::to_string(static_cast<int>(code))},
                 {"error", ErrorText(code)}});
}

Envelope ReadEnvelope(std::string_view json) {
    Envelope e;
    const Json parsed = Json::parse(json, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object()) {
        e.error = json.empty() ? Error::EmptyMessage : Error::IncorrectAction;
        return e;
    }
    e.action = TextOf(parsed, "action");
    if (e.action.empty()) e.error = Error::IncorrectAction;
    e.clientId = TextOf(parsed, "clientID");
    e.nonce = TextOf(parsed, "nonce");
    e.message = TextOf(parsed, "message");
    e.publicKey = TextOf(parsed, "publicKey");
    // The extension sends the text "true"; a JSON true means the same.
    const auto unlock = parsed.find("triggerUnlock");
    e.triggerUnlock = unlock != parsed.end() && ((unlock->is_string() && *unlock == "true") ||
                                                 (unlock->is_boolean() && unlock->get<bool>()));
    return e;
}

std::string Sessions::ChangeKeys(Connection connection, const Envelope& request) {
    const auto clientKey = FixedFromBase64<kBoxKeyBytes>(request.publicKey);
    const auto nonce = FixedFromBase64<kBoxNonceBytes>(request.nonce);
    Session session;
    PublicKey hostKey{};
    if (!clientKey || !nonce || request.clientId.empty() || request.clientId.size() > 256 ||
        !session.key.MakeWith(*clientKey, hostKey))
        return ErrorAnswer(Error::KeyChangeFailed, request.action);
    session.clientKey = *clientKey;
    std::vector<std::string>& order = order_[connection];
    std::erase(order, request.clientId);
    order.push_back(request.clientId);
    if (order.size() > kMaxSessions) {
        sessions_.erase({connection, order.front()});
        order.erase(order.begin());
    }
    sessions_.insert_or_assign(std::pair(connection, request.clientId), std::move(session));
    return Dump({{"action", request.action},
                 {"version", kProtocolVersion},
                 {"publicKey", ToBase64(hostKey)},
                 {"nonce", ToBase64(Incremented(*nonce))},
                 {"success", "true"}});
}

bool Sessions::Has(Connection connection, const std::string& clientId) const {
    return sessions_.contains({connection, clientId});
}

Opened Sessions::Open(Connection connection, const Envelope& request) {
    Opened o;
    const auto it = sessions_.find({connection, request.clientId});
    if (it == sessions_.end()) {
        o.error = Error::NoPublicKey;
        return o;
    }
    if (request.message.empty()) {
        o.error = Error::EmptyMessage;
        return o;
    }
    Session& session = it->second;
    const auto nonce = FixedFromBase64<kBoxNonceBytes>(request.nonce);
    const auto boxed = FromBase64(request.message);
    if (!nonce || !boxed || session.seen.contains(*nonce) || session.seen.size() >= kMaxNonces) {
        o.error = Error::CannotDecrypt;
        return o;
    }
    std::optional<std::string> plain = session.key.Open(*boxed, *nonce);
    if (!plain) {
        o.error = Error::CannotDecrypt;
        return o;
    }
    // Only a box that opened counts: bytes anybody could send cannot use
    // up the nonces of the session.
    session.seen.insert(*nonce);
    o.nonce = *nonce;
    o.clientKey = session.clientKey;
    o.message = Json::parse(*plain, nullptr, false);
    Wipe(*plain);
    if (o.message.is_discarded() || !o.message.is_object() ||
        TextOf(o.message, "action") != request.action) {
        o.message = Json();
        o.error = Error::IncorrectAction;
    }
    return o;
}

std::string Sessions::Seal(Connection connection, const std::string& clientId,
                           std::string_view action, const Nonce& requestNonce, Json answer) const {
    const auto it = sessions_.find({connection, clientId});
    if (it == sessions_.end()) return {};
    const Nonce nonce = Incremented(requestNonce);
    const std::string nonceText = ToBase64(nonce);
    answer["nonce"] = nonceText;
    answer["success"] = "true";
    answer["version"] = kProtocolVersion;
    if (!answer.contains("action")) answer["action"] = std::string(action);
    std::string plain = Dump(answer);
    const std::string boxed = it->second.key.Seal(plain, nonce);
    Wipe(plain);
    return Dump(
        {{"action", std::string(action)},
         {"message", ToBase64(reinterpret_cast<const unsigned char*>(boxed.data()), boxed.size())},
         {"nonce", nonceText}});
}

void Sessions::Closed(Connection connection) {
    const auto order = order_.find(connection);
    if (order == order_.end()) return;
    for (const std::string& clientId : order->second)
        sessions_.erase({connection, clientId});
    order_.erase(order);
}

std::size_t SealedAnswerBytes(std::size_t plainBytes) {
    // The box adds its tag; base64 takes 4 bytes for 3; the envelope
    // (action, nonce, keys and quotes) stays well within the slack.
    constexpr std::size_t kEnvelopeSlack = 512;
    return (plainBytes + crypto_box_MACBYTES + 2) / 3 * 4 + kEnvelopeSlack;
}

} // namespace qvs::browser
