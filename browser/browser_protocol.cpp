#include "browser/browser_protocol.h"

#include "store/crypto/sodium_calls.h"

#include <functional>
#include <map>

namespace qvs::browser {

namespace {

std::string Hex(const unsigned char* bytes, std::size_t n) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0xF];
    }
    return out;
}

std::string Signal(bool available) {
    return Json({{"action", available ? "database-unlocked" : "database-locked"}}).dump();
}

} // namespace

BrowserProtocol::BrowserProtocol(BrowserHost& host, BrowserQuestions& questions)
    : host_(host), questions_(questions) {
    CryptoReady();
}

std::string BrowserProtocol::Request::Text(const char* name) const {
    const auto it = opened.message.find(name);
    return it != opened.message.end() && it->is_string() ? it->get<std::string>() : std::string();
}

void BrowserProtocol::Handle(ConnectionId connection, const QByteArray& json,
                             Requests::Answer answer) {
    const std::string reply = Reply(connection, std::string_view(json.constData(), json.size()));
    answer(QByteArray::fromStdString(reply));
}

void BrowserProtocol::Closed(ConnectionId connection) {
    sessions_.Closed(connection);
}

void BrowserProtocol::FileAvailable(bool available) {
    if (broadcast_) broadcast_->ToAll(QByteArray::fromStdString(Signal(available)));
}

std::string BrowserProtocol::Reply(ConnectionId connection, std::string_view json) {
    Request r;
    r.connection = connection;
    r.envelope = ReadEnvelope(json);
    if (r.envelope.error != Error::None) return ErrorAnswer(r.envelope.error, r.envelope.action);
    if (r.envelope.action == "change-public-keys")
        return sessions_.ChangeKeys(connection, r.envelope);
    // Actions we do not offer are told so before anything is opened.
    using Action = std::string (BrowserProtocol::*)(const Request&);
    static const std::map<std::string, Action, std::less<>> actions = {
        {"get-databasehash", &BrowserProtocol::DatabaseHash},
        {"associate", &BrowserProtocol::Associate},
        {"test-associate", &BrowserProtocol::TestAssociate},
        {"get-logins", &BrowserProtocol::GetLogins},
        {"get-totp", &BrowserProtocol::GetTotp},
        {"set-login", &BrowserProtocol::SetLogin},
        {"generate-password", &BrowserProtocol::GeneratePassword},
        {"lock-database", &BrowserProtocol::LockDatabase},
        {"get-database-groups", &BrowserProtocol::GetGroups},
        {"create-new-group", &BrowserProtocol::CreateGroup},
    };
    const auto action = actions.find(r.envelope.action);
    if (action == actions.end()) return ErrorAnswer(Error::IncorrectAction, r.envelope.action);
    r.opened = sessions_.Open(connection, r.envelope);
    if (r.opened.error != Error::None) return Refused(r, r.opened.error);
    std::string reply = (this->*(action->second))(r);
    // An answer the browser would drop, and the connection with it: never
    // sent (the long lists cut themselves to fit before they get here).
    if (reply.size() > kMaxAnswerBytes) return Refused(r, Error::IncorrectAction);
    return reply;
}

std::string BrowserProtocol::Sealed(const Request& r, Json answer) const {
    return sessions_.Seal(r.connection, r.envelope.clientId, r.envelope.action, r.opened.nonce,
                          std::move(answer));
}

std::string BrowserProtocol::Refused(const Request& r, Error code) const {
    return ErrorAnswer(code, r.envelope.action);
}

ardeko::clsPW* BrowserProtocol::OpenFile(bool unlock) {
    if (!host_.File()) return nullptr;
    if (host_.Locked() && !(unlock && host_.UnlockOnRequest())) return nullptr;
    // The question ran the program's events: the file may have gone.
    ardeko::clsPW* file = host_.File();
    return file && !host_.Locked() ? file : nullptr;
}

std::string BrowserProtocol::FileHash(ardeko::clsPW& file) {
    const std::string& id = file.EnsureFileId();
    unsigned char digest[ardeko::crypto::kSha256Bytes];
    ardeko::crypto::Sha256(digest, id.empty() ? "legacy:" + file.Filename() : id);
    return Hex(digest, sizeof digest);
}

std::string BrowserProtocol::GeneratePassword(const Request& r) {
    return Sealed(r, {{"password", host_.GeneratePassword()}});
}

std::string BrowserProtocol::LockDatabase(const Request& r) {
    // The extension takes "not opened" as the lock done; the signal follows.
    if (!host_.File() || host_.Locked() || host_.Lock())
        return Refused(r, Error::DatabaseNotOpened);
    return Refused(r, Error::Cancelled);
}

} // namespace qvs::browser
