#include "app/dbus_session_lock.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDBusReply>

namespace qvs {

namespace {

struct ScreenSaver {
    const char* service;
    const char* path;
};

constexpr ScreenSaver kScreenSavers[] = {
    {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver"},
    {"org.gnome.ScreenSaver", "/org/gnome/ScreenSaver"},
};

constexpr char kLogindService[] = "org.freedesktop.login1";
constexpr char kLogindPath[] = "/org/freedesktop/login1";
constexpr char kLogindManager[] = "org.freedesktop.login1.Manager";
constexpr char kLogindSession[] = "org.freedesktop.login1.Session";

bool Registered(const QDBusConnection& bus, const QString& service) {
    const QDBusConnectionInterface* names = bus.interface();
    return names && names->isServiceRegistered(service).value();
}

} // namespace

DBusSessionLock::DBusSessionLock(QObject* parent) : SessionLockSource(parent) {
    const bool screenSaver = ListenToScreenSavers();
    const bool logind = ListenToLogind();
    available_ = screenSaver || logind;
}

bool DBusSessionLock::ListenToScreenSavers() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    bool any = false;
    for (const ScreenSaver& saver : kScreenSavers) {
        const QString service = QString::fromLatin1(saver.service);
        const bool connected =
            bus.connect(service, QString::fromLatin1(saver.path), service,
                        QStringLiteral("ActiveChanged"), this, SLOT(OnActiveChanged(bool)));
        any = any || (connected && Registered(bus, service));
    }
    return any;
}

// logind tells each session by its own object path; ours is the one this
// process belongs to.
bool DBusSessionLock::ListenToLogind() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kLogindService), QString::fromLatin1(kLogindPath),
        QString::fromLatin1(kLogindManager), QStringLiteral("GetSessionByPID"));
    call << quint32(QCoreApplication::applicationPid());
    const QDBusReply<QDBusObjectPath> session = bus.call(call, QDBus::Block, 2000);
    if (!session.isValid()) return false;
    return bus.connect(QString::fromLatin1(kLogindService), session.value().path(),
                       QString::fromLatin1(kLogindSession), QStringLiteral("Lock"), this,
                       SLOT(OnLogindLock()));
}

void DBusSessionLock::OnActiveChanged(bool active) {
    if (active) emit sessionLocked();
}

void DBusSessionLock::OnLogindLock() {
    emit sessionLocked();
}

} // namespace qvs
