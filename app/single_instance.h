// One copy of the program per user. The first copy holds a lock file for
// its whole run and listens on a local socket; a later copy finds the lock
// taken, hands its command line to the first through the socket and ends.
//
// Both live in the user's runtime folder ($XDG_RUNTIME_DIR), or in the temp
// folder with the user id in their names when there is none. A lock or a
// socket left behind by a copy that crashed is taken over.
#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;

namespace qvs {

// The name the program instance is known by.
inline constexpr char kInstanceName[] = "TarnwickQuorvane";
// How long a second copy tries to reach the first.
inline constexpr int kHandOverTimeoutMs = 5000;

QString InstanceLockPath(const QString& instanceName = QLatin1String(kInstanceName));
QString InstanceServerName(const QString& instanceName = QLatin1String(kInstanceName));

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& instanceName = QLatin1String(kInstanceName),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock and starts listening; false when another copy runs
    // (or, should the socket not come up, true with no hand-over possible).
    bool Claim();
    bool IsListening() const;

    // From a second copy: delivers commandLine to the running copy ("" sends
    // no bytes). False when no copy answered in time.
    bool HandOver(const QString& commandLine, int timeoutMs = kHandOverTimeoutMs) const;

signals:
    // The bytes one later copy sent (UTF-8; empty when it had no arguments).
    void CommandLineReceived(const QByteArray& bytes);

private:
    void OnNewConnection();
    void Collect(QLocalSocket* socket);

    QString instanceName_;
    QLockFile lock_;
    QLocalServer* server_ = nullptr; // child
};

} // namespace qvs
