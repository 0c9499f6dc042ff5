// The browser protocol as QVS runs it: the program's open file and its lock,
// the settings, and the program's own dialogs, answered as a person would,
// with the extension's side talking through qvs-proxy.
#include "tests/app/file_commands_fixture.h"
#include "tests/browser/extension_client.h"
#include "tests/browser/proxy_browser.h"
#include "tests/frame/store_fixture.h"

#include "app/file_commands.h"
#include "app/lock_controller.h"
#include "browser/browser_filling.h"
#include "browser/browser_server.h"
#include "browser/program_host.h"
#include "browser/text_ids.h"
#include "frame/settings_store.h"

#include <QInputDialog>
#include <QPushButton>

#include <memory>

using namespace qvs;
using namespace qvs::testing;

namespace {

const QString kPassword = QStringLiteral("Pässword-17");
const char kSite[] = "https://www.harbour.example/login";

void ClickLabelled(QWidget* window, const QString& label) {
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (button->isVisible() && button->text().remove(u'&') == label) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    QFAIL(qPrintable(QStringLiteral("no button %1").arg(label)));
}

void AnswerName(QInputDialog* dialog, const QString& name) {
    dialog->setTextValue(name);
    dialog->accept();
}

// The server is made before the program's protocol can be given it.
struct ToProtocol : browser::Requests {
    browser::Requests* protocol = nullptr;
    void Handle(browser::ConnectionId id, const QByteArray& json, Answer answer) override {
        protocol->Handle(id, json, std::move(answer));
    }
    void Closed(browser::ConnectionId id) override { protocol->Closed(id); }
};

// The program with a format-2 file open, the socket listening, and one
// browser started as the extension starts qvs-proxy.
struct RunningProgram {
    FakeMainWindow main;
    ToProtocol toProtocol;
    browser::BrowserServer server{toProtocol};
    std::unique_ptr<Browser> browser;
    ExtensionClient client{[this](const std::string& json) {
        browser->Send(QByteArray::fromStdString(json));
        // A signal may come first; the answer is what the client waits for.
        for (QJsonObject next = browser->Next(); !next.isEmpty(); next = browser->Next()) {
            const QString action = next.value(QStringLiteral("action")).toString();
            if (!action.startsWith(QStringLiteral("database-"))) return browser->raw.toStdString();
            heard.append(action);
        }
        return std::string();
    }};
    QStringList heard; // the signals that came unasked
    QTemporaryDir folder;

    QString WriteFile() {
        ardeko::clsPW file;
        file.NewFile();
        file.SetFilePW(kPassword.toStdString());
        ardeko::T_Password harbour;
        harbour.service = "Harbour Bank";
        harbour.URL_Access = "https://harbour.example/";
        harbour.User = "marta";
        harbour.pw = "Tide-Pool-4417!";
        const QString path = folder.filePath(QStringLiteral("logins.qvs"));
        if (!file.PWAdd(harbour) || !file.SaveFile(path.toStdString(), false))
            qFatal("cannot write the test file");
        return path;
    }

    RunningProgram() {
        toProtocol.protocol = &browser::ConnectBrowserSocket(&server);
        ResetProgram(main);
        // Opened as the user opens a file, so the program knows it as open.
        if (!OpenDataFile(WriteFile(), kPassword)) qFatal("the test file did not open");
        if (!server.Listen()) qFatal("the socket server did not listen");
        browser = std::make_unique<Browser>();
    }
    ~RunningProgram() {
        browser.reset();
        browser::ConnectBrowserSocket(nullptr);
        if (Locking().IsLocked()) Locking().Unlock(kPassword);
    }
    bool Connect(ModalScript& script, const QString& name) {
        script.On<QInputDialog>([name](QInputDialog* d) { AnswerName(d, name); });
        script.Start();
        return client.ChangePublicKeys() && client.Associate().nonceOk;
    }
};

QString Text(int id) {
    return GetLocalText(id);
}

} // namespace

