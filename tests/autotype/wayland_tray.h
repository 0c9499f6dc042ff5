// The tray in sway's bar (a WaylandDesktop with Tray::InBar), seen from a
// test: the items the bar's status-notifier watcher lists, and a click on
// one as the bar passes it on, a D-Bus call to the item.
#pragma once

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QStringList>
#include <QTest>

namespace wayland_tray {

// The items the tray shows now: "service/path" each.
inline QStringList Items() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << QStringLiteral("org.kde.StatusNotifierWatcher")
         << QStringLiteral("RegisteredStatusNotifierItems");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    return qvariant_cast<QDBusVariant>(reply.arguments().first()).variant().toStringList();
}

// Waits until the tray shows exactly one item; it, or "" when none came.
inline QString WaitForOneItem(int waitMs = 20000) {
    QStringList items;
    if (!QTest::qWaitFor([&items] { return (items = Items()).size() == 1; }, waitMs)) return {};
    return items.first();
}

// What the bar does when the item is clicked: "ContextMenu" for the right
// button, "Activate" for the left, at the pointer's place on the screen.
// The call is not waited for: the item may answer only once its menu has
// closed.
inline void Click(const QString& item, const char* method) {
    const qsizetype slash = item.indexOf(u'/');
    QDBusMessage call = QDBusMessage::createMethodCall(
        item.left(slash), slash < 0 ? QStringLiteral("/StatusNotifierItem") : item.mid(slash),
        QStringLiteral("org.kde.StatusNotifierItem"), QLatin1String(method));
    call << 1260 << 12;
    QDBusConnection::sessionBus().asyncCall(call);
}

} // namespace wayland_tray
