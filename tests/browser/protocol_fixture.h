// The protocol in the same process as the test, on a format-2 store of the
// test's, with a fake of the program around it (lock, settings) and of the
// user (answers chosen ahead, questions recorded), and an extension client
// talking to it.
#pragma once

#include "browser/browser_protocol.h"
#include "tests/browser/extension_client.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qvs::testing {

class FakeHost : public browser::BrowserHost {
public:
    ardeko::clsPW* file = nullptr;
    bool locked = false;
    bool unlockWhenAsked = false; // the user gives the password when asked
    bool neverExpired = false;
    int unlockQuestions = 0;
    std::vector<std::string> changed;

    ardeko::clsPW* File() override { return file; }
    bool Locked() const override { return locked; }
    bool Lock() override {
        locked = true;
        return true;
    }
    bool UnlockOnRequest() override {
        ++unlockQuestions;
        if (unlockWhenAsked) locked = false;
        return !locked;
    }
    bool NeverReturnExpired() const override { return neverExpired; }
    void Changed(const std::string& service) override { changed.push_back(service); }
    std::string GeneratePassword() override { return "generated-Pw-1"; }
    std::optional<std::string> CurrentCode(const std::string& stored) override {
        if (stored.empty()) return std::nullopt;
        return std::string("492039");
    }
};

class FakeQuestions : public browser::BrowserQuestions {
public:
    std::optional<std::string> name = std::string("Firefox at home");
    browser::SiteAnswer site = browser::SiteAnswer::AllowOnce;
    bool save = true;
    // What was asked, in order ("name", "site host: services", "save ...", "format").
    std::vector<std::string> asked;
    // Run while a question is open: the program's events go on meanwhile.
    std::function<void()> during;

    std::optional<std::string> NameConnection(const std::vector<std::string>&) override {
        Ask("name");
        return name;
    }
    browser::SiteAnswer AllowSite(const std::string& host,
                                  const std::vector<std::string>& services) override {
        std::string text = "site " + host + ":";
        for (const std::string& s : services)
            text += " " + s;
        Ask(text);
        return site;
    }
    bool ConfirmSave(const std::string& url, const std::string& login,
                     const std::string& service) override {
        Ask("save " + url + " " + login + " " + service);
        return save;
    }
    void OfferFormat2() override { Ask("format"); }

private:
    void Ask(std::string what) {
        asked.push_back(std::move(what));
        if (during) during();
    }
};

struct ProtocolFixture {
    ardeko::clsPW store;
    FakeHost host;
    FakeQuestions questions;
    browser::BrowserProtocol protocol{host, questions};
    browser::ConnectionId connection = 1;
    ExtensionClient client{
        [this](const std::string& json) { return protocol.Reply(connection, json); }};

    ProtocolFixture() {
        store.NewFile();
        store.SetClock([] { return 46000.5; });
        host.file = &store;
    }
    // Keys exchanged and the connection made.
    bool Connect() { return client.ChangePublicKeys() && client.Associate().nonceOk; }
};

} // namespace qvs::testing
