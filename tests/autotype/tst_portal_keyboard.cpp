// Typing through the desktop portal, against a stand-in RemoteDesktop portal
// on a private session bus that records every call: the desktop asks once and
// later typing uses the stored restore token, the key symbols are exactly the
// text, the session is closed after typing, and a refused consent, a missing
// portal, a too old one and a failing one each end with their own result and
// nothing typed half-way; a failure before the first key says nothing was
// typed.
#include "autotype/portal_backend.h"
#include "autotype/portal_keyboard.h"
#include "autotype/text_ids.h"

#include "frame/settings_store.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>

using namespace qvs;

namespace {

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// Nothing else may answer for the portal: a bus without service activation.
constexpr char kBusConfig[] = "<busconfig>\n"
                              "  <type>session</type>\n"
                              "  <listen>unix:tmpdir=/tmp</listen>\n"
                              "  <auth>EXTERNAL</auth>\n"
                              "  <policy context=\"default\">\n"
                              "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                              "    <allow eavesdrop=\"true\"/>\n"
                              "    <allow own=\"*\"/>\n"
                              "  </policy>\n"
                              "</busconfig>\n";

std::vector<x11::Stroke> Strokes(std::initializer_list<x11::Stroke> strokes) {
    return strokes;
}

x11::Stroke Text(const char32_t* text) {
    return {x11::Stroke::Kind::Text, text};
}

} // namespace

class FakeSession : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Session")

public:
    int closed = 0;

public slots:
    void Close() { ++closed; }
};

class FakePortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.RemoteDesktop")
    Q_PROPERTY(uint version MEMBER version)
    Q_PROPERTY(uint AvailableDeviceTypes MEMBER deviceTypes)

public:
    explicit FakePortal(QDBusConnection bus) : bus_(std::move(bus)) {}

    uint version = 2;
    uint deviceTypes = 3; // keyboard and pointer
    bool consent = true;  // the user's answer to the question
    int failKeyEventsAfter = -1;
    QString failing;        // a method that answers with an error
    uint startResponse = 0; // Start's response when the user agreed

    QStringList calls;
    QVariantMap selected; // the options of the last SelectDevices
    int questions = 0;    // how often the user was asked
    QList<int> keyEvents; // key symbol, negative when released
    QString issuedToken;
    int tokensIssued = 0;
    FakeSession session;

    void Reset() {
        calls.clear();
        selected.clear();
        keyEvents.clear();
        questions = 0;
        session.closed = 0;
    }

public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options) {
        calls << QStringLiteral("CreateSession");
        if (Fails(QStringLiteral("CreateSession"))) return {};
        const QString path = kPortalPath + QStringLiteral("/session/") + Sender() + u'/' +
                             options.value(QStringLiteral("session_handle_token")).toString();
        bus_.unregisterObject(path);
        bus_.registerObject(path, &session, QDBusConnection::ExportAllSlots);
        return Respond(options, 0, {{QStringLiteral("session_handle"), path}});
    }
    QDBusObjectPath SelectDevices(const QDBusObjectPath&, const QVariantMap& options) {
        calls << QStringLiteral("SelectDevices");
        if (Fails(QStringLiteral("SelectDevices"))) return {};
        selected = options;
        return Respond(options, 0, {});
    }
    QDBusObjectPath Start(const QDBusObjectPath&, const QString&, const QVariantMap& options) {
        calls << QStringLiteral("Start");
        const QString restore = selected.value(QStringLiteral("restore_token")).toString();
        if (issuedToken.isEmpty() || restore != issuedToken) {
            ++questions;
            if (!consent) return Respond(options, 1, {});
        }
        if (startResponse != 0) return Respond(options, startResponse, {});
        issuedToken = QStringLiteral("token-%1").arg(++tokensIssued);
        return Respond(
            options, 0,
            {{QStringLiteral("devices"), 1u}, {QStringLiteral("restore_token"), issuedToken}});
    }
    void NotifyKeyboardKeysym(const QDBusObjectPath&, const QVariantMap&, int keysym, uint state) {
        if (failKeyEventsAfter >= 0 && keyEvents.size() >= failKeyEventsAfter) {
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("session was closed"));
            return;
        }
        keyEvents << (state == 1 ? keysym : -keysym);
    }

