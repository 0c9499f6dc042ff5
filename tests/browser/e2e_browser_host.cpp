// QVS's side of the end-to-end test with a real browser: QVS's own socket
// server and protocol on a data file given by the test, with the user's
// answers given ahead (name the connection, allow the site, save). Edits
// are saved to the file at once, as QVS saves after every edit, so the test
// reads what a browser saved with qvs-cli.
//
//   e2e_browser_host FILE [--site once|always|deny] [--save yes|no]
//
// The file's password is the first line of standard input. Later lines are
// commands: "lock" and "unlock" (the file locks or unlocks as in QVS, the
// browsers are told), "quit". What the user was asked and what was saved
// goes to standard output, one line each; "ready" once the socket listens.
#include "browser/browser_server.h"
#include "tests/browser/protocol_fixture.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>

#include <cstdio>
#include <iostream>
#include <string>

using namespace qvs;

namespace {

void Say(const std::string& line) {
    std::cout << line << std::endl;
}

// Saves after each change, as the program does after an edit.
class SavingHost : public testing::FakeHost {
public:
    void Changed(const std::string& service) override {
        FakeHost::Changed(service);
        Say(file->SaveFile("", false) ? "saved " + service : "not saved: " + file->ErrDescr());
    }
};

// Says which action arrived and how it was answered (the error code of a
// refusal), so that the test knows when the browser has had its answer.
class TellingRequests : public browser::Requests {
public:
    explicit TellingRequests(browser::Requests& protocol) : protocol_(protocol) {}

    void Handle(browser::ConnectionId connection, const QByteArray& json, Answer answer) override {
        const std::string action = Field(json, "action");
        Say("request " + action);
        protocol_.Handle(connection, json, [answer, action](const QByteArray& reply) {
            const std::string error = Field(reply, "errorCode");
            Say("answered " + action + (error.empty() ? "" : " error " + error));
            answer(reply);
        });
    }
    void Closed(browser::ConnectionId connection) override { protocol_.Closed(connection); }

private:
    static std::string Field(const QByteArray& json, const char* name) {
        const QJsonValue value = QJsonDocument::fromJson(json).object().value(QLatin1String(name));
        return value.isDouble() ? std::to_string(value.toInt()) : value.toString().toStdString();
    }

    browser::Requests& protocol_;
};

struct Answers {
    browser::SiteAnswer site = browser::SiteAnswer::AllowOnce;
    bool save = true;
};

bool ReadAnswers(const QStringList& args, Answers& answers) {
    for (int i = 2; i + 1 < args.size(); i += 2) {
        const QString& value = args[i + 1];
        if (args[i] == u"--site" && value == u"always")
            answers.site = browser::SiteAnswer::AllowAlways;
        else if (args[i] == u"--site" && value == u"deny")
            answers.site = browser::SiteAnswer::Deny;
        else if (args[i] == u"--save")
            answers.save = value == u"yes";
        else if (!(args[i] == u"--site" && value == u"once"))
            return false;
    }
    return true;
}

// One command from the test; false when the host is to end.
bool Obey(const std::string& command, SavingHost& host, browser::BrowserProtocol& protocol) {
    if (command == "lock" || command == "unlock") {
        host.locked = command == "lock";
        protocol.FileAvailable(!host.locked);
        Say(command + "ed");
        return true;
    }
    return command != "quit";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    Answers answers;
    if (args.size() < 2 || !ReadAnswers(args, answers)) {
        std::cerr << "usage: e2e_browser_host FILE [--site once|always|deny] [--save yes|no]\n";
        return 2;
    }
    std::string password;
    std::getline(std::cin, password);
    ardeko::clsPW store;
    if (!store.LoadFile(args[1].toStdString(), password)) {
        std::cerr << "cannot open the file: " << store.ErrDescr() << "\n";
        return 1;
    }
    SavingHost host;
    host.file = &store;
    testing::FakeQuestions questions;
    questions.name = std::string("Firefox (end to end)");
    questions.site = answers.site;
    questions.save = answers.save;
    questions.during = [&questions] { Say("asked " + questions.asked.back()); };
    browser::BrowserProtocol protocol(host, questions);
    TellingRequests telling(protocol);
    browser::BrowserServer server(telling);
    protocol.SetBroadcast(&server);
    if (!server.Listen()) {
        std::cerr << "cannot listen at " << server.Path().toStdString() << "\n";
        return 1;
    }
    QSocketNotifier input(fileno(stdin), QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        std::string command;
        if (!std::getline(std::cin, command) || !Obey(command, host, protocol)) app.quit();
    });
    Say("ready");
    return app.exec();
}
