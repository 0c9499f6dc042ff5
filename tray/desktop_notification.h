// One notification through the desktop's notification service, for when
// the program shows no tray icon to carry a message. A new one replaces
// the one before, so that reminders never pile up.
#pragma once

#include <QObject>
#include <QString>

namespace qvs {

class DesktopNotification : public QObject {
    Q_OBJECT
public:
    explicit DesktopNotification(QObject* parent = nullptr);

    // Sent without waiting for the desktop; false when there is no session
    // bus to send it on.
    bool Show(const QString& title, const QString& text);

signals:
    // The user clicked the notification shown last.
    void Clicked();

private slots:
    void OnActionInvoked(uint id, const QString& action);

private:
    uint id_ = 0;
};

} // namespace qvs
