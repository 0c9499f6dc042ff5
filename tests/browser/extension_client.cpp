#include "tests/browser/extension_client.h"

#include <sodium.h>

#include <stdexcept>

namespace qvs::testing {

namespace {

using Json = nlohmann::json;

std::string Text(const Json& j, const char* name) {
    const auto it = j.find(name);
    return it != j.end() && it->is_string() ? it->get<std::string>() : std::string();
}

} // namespace

int ExtensionClient::Reply::ErrorCode() const {
    const auto it = body.find("errorCode");
    if (it == body.end()) return 0;
    if (it->is_number_integer()) return it->get<int>();
    return it->is_string() ? std::stoi(it->get<std::string>()) : -1;
}

namespace {

// sodium_malloc aborts before libsodium was started.
unsigned char* SecretKeyBytes() {
    if (sodium_init() < 0) throw std::runtime_error("libsodium");
    return static_cast<unsigned char*>(sodium_malloc(crypto_box_SECRETKEYBYTES));
}

} // namespace

ExtensionClient::ExtensionClient(Transport transport)
    : transport_(std::move(transport)), secret_(SecretKeyBytes()) {
    if (!secret_) throw std::runtime_error("libsodium");
    unsigned char idSecret[crypto_box_SECRETKEYBYTES];
    crypto_box_keypair(idPublic_.data(), idSecret);
    sodium_memzero(idSecret, sizeof idSecret);
    idKeyText_ = Base64(idPublic_.data(), idPublic_.size());
}

ExtensionClient::~ExtensionClient() {
    sodium_free(secret_);
}

ExtensionClient::NonceBytes ExtensionClient::RandomNonce() {
    NonceBytes n{};
    randombytes_buf(n.data(), n.size());
    return n;
}

ExtensionClient::NonceBytes ExtensionClient::Incremented(NonceBytes nonce) {
    // Written out rather than sodium_increment: the host uses that one.
    for (unsigned char& b : nonce)
        if (++b != 0) break;
    return nonce;
}

std::string ExtensionClient::Base64(const unsigned char* bytes, std::size_t n) {
    std::string out(sodium_base64_encoded_len(n, sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(out.data(), out.size(), bytes, n, sodium_base64_VARIANT_ORIGINAL);
    out.pop_back();
    return out;
}

std::optional<std::string> ExtensionClient::FromBase64(const std::string& text) {
    std::string out(text.size(), '\0');
    std::size_t length = 0;
    if (sodium_base642bin(reinterpret_cast<unsigned char*>(out.data()), out.size(), text.data(),
                          text.size(), nullptr, &length, nullptr,
                          sodium_base64_VARIANT_ORIGINAL) != 0)
        return std::nullopt;
    out.resize(length);
    return out;
}

std::string ExtensionClient::PublicKeyText() const {
    return Base64(public_.data(), public_.size());
}

std::string ExtensionClient::IdKeyText() const {
    return idKeyText_;
}

void ExtensionClient::SetConnection(const std::string& id, const std::string& idKey) {
    connectionId_ = id;
    idKeyText_ = idKey;
}

bool ExtensionClient::ChangePublicKeys() {
    crypto_box_keypair(public_.data(), secret_);
    unsigned char id[24];
    randombytes_buf(id, sizeof id);
    clientId_ = Base64(id, sizeof id);
    const NonceBytes nonce = RandomNonce();
    const Json request = {{"action", "change-public-keys"},
                          {"publicKey", PublicKeyText()},
                          {"nonce", Base64(nonce.data(), nonce.size())},
                          {"clientID", clientId_}};
    const Json answer = Json::parse(transport_(request.dump()), nullptr, false);
    const NonceBytes next = Incremented(nonce);
    if (!answer.is_object() || Text(answer, "success") != "true" ||
        Text(answer, "nonce") != Base64(next.data(), next.size()))
        return false;
    const auto key = FromBase64(Text(answer, "publicKey"));
    if (!key || key->size() != hostKey_.size()) return false;
    std::copy(key->begin(), key->end(), hostKey_.begin());
    return true;
}

std::string ExtensionClient::Box(const std::string& plain, const NonceBytes& nonce) const {
    std::string boxed(plain.size() + crypto_box_MACBYTES, '\0');
    if (crypto_box_easy(reinterpret_cast<unsigned char*>(boxed.data()),
                        reinterpret_cast<const unsigned char*>(plain.data()), plain.size(),
                        nonce.data(), hostKey_.data(), secret_) != 0)
        boxed.clear(); // a host key of small order: nothing to send
    return boxed;
}

std::string ExtensionClient::Request(const std::string& action, const Json& fields,
                                     const NonceBytes& nonce, bool triggerUnlock) const {
    Json inner = fields;
    inner["action"] = action;
    const std::string boxed = Box(inner.dump(), nonce);
    Json request = {
        {"action", action},
        {"message", Base64(reinterpret_cast<const unsigned char*>(boxed.data()), boxed.size())},
        {"nonce", Base64(nonce.data(), nonce.size())},
        {"clientID", clientId_}};
    if (triggerUnlock) request["triggerUnlock"] = "true";
    return request.dump();
}

ExtensionClient::Reply ExtensionClient::SendRaw(const std::string& request,
                                                const NonceBytes& nonce) {
    Reply reply;
    reply.raw = transport_(request);
    reply.body = Json::parse(reply.raw, nullptr, false);
    if (!reply.body.is_object()) return reply;
    const std::string message = Text(reply.body, "message");
    if (message.empty()) return reply;
    const NonceBytes next = Incremented(nonce);
    const std::string expected = Base64(next.data(), next.size());
    const auto boxed = FromBase64(message);
    if (!boxed || boxed->size() < crypto_box_MACBYTES) return reply;
    std::string plain(boxed->size() - crypto_box_MACBYTES, '\0');
    if (crypto_box_open_easy(reinterpret_cast<unsigned char*>(plain.data()),
                             reinterpret_cast<const unsigned char*>(boxed->data()), boxed->size(),
                             next.data(), hostKey_.data(), secret_) != 0)
        return reply;
    reply.sealed = true;
    const bool outerOk = Text(reply.body, "nonce") == expected;
    reply.body = Json::parse(plain, nullptr, false);
    reply.nonceOk = outerOk && reply.body.is_object() && Text(reply.body, "nonce") == expected;
    return reply;
}

ExtensionClient::Reply ExtensionClient::Send(const std::string& action, Json fields,
                                             bool triggerUnlock) {
    const NonceBytes nonce = RandomNonce();
    return SendRaw(Request(action, fields, nonce, triggerUnlock), nonce);
}

ExtensionClient::Reply ExtensionClient::Associate() {
    Reply r = Send("associate", {{"key", PublicKeyText()}, {"idKey", idKeyText_}}, true);
    if (r.sealed && r.nonceOk) connectionId_ = Text(r.body, "id");
    return r;
}

ExtensionClient::Reply ExtensionClient::TestAssociate() {
    return Send("test-associate", {{"id", connectionId_}, {"key", idKeyText_}});
}

ExtensionClient::Reply ExtensionClient::GetLogins(const std::string& url) {
    return Send("get-logins",
                {{"id", connectionId_},
                 {"url", url},
                 {"keys", Json::array({{{"id", connectionId_}, {"key", idKeyText_}}})}});
}

ExtensionClient::Reply ExtensionClient::SetLogin(const std::string& url, const std::string& login,
                                                 const std::string& password,
                                                 const std::string& uuid, const Json& more) {
    Json fields = more;
    fields.update(Json{{"id", connectionId_},
                       {"url", url},
                       {"submitUrl", url},
                       {"login", login},
                       {"password", password}});
    if (!uuid.empty()) fields["uuid"] = uuid;
    return Send("set-login", fields);
}

} // namespace qvs::testing
