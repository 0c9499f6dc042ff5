#include "tray/desktop_notification.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace qvs {

namespace {

constexpr char kService[] = "org.freedesktop.Notifications";
constexpr char kPath[] = "/org/freedesktop/Notifications";
// Milliseconds on screen; the desktop may keep it longer.
constexpr int kTimeoutMs = 15000;

} // namespace

DesktopNotification::DesktopNotification(QObject* parent) : QObject(parent) {
    QDBusConnection::sessionBus().connect(QLatin1String(kService), QLatin1String(kPath),
                                          QLatin1String(kService), QStringLiteral("ActionInvoked"),
                                          this, SLOT(OnActionInvoked(uint, QString)));
}

bool DesktopNotification::Show(const QString& title, const QString& text) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kPath),
                                       QLatin1String(kService), QStringLiteral("Notify"));
    // "default" is the click on the notification itself.
    call << QCoreApplication::applicationName() << id_ << QStringLiteral("dialog-password") << title
         << text << QStringList{QStringLiteral("default"), title} << QVariantMap() << kTimeoutMs;
    // Never wait on the desktop: a busy notification service must not
    // freeze the program. The id comes with the answer.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isValid()) id_ = reply.value();
        w->deleteLater();
    });
    return true;
}

void DesktopNotification::OnActionInvoked(uint id, const QString& action) {
    if (id == id_ && id_ != 0 && action == QLatin1String("default")) emit Clicked();
}

} // namespace qvs
