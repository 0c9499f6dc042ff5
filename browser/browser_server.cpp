#include "browser/browser_server.h"

#include "proxy/native_messaging.h"
#include "proxy/runtime_socket.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

namespace qvs::browser {

struct BrowserServer::Connection {
    QLocalSocket* socket = nullptr; // deleted later, after Drop
    proxy::FrameDecoder decoder;
};

BrowserServer::BrowserServer(Requests& requests, QObject* parent)
    : QObject(parent), requests_(requests), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &BrowserServer::OnNewConnection);
}

BrowserServer::~BrowserServer() {
    Close();
}

bool BrowserServer::Listen(const QString& path) {
    Close();
    const QString name =
        path.isEmpty() ? QFile::decodeName(proxy::BrowserSocketPath().c_str()) : path;
    if (name.isEmpty()) return false;
    // One QVS per user runs (the single-instance lock), so a socket by this
    // name was left by one that ended.
    QLocalServer::removeServer(name);
    return server_->listen(name);
}

void BrowserServer::Close() {
    if (server_->isListening()) {
        server_->close();
        QLocalServer::removeServer(server_->fullServerName());
    }
    while (!connections_.empty())
        Drop(connections_.begin()->first);
}

bool BrowserServer::IsListening() const {
    return server_->isListening();
}

QString BrowserServer::Path() const {
    return server_->fullServerName();
}

void BrowserServer::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // Only this user's own qvs-proxy may ask for passwords.
        if (!proxy::PeerIsSameUser(int(socket->socketDescriptor()))) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        Accept(socket);
    }
}

void BrowserServer::Accept(QLocalSocket* socket) {
    const ConnectionId id = next_++;
    auto connection = std::make_unique<Connection>();
    connection->socket = socket;
    connections_.emplace(id, std::move(connection));
    connect(socket, &QLocalSocket::readyRead, this, [this, id] { Read(id); });
    connect(socket, &QLocalSocket::disconnected, this, [this, id] { Drop(id); });
    if (socket->bytesAvailable() > 0) Read(id);
    if (socket->state() == QLocalSocket::UnconnectedState) Drop(id);
}

void BrowserServer::Read(ConnectionId id) {
    const auto found = connections_.find(id);
    if (found == connections_.end()) return;
    Connection& connection = *found->second;
    const QByteArray bytes = connection.socket->readAll();
    connection.decoder.Feed(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    while (auto frame = connection.decoder.Next()) {
        if (frame->kind == proxy::Frame::Kind::TooLarge) {
            Send(id, QByteArray::fromStdString(
                         proxy::ErrorAnswer(proxy::RequestProblem::TooLarge, "")));
            continue;
        }
        // The answer may come after the user was asked: by then the
        // connection may be gone, which Send finds out.
        QPointer<BrowserServer> self(this);
        requests_.Handle(id, QByteArray::fromStdString(frame->text),
                         [self, id](const QByteArray& json) {
                             if (self) self->Send(id, json);
                         });
        if (!connections_.contains(id)) return;
    }
}

void BrowserServer::Send(ConnectionId id, const QByteArray& json) {
    const auto found = connections_.find(id);
    if (found == connections_.end()) return;
    const auto frame =
        proxy::EncodeFrame(std::string_view(json.constData(), std::size_t(json.size())));
    // An answer the browser would refuse is not sent: it would drop the port.
    if (!frame) return;
    found->second->socket->write(frame->data(), qint64(frame->size()));
}

void BrowserServer::ToAll(const QByteArray& json) {
    for (const auto& [id, connection] : connections_)
        Send(id, json);
}

void BrowserServer::Drop(ConnectionId id) {
    const auto found = connections_.find(id);
    if (found == connections_.end()) return;
    QLocalSocket* socket = found->second->socket;
    connections_.erase(found);
    socket->disconnect(this);
    // A signal just written (the file closing as QVS ends) still goes out.
    socket->flush();
    socket->abort();
    socket->deleteLater();
    requests_.Closed(id);
}

} // namespace qvs::browser
