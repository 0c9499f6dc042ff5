// Session locks as the Linux desktops report them: the screen saver's
// ActiveChanged signal (freedesktop and GNOME names) on the session bus, and
// logind's Lock signal for this program's session on the system bus.
#pragma once

#include "app/session_lock_source.h"

namespace qvs {

class DBusSessionLock : public SessionLockSource {
    Q_OBJECT
public:
    explicit DBusSessionLock(QObject* parent = nullptr);

    bool Available() const override { return available_; }

private slots:
    void OnActiveChanged(bool active);
    void OnLogindLock();

private:
    bool ListenToScreenSavers();
    bool ListenToLogind();

    bool available_ = false;
};

} // namespace qvs