private:
    bool Fails(const QString& method) {
        if (failing != method) return false;
        sendErrorReply(QDBusError::Failed, QStringLiteral("the portal broke"));
        return true;
    }
    QString Sender() const {
        QString sender = message().service().mid(1);
        return sender.replace(u'.', u'_');
    }
    // The answer comes as a signal after the call's reply, as from the real
    // portal.
    QDBusObjectPath Respond(const QVariantMap& options, uint code, const QVariantMap& results) {
        const QString path = kPortalPath + QStringLiteral("/request/") + Sender() + u'/' +
                             options.value(QStringLiteral("handle_token")).toString();
        QTimer::singleShot(10, this, [this, path, code, results] {
            QDBusMessage response = QDBusMessage::createSignal(
                path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            response << code << results;
            bus_.send(response);
        });
        return QDBusObjectPath(path);
    }

    QDBusConnection bus_;
};

class TestPortalKeyboard : public QObject {
    Q_OBJECT

    std::unique_ptr<QProcess> daemon_;
    std::unique_ptr<FakePortal> fake_;
    QTemporaryDir folder_;

    static portal::TypeResult TypeAndWait(portal::Keyboard& keyboard,
                                          const std::vector<x11::Stroke>& strokes) {
        QSignalSpy finished(&keyboard, &portal::Keyboard::Finished);
        if (!keyboard.Type(strokes)) return portal::TypeResult::Failed;
        if (!finished.wait(10000)) return portal::TypeResult::Failed;
        return finished.takeFirst().at(0).value<portal::TypeResult>();
    }

    static QString StoredToken() {
        return SettingsStore(QString::fromLatin1(portal::kTokenGroup))
            .ReadText(QString::fromLatin1(portal::kTokenKey), QString());
    }

    QDBusConnection FakeBus() { return QDBusConnection(QStringLiteral("fake-portal")); }

