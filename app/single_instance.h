// One copy of the program per user. The first copy holds a lock file for
// its whole run and listens on a local socket; a later copy finds the lock
// taken, hands its command line to the first through the socket and ends.
//
// Both live in a folder only the user can reach: the runtime folder
// ($XDG_RUNTIME_DIR) when it is private, else a 0700 folder of the user's own
// in the temp folder (or the cache folder, should another user hold that
// name). Each side checks that the other runs as the same user. A lock or a
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

// "" when no private folder can be had: then there is no single instance.
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
    // no bytes). False when no copy answered in time, or when the lock file
    // or the listening copy belongs to another user.
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
