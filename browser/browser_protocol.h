// The extension's protocol in QVS: each message read and opened in its
// session, the action done on the open file, the answer sealed. The user is
// asked through BrowserQuestions, whose dialogs are modal: the program's
// events (and other browsers' messages) run meanwhile, so everything an
// answer rests on is looked at again once a question returns.
#pragma once

#include "browser/browser_host.h"
#include "browser/browser_requests.h"
#include "browser/message_reader.h"
#include "store/site_index.h"

#include <cstdint>
#include <string>

namespace qvs::browser {

class BrowserProtocol : public Requests {
public:
    BrowserProtocol(BrowserHost& host, BrowserQuestions& questions);

    void Handle(ConnectionId connection, const QByteArray& json, Answer answer) override;
    void Closed(ConnectionId connection) override;

    // Where the signals go; nullptr: nowhere. Not owned.
    void SetBroadcast(Broadcast* broadcast) { broadcast_ = broadcast; }
    // The file was locked or closed (false), unlocked or opened (true):
    // every connected browser is told, and asks for the file's hash again.
    void FileAvailable(bool available);

    // The answer to one message, as Handle gives it (for tests and the fuzzer).
    std::string Reply(ConnectionId connection, std::string_view json);

private:
    struct Request {
        ConnectionId connection = 0;
        Envelope envelope;
        Opened opened;
        std::string Text(const char* name) const;
    };

    std::string Dispatch(const Request& r);
    std::string Sealed(const Request& r, Json answer) const;
    std::string Refused(const Request& r, Error code) const;
    // The open, unlocked file, asking for the password when the request may
    // (unlock); nullptr when there is none.
    ardeko::clsPW* OpenFile(bool unlock);
    // The name of the file for the extension: SHA-256 (hex) of its
    // identifier; for a legacy file, which cannot be connected, of its path.
    static std::string FileHash(ardeko::clsPW& file);

    std::string DatabaseHash(const Request& r);
    std::string Associate(const Request& r);
    std::string TestAssociate(const Request& r);
    std::string GetLogins(const Request& r);
    std::string GetTotp(const Request& r);
    std::string SetLogin(const Request& r);
    std::string GeneratePassword(const Request& r);
    std::string LockDatabase(const Request& r);
    std::string GetGroups(const Request& r);
    std::string CreateGroup(const Request& r);

    // The connection a get-logins names among its keys; "" when none is stored.
    static std::string KnownConnection(ardeko::clsPW& file, const Json& keys);
    // The services of the entries for the page the user let the site have,
    // asking about those not decided yet; error set when none is left.
    std::vector<std::string> AllowedEntries(const std::string& url, Error& error);
    const ardeko::SiteIndex& Index(const ardeko::clsPW& file);
    // The identifier the extension knows an entry by, and the entry for one.
    static std::string Uuid(const ardeko::T_Password& entry);
    static const ardeko::T_Password* EntryWithUuid(const ardeko::clsPW& file,
                                                   std::string_view uuid);

    BrowserHost& host_;
    BrowserQuestions& questions_;
    Broadcast* broadcast_ = nullptr;
    Sessions sessions_;
    ardeko::SiteIndex index_;
    const ardeko::clsPW* indexedFile_ = nullptr;
    std::uint64_t indexedRevision_ = 0;
};

} // namespace qvs::browser
