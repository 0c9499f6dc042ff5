// Where the program learns that the desktop session was locked. The desktop
// build listens on D-Bus; tests hand in a source they trigger themselves.
#pragma once

#include <QObject>

namespace qvs {

class SessionLockSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Whether this desktop reports session locks at all.
    virtual bool Available() const = 0;

signals:
    void sessionLocked();
};

} // namespace qvs
