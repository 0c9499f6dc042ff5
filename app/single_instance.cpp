#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <QFile>

#include <sys/socket.h>
#include <sys/stat.h>
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

// A folder only this user can reach: another local user must not be able
// to plant a lock file or a listening socket where we look for our own copy.
bool IsPrivateFolder(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && QDir::isAbsolutePath(path) &&
           ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

// path itself, made 0700 when it was not there; "" when it is not private.
QString MakePrivateFolder(const QString& path) {
    ::mkdir(QFile::encodeName(path).constData(), 0700);
    return IsPrivateFolder(path) ? path : QString();
}

// $XDG_RUNTIME_DIR when it is private; else a folder of our own in the temp
// folder, or, should someone else hold that name, in the user's cache.
QString PrivateFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (IsPrivateFolder(runtime)) return runtime;
    const QString temp = MakePrivateFolder(
        QDir(QDir::tempPath()).filePath(QStringLiteral("quorvane-%1").arg(::getuid())));
    if (!temp.isEmpty()) return temp;
    const QString cache = QDir::home().filePath(QStringLiteral(".cache"));
    QDir().mkpath(cache);
    return MakePrivateFolder(QDir(cache).filePath(QStringLiteral("quorvane-run")));
}

// The user id of the process at the other end of a connected local socket;
// -1 when it cannot be told.
long PeerUserId(qintptr descriptor) {
    struct ucred credentials {};
    socklen_t size = sizeof credentials;
    if (::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) return -1;
    return long(credentials.uid);
}

bool OwnedByUs(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && st.st_uid == ::getuid();
}

struct Incoming {
    QByteArray bytes;
    bool dropped = false; // too long or too late: not delivered
    bool finished = false;
};

} // namespace

QString InstanceLockPath(const QString& instanceName) {
    const QString folder = PrivateFolder();
    if (folder.isEmpty()) return QString();
    return QDir(folder).filePath(QStringLiteral("_APPLICATION_MUTEX") + instanceName +
                                 QStringLiteral(".lock"));
}

QString InstanceServerName(const QString& instanceName) {
    const QString folder = PrivateFolder();
    if (folder.isEmpty()) return QString();
    const QString base = QStringLiteral("_APPLICATION") + instanceName;
    const QString path = QDir(folder).filePath(base);
    if (path.size() <= kMaxSocketPath) return path;
    // Too long for a socket: a short name in our own folder in the temp
    // folder, one per runtime folder.
    const QString temp = MakePrivateFolder(
        QDir(QDir::tempPath()).filePath(QStringLiteral("quorvane-%1").arg(::getuid())));
    if (temp.isEmpty()) return QString();
    const QByteArray hash =
        QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QDir(temp).filePath(base + u'-' + QString::fromLatin1(hash.left(12)));
}

SingleInstance::SingleInstance(const QString& instanceName, QObject* parent)
    : QObject(parent), instanceName_(instanceName), lock_(InstanceLockPath(instanceName)) {
    // The lock is held for the whole run: only a dead holder makes it stale.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Claim() {
    if (InstanceServerName(instanceName_).isEmpty() || lock_.fileName().isEmpty()) {
        qWarning("single instance: no private folder for the lock and the socket");
        return true;
    }
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
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // Only this user's own copies may hand us a file.
        if (PeerUserId(socket->socketDescriptor()) != long(::getuid())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        Collect(socket);
    }
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
    // The file name goes only to a copy run by this user.
    if (name.isEmpty() || !OwnedByUs(lock_.fileName())) return false;
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(name);
        if (socket.waitForConnected(int(deadline.remainingTime()))) break;
        if (deadline.hasExpired()) return false;
        QThread::msleep(kConnectRetryMs);
    }
    if (PeerUserId(socket.socketDescriptor()) != long(::getuid())) return false;
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