class TestBrowserProgram : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCoreApplication::setApplicationName(QStringLiteral("QVS"));
        QVERIFY(LoadShippedLanguage("ENG"));
    }
    void cleanup() { QCOMPARE(ModalDepth(), 0); }

    void aConnectedSiteIsAskedAboutOnceAndRemembered() {
        RunningProgram qvs;
        ModalScript script;
        QVERIFY(qvs.Connect(script, QStringLiteral("Firefox at home")));
        QVERIFY(script.Done());
        QCOMPARE(qvs.client.ConnectionId(), std::string("Firefox at home"));
        QCOMPARE(Store().BrowserLinks().size(), std::size_t{1});
        QVERIFY(qvs.main.updates > 0); // the window shows the file changed

        ModalScript site;
        QString asked;
        site.On<frmMessage>([&asked](frmMessage* m) {
            asked = MessageText(m);
            ClickLabelled(m, Text(text::kAllowAlways));
        });
        site.Start();
        const auto logins = qvs.client.GetLogins(kSite);
        QVERIFY(site.Done());
        QVERIFY2(asked.contains(QStringLiteral("www.harbour.example")) &&
                     asked.contains(QStringLiteral("Harbour Bank")),
                 qPrintable(asked));
        QCOMPARE(logins.body["entries"].size(), std::size_t{1});
        QCOMPARE(logins.body["entries"][0].value("login", std::string()), std::string("marta"));
        QCOMPARE(Store().SitePermission("Harbour Bank", "www.harbour.example"),
                 std::optional<bool>(true));

        // Remembered: no question the second time; a look-alike gets nothing.
        QCOMPARE(qvs.client.GetLogins(kSite).body["entries"].size(), std::size_t{1});
        QCOMPARE(qvs.client.GetLogins("https://harbour.example.evil.net/").ErrorCode(), 15);
        QCOMPARE(ModalDepth(), 0);
    }

    void theLockIsToldAndTheBrowserMayAskToUnlock() {
        RunningProgram qvs;
        ModalScript connect;
        QVERIFY(qvs.Connect(connect, QStringLiteral("Chromium")));
        QVERIFY(Locking().Lock());
        QCOMPARE(qvs.browser->Next().value(QStringLiteral("action")).toString(),
                 QStringLiteral("database-locked"));

        // The browser asks; the person types the file password.
        ModalScript unlock;
        unlock.On<frmFilePW>([](frmFilePW* w) { TypePassword(w, kPassword); });
        unlock.On<frmMessage>([](frmMessage* m) { ClickLabelled(m, Text(text::kAllowOnce)); });
        unlock.Start();
        const auto logins = qvs.client.Send(
            "get-logins",
            {{"id", qvs.client.ConnectionId()},
             {"url", kSite},
             {"keys", {{{"id", qvs.client.ConnectionId()}, {"key", qvs.client.IdKeyText()}}}}},
            true);
        QVERIFY(unlock.Done());
        QVERIFY(!Locking().IsLocked());
        QCOMPARE(logins.body["entries"].size(), std::size_t{1});
        QVERIFY(qvs.heard.contains(QStringLiteral("database-unlocked")));

        // With the setting off, a locked file answers "locked" and asks nothing.
        SettingsStore().WriteFlag(QString::fromLatin1(browser::kUnlockOnRequestKey), false);
        QVERIFY(Locking().Lock());
        const auto locked = qvs.client.Send("get-databasehash", {}, true);
        QCOMPARE(locked.ErrorCode(), 1);
        QCOMPARE(ModalDepth(), 0);
        SettingsStore().WriteFlag(QString::fromLatin1(browser::kUnlockOnRequestKey), true);
    }

    void aSaveIsConfirmedAndKeepsTheOldPassword() {
        RunningProgram qvs;
        ModalScript connect;
        QVERIFY(qvs.Connect(connect, QStringLiteral("Firefox")));
        const std::string uuid = Store().Password().Find("Harbour Bank")->Id;

        ModalScript refuse;
        refuse.On<frmMessage>([](frmMessage* m) { AnswerNo(m); });
        refuse.Start();
        QVERIFY(qvs.client.SetLogin(kSite, "marta", "Changed-1", uuid).ErrorCode() != 0);
        QVERIFY(refuse.Done());
        QCOMPARE(Store().Password().Find("Harbour Bank")->pw, std::string("Tide-Pool-4417!"));

        ModalScript accept;
        QString asked;
        accept.On<frmMessage>([&asked](frmMessage* m) {
            asked = MessageText(m);
            AnswerYes(m);
        });
        accept.Start();
        QVERIFY(qvs.client.SetLogin(kSite, "marta", "Changed-2", uuid).nonceOk);
        QVERIFY(accept.Done());
        QVERIFY2(asked.contains(QStringLiteral("Harbour Bank")), qPrintable(asked));
        const ardeko::T_Password* saved = Store().Password().Find("Harbour Bank");
        QCOMPARE(saved->pw, std::string("Changed-2"));
        QVERIFY(!saved->History.empty());
        QCOMPARE(saved->History.front().pw, std::string("Tide-Pool-4417!"));
    }
};

QTEST_MAIN(TestBrowserProgram)
#include "tst_browser_program.moc"
