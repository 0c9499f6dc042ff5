// The browsers' manifests and the options page that turns them on: what a
// browser reads from them, another program's manifest set aside and put
// back untouched and asked about when its browser is ticked, a folder that
// cannot be written leaving the browser off, the answers' options stored
// under "Browser", and the open file's connections removed as an edit.
#include "tests/frame/modal_script.h"
#include "tests/frame/store_fixture.h"

#include "dialogs/options/browser_manifests.h"
#include "dialogs/options/browser_page.h"
#include "dialogs/options/frm_options.h"
#include "frame/frm_message.h"
#include "frame/language.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "frame/settings_store.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

using namespace qvs;

namespace {

const QString kProxy = QStringLiteral("/opt/quorvane/bin/qvs-proxy");
const QByteArray kForeign =
    R"({"name":"org.keepassxc.keepassxc_browser","path":"/usr/bin/other-proxy","type":"stdio"})";

const NativeBrowser& Browser(const char* key) {
    return *FindNativeBrowser(QLatin1String(key));
}

QJsonObject ReadManifest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Plant(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Answers the next message box with its first button (or closes it),
// remembering its text.
void ExpectMessage(ModalScript& script, QString* text, const char* button = nullptr) {
    script.On<frmMessage>([text, button](frmMessage* m) {
        *text = m->findChild<QLabel*>(QStringLiteral("lblMsg"))->text();
        if (button)
            m->findChild<QPushButton*>(QLatin1String(button))->click();
        else
            m->reject();
    });
}

QCheckBox* BrowserBox(frmOptions& w, const char* key) {
    return w.findChild<QCheckBox*>(QStringLiteral("chkBrowser_") + QLatin1String(key));
}

} // namespace

class TestBrowserOptions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QCoreApplication::setApplicationName(QStringLiteral("QVS"));
        QVERIFY(LoadShippedLanguage("ENG"));
    }
    void init() {
        Opt() = DefaultOptions();
        QDir(QDir::home().filePath(QStringLiteral(".mozilla"))).removeRecursively();
        QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).removeRecursively();
        FreshStore();
    }
    void cleanup() { QCOMPARE(ModalDepth(), 0); }

    // Firefox finds the add-on's ID, the Chromium family the extension's
    // origins (the stores' builds; Debian's has the same key), each in its
    // own per-user folder, and both the installed host.
    void manifestContents() {
        const QString firefox = ManifestPath(Browser("firefox"));
        QCOMPARE(firefox,
                 QDir::home().filePath(
                     ".mozilla/native-messaging-hosts/org.keepassxc.keepassxc_browser.json"));
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        QCOMPARE(ManifestPath(Browser("chromium")),
                 config + "/chromium/NativeMessagingHosts/org.keepassxc.keepassxc_browser.json");
        QCOMPARE(ManifestPath(Browser("brave")),
                 config + "/BraveSoftware/Brave-Browser/NativeMessagingHosts/"
                          "org.keepassxc.keepassxc_browser.json");

        for (const NativeBrowser& browser : NativeBrowsers()) {
            QVERIFY(TurnOn(browser, kProxy).ok);
            const QJsonObject m = ReadManifest(ManifestPath(browser));
            QCOMPARE(m.value("name").toString(), QStringLiteral("org.keepassxc.keepassxc_browser"));
            QCOMPARE(m.value("type").toString(), QStringLiteral("stdio"));
            QCOMPARE(m.value("path").toString(), kProxy);
            QCOMPARE(CurrentManifest(browser), ManifestState::Ours);
            if (browser.chromium) {
                QVERIFY(!m.contains("allowed_extensions"));
                const QJsonArray origins = m.value("allowed_origins").toArray();
                QVERIFY(origins.contains(
                    QStringLiteral("chrome-extension://oboonakemofpalcgghocfoadofidjkkk/")));
                for (const QJsonValue& origin : origins)
                    QVERIFY(QRegularExpression(QStringLiteral("^chrome-extension://[a-p]{32}/$"))
                                .match(origin.toString())
                                .hasMatch());
            } else {
                QVERIFY(!m.contains("allowed_origins"));
                QCOMPARE(m.value("allowed_extensions").toArray(),
                         QJsonArray{QStringLiteral("keepassxc-browser@keepassxc.org")});
            }
        }
        QVERIFY(TurnOff(Browser("firefox")).ok);
        QVERIFY(!QFile::exists(firefox));
        QCOMPARE(CurrentManifest(Browser("firefox")), ManifestState::None);
    }

    // Another program's manifest waits beside ours, byte for byte, and is
    // back when ours goes; one that is in place while ours is off is left
    // alone.
    void foreignManifestKeptAndRestored() {
        const NativeBrowser& chromium = Browser("chromium");
        const QString path = ManifestPath(chromium);
        Plant(path, kForeign);
        QCOMPARE(CurrentManifest(chromium), ManifestState::Foreign);
        ManifestChange change = TurnOn(chromium, kProxy);
        QVERIFY(change.ok && change.foreignSetAside);
        QCOMPARE(CurrentManifest(chromium), ManifestState::Ours);
        QCOMPARE(Bytes(SetAsidePath(chromium)), kForeign);
        change = TurnOn(chromium, kProxy); // applied again: nothing more set aside
        QVERIFY(change.ok && !change.foreignSetAside);
        QCOMPARE(Bytes(SetAsidePath(chromium)), kForeign);

        change = TurnOff(chromium);
        QVERIFY(change.ok && change.foreignRestored);
        QCOMPARE(Bytes(path), kForeign);
        QVERIFY(!QFile::exists(SetAsidePath(chromium)));
        change = TurnOff(chromium);
        QVERIFY(change.ok && !change.foreignRestored);
        QCOMPARE(Bytes(path), kForeign);
    }

    // The page turns browsers on and off through their manifests and
    // stores its choices in the group "Browser".
    void pageWritesManifestsAndSettings() {
        int notified = 0;
        SetBrowserConnectionObserver([&notified] { ++notified; });
        {
            frmOptions w;
            QVERIFY(w.SSTab1()->findChild<QWidget*>(QStringLiteral("BROWSER")));
            auto* unlock = w.findChild<QCheckBox*>(QStringLiteral("chkUnlockOnRequest"));
            auto* expired = w.findChild<QCheckBox*>(QStringLiteral("chkNeverExpired"));
            QVERIFY(unlock->isChecked() && !expired->isChecked());
            BrowserBox(w, "firefox")->setChecked(true);
            BrowserBox(w, "chromium")->setChecked(true);
            unlock->setChecked(false);
            expired->setChecked(true);
            QVERIFY(w.Apply());
        }
        QCOMPARE(notified, 1);
        QCOMPARE(Opt().BrowserHosts, QStringLiteral("firefox chromium"));
        QCOMPARE(CurrentManifest(Browser("firefox")), ManifestState::Ours);
        QCOMPARE(CurrentManifest(Browser("chromium")), ManifestState::Ours);
        QCOMPARE(CurrentManifest(Browser("brave")), ManifestState::None);
        {
            const SettingsStore stored(QStringLiteral("Browser"));
            QVERIFY(!stored.ReadFlag(QStringLiteral("UnlockOnRequest"), true));
            QVERIFY(stored.ReadFlag(QStringLiteral("NeverExpired"), false));
        }
        LoadOptions();
        QCOMPARE(Opt().BrowserHosts, QStringLiteral("firefox chromium"));
        QVERIFY(!Opt().BrowserUnlockOnRequest);

        frmOptions again;
        QVERIFY(BrowserBox(again, "chromium")->isChecked());
        BrowserBox(again, "chromium")->setChecked(false);
        QVERIFY(again.Apply());
        QCOMPARE(Opt().BrowserHosts, QStringLiteral("firefox"));
        QCOMPARE(CurrentManifest(Browser("chromium")), ManifestState::None);
        SetBrowserConnectionObserver({});
    }

    // The user hears of another program's manifest set aside; a browser
    // whose folder cannot be written stays off, and says so.
    void pageSaysWhatHappened() {
        Plant(ManifestPath(Browser("brave")), kForeign);
        // A file where the folder should be: not even root can write there.
        Plant(qEnvironmentVariable("XDG_CONFIG_HOME") + "/vivaldi", "x");
        frmOptions w;
        BrowserBox(w, "brave")->setChecked(true);
        BrowserBox(w, "vivaldi")->setChecked(true);
        QString setAside, failed;
        ModalScript script;
        ExpectMessage(script, &setAside);
        ExpectMessage(script, &failed);
        script.Start();
        QVERIFY(w.Apply());
        QVERIFY(script.Done());
        QVERIFY2(setAside.contains(QStringLiteral("Brave")), qPrintable(setAside));
        QVERIFY2(failed.contains(QStringLiteral("Vivaldi")), qPrintable(failed));
        QCOMPARE(Opt().BrowserHosts, QStringLiteral("brave"));
    }

    // Ticking a browser whose manifest is another program's asks first,
    // before anything is written: which file, which program, where it is
    // kept. No leaves the box unticked; after Yes, applying sets the file
    // aside without saying so a second time.
    void foreignManifestAskedWhenTicked() {
        const NativeBrowser& chromium = Browser("chromium");
        const QString path = ManifestPath(chromium);
        Plant(path, kForeign);
        frmOptions w;
        QCheckBox* box = BrowserBox(w, "chromium");
        QString question;
        ModalScript no;
        ExpectMessage(no, &question, "cmdNo");
        no.Start();
        box->click();
        QVERIFY(no.Done());
        QVERIFY(!box->isChecked());
        for (const QString& part :
             {QStringLiteral("Chromium"), path, QStringLiteral("/usr/bin/other-proxy"),
              QStringLiteral("\".quorvane-set-aside\" added")})
            QVERIFY2(question.contains(part), qPrintable(question));

        ModalScript yes;
        ExpectMessage(yes, &question, "cmdOK");
        yes.Start();
        box->click();
        QVERIFY(yes.Done());
        QVERIFY(box->isChecked());
        QCOMPARE(Bytes(path), kForeign);
        QString said;
        ModalScript after;
        ExpectMessage(after, &said);
        after.Start();
        QVERIFY(w.Apply());
        QVERIFY2(said.isEmpty(), qPrintable(said));
        QCOMPARE(CurrentManifest(chromium), ManifestState::Ours);
        QCOMPARE(Bytes(SetAsidePath(chromium)), kForeign);
        // Our own manifest in place: unticking and ticking again asks nothing.
        box->click();
        box->click();
        QVERIFY(box->isChecked());
    }

    // A manifest that names no readable program is still someone else's:
    // the question says so; what it quotes from the file stays one line,
    // read in the order it is written.
    void foreignManifestWithoutProgram() {
        Plant(ManifestPath(Browser("firefox")), "not a manifest");
        Plant(ManifestPath(Browser("brave")),
              R"({"path":"/opt/x\n\nQVS checked this program and trusts it.\u202efdp.exe"})");
        frmOptions w;
        QString unnamed, oddName;
        ModalScript script;
        ExpectMessage(script, &unnamed, "cmdOK");
        ExpectMessage(script, &oddName, "cmdNo");
        script.Start();
        BrowserBox(w, "firefox")->click();
        BrowserBox(w, "brave")->click();
        QVERIFY(script.Done());
        QVERIFY(BrowserBox(w, "firefox")->isChecked());
        QVERIFY(!BrowserBox(w, "brave")->isChecked());
        QVERIFY2(unnamed.contains(QStringLiteral("names no program")), qPrintable(unnamed));
        QVERIFY2(oddName.contains(
                     QStringLiteral("/opt/x??QVS checked this program and trusts it.?fdp.exe")),
                 qPrintable(oddName));
    }

    // The open file's connections, by name; Remove asks, then changes the
    // file as an edit does.
    void connectionsListedAndRemoved() {
        ardeko::clsPW& store = FreshStore();
        store.NewFile();
        QVERIFY(store.AddBrowserLink("Firefox at home", "a2V5IG9mIHRoZSBicm93c2Vy"));
        QVERIFY(store.AddBrowserLink("Laptop", "YW5vdGhlciBrZXkgb2YgYSBicm93c2Vy"));
        store.SaveFile(QDir::home().filePath(QStringLiteral("links.QVS")).toStdString(), false,
                       false);
        frmOptions w;
        QTreeWidget* list = w.BrowserPage()->Connections();
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("Laptop"));
        QVERIFY(!w.BrowserPage()->RemoveButton()->isEnabled());
        list->setCurrentItem(list->topLevelItem(1));
        QVERIFY(w.BrowserPage()->RemoveButton()->isEnabled());

        QString question;
        ModalScript no;
        ExpectMessage(no, &question, "cmdNo");
        no.Start();
        w.BrowserPage()->RemoveButton()->click();
        QVERIFY(question.contains(QStringLiteral("\"Laptop\"")));
        QCOMPARE(store.BrowserLinks().size(), std::size_t(2));

        ModalScript yes;
        ExpectMessage(yes, &question, "cmdOK");
        yes.Start();
        w.BrowserPage()->RemoveButton()->click();
        QCOMPARE(store.BrowserLinks().size(), std::size_t(1));
        QCOMPARE(store.BrowserLinks().front().name, std::string("Firefox at home"));
        QVERIFY(store.NotSaved());
        QCOMPARE(list->topLevelItemCount(), 1);
    }
};

QTEST_MAIN(TestBrowserOptions)
#include "tst_browser_options.moc"