    void ServePortal(bool serve) {
        QDBusConnection bus = FakeBus();
        if (serve) {
            QVERIFY(bus.registerObject(kPortalPath, fake_.get(),
                                       QDBusConnection::ExportAllSlots |
                                           QDBusConnection::ExportAllProperties));
            QVERIFY(bus.registerService(kPortalService));
        } else {
            bus.unregisterService(kPortalService);
            bus.unregisterObject(kPortalPath);
        }
    }

private slots:
    void initTestCase() {
        qRegisterMetaType<portal::TypeResult>();
        QVERIFY(folder_.isValid());
        QFile config(folder_.filePath(QStringLiteral("bus.conf")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(kBusConfig);
        config.close();
        daemon_ = std::make_unique<QProcess>();
        daemon_->start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--config-file=") + config.fileName(),
                        QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        QVERIFY2(daemon_->waitForReadyRead(5000), "dbus-daemon did not start");
        const QByteArray address = daemon_->readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address); // before anything opens the bus
        QVERIFY(QDBusConnection::sessionBus().isConnected());
        QDBusConnection bus = QDBusConnection::connectToBus(QString::fromLatin1(address),
                                                            QStringLiteral("fake-portal"));
        QVERIFY(bus.isConnected());
        fake_ = std::make_unique<FakePortal>(bus);
        ServePortal(true);
    }
    void cleanupTestCase() {
        fake_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
        if (!daemon_) return;
        daemon_->kill();
        daemon_->waitForFinished(2000);
    }
    void init() {
        fake_->Reset();
        fake_->version = 2;
        fake_->deviceTypes = 3;
        fake_->consent = true;
        fake_->failKeyEventsAfter = -1;
        fake_->failing.clear();
        fake_->startResponse = 0;
    }

    void asksOnceTypesExactlyAndCloses() {
        portal::Keyboard keyboard;
        const auto strokes = Strokes({Text(U"aB{x}+ü€ñ"),
                                      {x11::Stroke::Kind::Tab, {}},
                                      Text(U"p w"),
                                      {x11::Stroke::Kind::Enter, {}}});
        QCOMPARE(TypeAndWait(keyboard, strokes), portal::TypeResult::Typed);
        QCOMPARE(fake_->calls,
                 (QStringList{QStringLiteral("CreateSession"), QStringLiteral("SelectDevices"),
                              QStringLiteral("Start")}));
        QCOMPARE(fake_->selected.value(QStringLiteral("types")).toUInt(), 1u); // keyboard only
        QCOMPARE(fake_->selected.value(QStringLiteral("persist_mode")).toUInt(), 2u);
        QVERIFY(!fake_->selected.contains(QStringLiteral("restore_token")));
        QCOMPARE(fake_->questions, 1);
        // Key symbols, not key codes: the character itself, whatever Caps Lock
        // or the layout would make of a key; each pressed, then released.
        const QList<int> symbols = {'a',       'B',  '{',    'x', '}', '+', 0xfc,
                                    0x10020ac, 0xf1, 0xff09, 'p', ' ', 'w', 0xff0d};
        QList<int> expected;
        for (int symbol : symbols)
            expected << symbol << -symbol;
        QCOMPARE(fake_->keyEvents, expected);
        QTRY_COMPARE(fake_->session.closed, 1);

        // The token is the user's permission: kept for the user alone.
        QCOMPARE(StoredToken(), QStringLiteral("token-1"));
        const QFileDevice::Permissions mode = QFile::permissions(SettingsFilePath());
        QVERIFY(mode.testFlag(QFileDevice::ReadOwner) && mode.testFlag(QFileDevice::WriteOwner));
        QVERIFY(!(mode & 0x0077)); // nothing for group or others

        // The second typing restores the permission: no new question, and the
        // new token replaces the spent one.
        fake_->Reset();
        QCOMPARE(TypeAndWait(keyboard, Strokes({Text(U"ok")})), portal::TypeResult::Typed);
        QCOMPARE(fake_->selected.value(QStringLiteral("restore_token")).toString(),
                 QStringLiteral("token-1"));
        QCOMPARE(fake_->questions, 0);
        QCOMPARE(fake_->keyEvents, (QList<int>{'o', -'o', 'k', -'k'}));
        QCOMPARE(StoredToken(), QStringLiteral("token-2"));
        QTRY_COMPARE(fake_->session.closed, 1);

        // One typing at a time.
        QSignalSpy finished(&keyboard, &portal::Keyboard::Finished);
        QVERIFY(keyboard.Type(Strokes({Text(U"a")})));
        QVERIFY(!keyboard.Type(Strokes({Text(U"b")})));
        QVERIFY(finished.wait(10000));
        QTest::qWait(100);
        QCOMPARE(finished.size(), 1);
    }

    void refusedConsentTypesNothing() {
        fake_->consent = false;
        fake_->issuedToken = QStringLiteral("revoked"); // the stored one no longer counts
        portal::Keyboard keyboard;
        QCOMPARE(TypeAndWait(keyboard, Strokes({Text(U"secret")})), portal::TypeResult::Refused);
        QCOMPARE(fake_->questions, 1);
        QVERIFY(fake_->keyEvents.isEmpty());
        QTRY_COMPARE(fake_->session.closed, 1);
        QCOMPARE(StoredToken(), QString()); // spent: the next typing asks afresh
    }

    void tooOldPortalTypesNothing() {
        portal::Keyboard keyboard;
        fake_->version = 1; // no restore tokens: it would ask at every typing
        QCOMPARE(TypeAndWait(keyboard, Strokes({Text(U"secret")})), portal::TypeResult::TooOld);
        fake_->version = 2;
        fake_->deviceTypes = 2; // a pointer only
        QCOMPARE(TypeAndWait(keyboard, Strokes({Text(U"secret")})), portal::TypeResult::TooOld);
        QVERIFY(fake_->calls.isEmpty());
        QVERIFY(fake_->keyEvents.isEmpty());
    }

    void portalFailingWhileTypingStopsAndCloses() {
        fake_->failKeyEventsAfter = 3;
        portal::Keyboard keyboard;
        QCOMPARE(TypeAndWait(keyboard, Strokes({Text(U"secret")})), portal::TypeResult::Failed);
        QCOMPARE(fake_->keyEvents.size(), 3); // nothing sent after the failure
        QTRY_COMPARE(fake_->session.closed, 1);
    }

    // Where the portal fails before the first key the user hears that
    // nothing was typed, and at which step, not that typing stopped part-way.
    void portalFailingBeforeTheFirstKeyTypesNothing() {
        portal::Keyboard keyboard;
        fake_->failKeyEventsAfter = 0;
        QCOMPARE(TypeAndWait(keyboard, Strokes({Text(U"secret")})),
                 portal::TypeResult::FirstKeyFailed);
        QTRY_COMPARE(fake_->session.closed, 1);
        fake_->failKeyEventsAfter = 1; // the first press went through
        QCOMPARE(TypeAndWait(keyboard, Strokes({Text(U"secret")})), portal::TypeResult::Failed);
        QCOMPARE(fake_->keyEvents, (QList<int>{'s'}));
        fake_->failKeyEventsAfter = -1;
        for (const char* method : {"CreateSession", "SelectDevices"}) {
            fake_->Reset();
            fake_->failing = QLatin1String(method);
            QCOMPARE(TypeAndWait(keyboard, Strokes({Text(U"secret")})),
                     portal::TypeResult::NoSession);
            QCOMPARE(fake_->calls.last(), QLatin1String(method));
        }
        fake_->Reset();
        fake_->failing.clear();
        fake_->startResponse = 2; // the portal ended the request
        QCOMPARE(TypeAndWait(keyboard, Strokes({Text(U"secret")})), portal::TypeResult::NoSession);
        QVERIFY(fake_->keyEvents.isEmpty());
        QTRY_COMPARE(fake_->session.closed, 1);
        QVERIFY(!StoredToken().isEmpty()); // not spent: the user did not say no
    }

    void missingPortalTypesNothing() {
        ServePortal(false);
        portal::Keyboard keyboard;
        QCOMPARE(TypeAndWait(keyboard, Strokes({Text(U"secret")})), portal::TypeResult::NoPortal);
        QVERIFY(fake_->calls.isEmpty());
        ServePortal(true);
    }

    // The back-end the typing commands reach: the focused window, an answer
    // for every attempt, and the portal's own reason when it failed.
    void backendAnswersEachTypingWithItsReason() {
        auto backend = PortalTypingBackend::Connect();
        QVERIFY(backend);
        QVERIFY(!backend->KnowsWindows());
        QCOMPARE(backend->ActiveWindow(), kFocusedWindow);
        const auto typeAndWait = [&](const KeyStrokes& strokes) {
            std::optional<TypingOutcome> outcome;
            backend->Type(kFocusedWindow, strokes, [&](const TypingOutcome& o) { outcome = o; });
            [&] { QTRY_VERIFY_WITH_TIMEOUT(outcome.has_value(), 10000); }();
            return outcome.value_or(TypingOutcome{qvs::TypeResult::NoDisplay, 0});
        };
        const KeyStrokes login{{KeyStroke::Kind::Text, QStringLiteral("pä")},
                               {KeyStroke::Kind::Enter, {}}};
        QCOMPARE(typeAndWait(login).result, qvs::TypeResult::Typed);
        QCOMPARE(fake_->keyEvents, (QList<int>{'p', -'p', 0xe4, -0xe4, 0xff0d, -0xff0d}));

        fake_->Reset();
        fake_->consent = false;
        fake_->issuedToken = QStringLiteral("revoked"); // the stored one no longer counts
        const TypingOutcome refused = typeAndWait(login);
        QCOMPARE(refused.result, qvs::TypeResult::Failed);
        QCOMPARE(refused.textId, TypingResultTextId(portal::TypeResult::Refused));
        QVERIFY(fake_->keyEvents.isEmpty());

        // A second login while the first is still under way (the desktop may
        // be asking): nothing of it is typed, and the user is told why.
        fake_->Reset();
        fake_->consent = true;
        std::optional<TypingOutcome> first, second;
        backend->Type(kFocusedWindow, login, [&](const TypingOutcome& o) { first = o; });
        backend->Type(kFocusedWindow, login, [&](const TypingOutcome& o) { second = o; });
        QVERIFY(second.has_value());
        QCOMPARE(second->textId, text::kTypingStillBusy);
        QTRY_VERIFY_WITH_TIMEOUT(first.has_value(), 10000);
        QCOMPARE(fake_->keyEvents.size(), 6); // the first login, once

        // No portal on the bus: the session keeps the X11 back-end for
        // programs running through XWayland.
        ServePortal(false);
        QVERIFY(!PortalTypingBackend::Connect());
        ServePortal(true);
    }

    void eachFailureHasItsOwnMessage() {
        QCOMPARE(TypingResultTextId(portal::TypeResult::Typed), 0);
        const QSet<int> ids = {TypingResultTextId(portal::TypeResult::Refused),
                               TypingResultTextId(portal::TypeResult::NoPortal),
                               TypingResultTextId(portal::TypeResult::TooOld),
                               TypingResultTextId(portal::TypeResult::NoAnswer),
                               TypingResultTextId(portal::TypeResult::NoSession),
                               TypingResultTextId(portal::TypeResult::FirstKeyFailed),
                               TypingResultTextId(portal::TypeResult::Failed),
                               text::kTypingStillBusy};
        QCOMPARE(ids.size(), 8);
        QVERIFY(!ids.contains(0));
    }
};

QTEST_GUILESS_MAIN(TestPortalKeyboard)
#include "tst_portal_keyboard.moc"
