// The notification sent through the desktop's notification service when no
// tray icon carries it: title and text arrive as they were given, a new one
// replaces the one before, and only a click on the notification shown last
// counts as a click. Runs against a stand-in service on a private session
// bus; skipped where no bus daemon is installed.
#include "tray/desktop_notification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace qvs;

namespace {

constexpr char kService[] = "org.freedesktop.Notifications";
constexpr char kPath[] = "/org/freedesktop/Notifications";

} // namespace

class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList seen;
    uint nextId = 7;

public slots:
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints,
                int timeout) {
        (void)app, (void)icon, (void)hints, (void)timeout;
        seen << QStringLiteral("%1|%2|%3|%4").arg(replaces).arg(summary, body, actions.value(0));
        return replaces ? replaces : nextId;
    }
};

class TestDesktopNotification : public QObject {
    Q_OBJECT

    std::unique_ptr<QProcess> daemon_;
    FakeNotifications fake_;

    static void Invoke(uint id, const char* action) {
        QDBusMessage signal = QDBusMessage::createSignal(
            QLatin1String(kPath), QLatin1String(kService), QStringLiteral("ActionInvoked"));
        signal << id << QString::fromLatin1(action);
        QDBusConnection::sessionBus().send(signal);
    }

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("dbus-daemon is not installed");
        daemon_ = std::make_unique<QProcess>();
        daemon_->start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address")});
        QVERIFY(daemon_->waitForReadyRead(5000));
        const QByteArray address = daemon_->readLine().trimmed();
        // Before anything opens the session bus.
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY(bus.isConnected());
        QVERIFY(bus.registerObject(QLatin1String(kPath), &fake_, QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(QLatin1String(kService)));
    }
    void cleanupTestCase() {
        if (!daemon_) return;
        daemon_->kill();
        daemon_->waitForFinished(2000);
    }

    void showsReplacesAndReportsTheClick() {
        DesktopNotification notification;
        QSignalSpy clicked(&notification, &DesktopNotification::Clicked);
        QVERIFY(notification.Show(QStringLiteral("Title"), QStringLiteral("Line 1\nLine 2")));
        QTRY_COMPARE(fake_.seen, QStringList{QStringLiteral("0|Title|Line 1\nLine 2|default")});
        // The id of the answer arrives before anything is clicked.
        QTest::qWait(200);
        Invoke(8, "default"); // somebody else's notification
        Invoke(7, "other");   // not the click on it
        Invoke(7, "default");
        QTRY_COMPARE(clicked.size(), 1);
        QVERIFY(notification.Show(QStringLiteral("Again"), QStringLiteral("x")));
        QTRY_COMPARE(fake_.seen.size(), 2);
        QVERIFY(fake_.seen.last().startsWith(QStringLiteral("7|Again|")));
        QTest::qWait(100); // nothing to wait for: a second click must not come
        QCOMPARE(clicked.size(), 1);
    }
};

QTEST_MAIN(TestDesktopNotification)
#include "tst_desktop_notification.moc"
