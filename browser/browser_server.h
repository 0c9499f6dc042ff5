// The socket in the user's private runtime folder that qvs-proxy reaches:
// one connection per browser, only from this user's own processes. Each
// message goes to the Requests; its answer goes back to the connection it
// came from, unless that closed meanwhile. Signals reach every connection.
#pragma once

#include "browser/browser_requests.h"

#include <QObject>
#include <QString>

#include <map>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace qvs::browser {

class BrowserServer : public QObject, public Broadcast {
    Q_OBJECT
public:
    explicit BrowserServer(Requests& requests, QObject* parent = nullptr);
    ~BrowserServer() override;

    // Listens at path (the path qvs-proxy computes when empty); a socket
    // left there by a copy that ended is replaced. False when it cannot.
    bool Listen(const QString& path = QString());
    void Close();
    bool IsListening() const;
    QString Path() const;
    // Browsers connected right now.
    int Connections() const { return int(connections_.size()); }

    void ToAll(const QByteArray& json) override;

private:
    struct Connection;

    void OnNewConnection();
    void Accept(QLocalSocket* socket);
    void Read(ConnectionId id);
    void Drop(ConnectionId id);
    void Send(ConnectionId id, const QByteArray& json);

    Requests& requests_;
    QLocalServer* server_; // child
    std::map<ConnectionId, std::unique_ptr<Connection>> connections_;
    ConnectionId next_ = 1;
};

} // namespace qvs::browser
