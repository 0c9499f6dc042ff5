// What the protocol needs of the program around it: the open file and its
// lock, the settings of browser filling, the generator and the one-time
// codes (BrowserHost), and the user's answers (BrowserQuestions). QVS sets
// the real ones at start-up; tests give fakes.
#pragma once

#include "store/pw.h"

#include <optional>
#include <string>
#include <vector>

namespace qvs::browser {

class BrowserHost {
public:
    virtual ~BrowserHost() = default;
    // The open file; nullptr when none is open.
    virtual ardeko::clsPW* File() = 0;
    virtual bool Locked() const = 0;
    // Locks the file now; false when it cannot lock (no password).
    virtual bool Lock() = 0;
    // Asks the user for the password (the program comes forward) when the
    // setting lets the browser ask for it; true when the file is unlocked.
    virtual bool UnlockOnRequest() = 0;
    // Whether expired entries are left out of the logins.
    virtual bool NeverReturnExpired() const = 0;
    // After the protocol changed the file (service: the entry it added or
    // changed, "" for a connection or a category): whatever an edit in the
    // program's own windows does next.
    virtual void Changed(const std::string& service) = 0;
    // A new password with the generator's settings.
    virtual std::string GeneratePassword() = 0;
    // The current code of a one-time-code secret as stored; none when it
    // does not parse.
    virtual std::optional<std::string> CurrentCode(const std::string& stored) = 0;
};

// The user's decision on a site asking for an entry.
enum class SiteAnswer { Deny, AllowOnce, AllowAlways };

class BrowserQuestions {
public:
    virtual ~BrowserQuestions() = default;
    // A browser asks to be connected: the name the user gives it, none for
    // Cancel. taken: names of the connections in use.
    virtual std::optional<std::string> NameConnection(const std::vector<std::string>& taken) = 0;
    // A site (host) asks for entries the user has not decided on for it.
    // The answer holds for all of them.
    virtual SiteAnswer AllowSite(const std::string& host,
                                 const std::vector<std::string>& services) = 0;
    // Before set-login writes: a new entry (service empty) or an update of
    // service, for login on the page's address.
    virtual bool ConfirmSave(const std::string& url, const std::string& login,
                             const std::string& service) = 0;
    // A browser asked to connect to a file of the older format: says that
    // browser filling needs format 2 and offers the conversion.
    virtual void OfferFormat2() = 0;
};

} // namespace qvs::browser
