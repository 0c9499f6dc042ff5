#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <unistd.h>

namespace qvs {

namespace {

// A command line is one file name: anything far longer is not ours.
constexpr qsizetype kMaxHandOverBytes = 64 * 1024;
// A copy that connects but never finishes sending is dropped after this.
constexpr int kReceiveTimeoutMs = kHandOverTimeoutMs;
// Socket paths are limited to about 108 bytes.
constexpr qsizetype kMaxSocketPath = 100;
// The first copy may still be coming up when a second one looks for it.
constexpr int kConnectRetryMs = 50;

QString RuntimeFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

// The temp folder is shared by all users: names there carry the user id.
QString UserSuffix() {
    return QStringLiteral("-%1").arg(::getuid());
}

QString InFolder(const QString& fileName) {
    const QString runtime = RuntimeFolder();
    if (!runtime.isEmpty()) return QDir(runtime).filePath(fileName);
    return QDir(QDir::tempPath()).filePath(fileName + UserSuffix());
}

struct Incoming {
    QByteArray bytes;
    bool dropped = false; // too long or too late: not delivered
    bool finished = false;
};

} // namespace

QString InstanceLockPath(const QString& instanceName) {
    return InFolder(QStringLiteral("_APPLICATION_MUTEX") + instanceName + QStringLiteral(".lock"));
}

QString InstanceServerName(const QString& instanceName) {
    const QString base = QStringLiteral("_APPLICATION") + instanceName;
    const QString path = InFolder(base);
    if (path.size() <= kMaxSocketPath) return path;
    // Too long for a socket: a bare name, which QLocalServer places in the
    // temp folder, still one per user and runtime folder.
    const QByteArray folder =
        QCryptographicHash::hash(RuntimeFolder().toUtf8(), QCryptographicHash::Sha1).toHex();
    return base + UserSuffix() + u'-' + QString::fromLatin1(folder.left(12));
}

SingleInstance::SingleInstance(const QString& instanceName, QObject* parent)
    : QObject(parent), instanceName_(instanceName), lock_(InstanceLockPath(instanceName)) {
    // The lock is held for the whole run: only a dead holder makes it stale.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Claim() {
    if (!lock_.tryLock(0)) {
        // Only a lock held by a live copy means another copy runs; a folder
        // we cannot write to must not keep the program from starting.
        if (lock_.error() == QLockFile::LockFailedError) return false;
        qWarning("single instance: cannot create the lock file %s",
                 qPrintable(InstanceLockPath(instanceName_)));
        return true;
    }
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = InstanceServerName(instanceName_);
    // We hold the lock, so a socket by this name was left by a dead copy.
    QLocalServer::removeServer(name);
    if (!server_->listen(name)) {
        qWarning("single instance: cannot listen: %s", qPrintable(server_->errorString()));
        return true;
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
    return true;
}

bool SingleInstance::IsListening() const {
    return server_ && server_->isListening();
}

void SingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection())
        Collect(socket);
}

// Reads until the sender closes; what it sent is delivered only then.
void SingleInstance::Collect(QLocalSocket* socket) {
    auto incoming = std::make_shared<Incoming>();
    const auto read = [socket, incoming] {
        incoming->bytes += socket->readAll();
        if (incoming->bytes.size() <= kMaxHandOverBytes) return;
        incoming->dropped = true;
        socket->abort();
    };
    const auto finish = [this, socket, incoming, read] {
        if (incoming->finished) return;
        incoming->finished = true;
        if (!incoming->dropped) read();
        socket->deleteLater();
        if (!incoming->dropped) emit CommandLineReceived(incoming->bytes);
    };
    connect(socket, &QLocalSocket::readyRead, socket, read);
    connect(socket, &QLocalSocket::disconnected, this, finish);
    QTimer::singleShot(kReceiveTimeoutMs, socket, [socket, incoming] {
        incoming->dropped = true;
        socket->abort();
    });
    // A quick sender may have written and gone before we got here.
    if (socket->state() == QLocalSocket::UnconnectedState) finish();
}

bool SingleInstance::HandOver(const QString& commandLine, int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    const QString name = InstanceServerName(instanceName_);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(name);
        if (socket.waitForConnected(int(deadline.remainingTime()))) break;
        if (deadline.hasExpired()) return false;
        QThread::msleep(kConnectRetryMs);
    }
    const QByteArray bytes = commandLine.toUtf8();
    if (!bytes.isEmpty()) {
        socket.write(bytes);
        while (socket.bytesToWrite() > 0)
            if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) return false;
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(int(deadline.remainingTime()));
    return true;
}

} // namespace qvs
