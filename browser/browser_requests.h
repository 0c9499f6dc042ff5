// The seam between the socket that qvs-proxy reaches and the protocol that
// answers the browser extension, so that each can be built and tested alone.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>

namespace qvs::browser {

// One qvs-proxy connected to QVS (one browser), for as long as it stays.
using ConnectionId = std::uint64_t;

// Answers the extension's messages.
class Requests {
public:
    virtual ~Requests() = default;

    // Sends one answer (one JSON object, as the browser reads it) back to
    // the connection a message came from. Dropped when it closed meanwhile.
    using Answer = std::function<void(const QByteArray& json)>;

    // One message, as the browser sent it (one JSON object, not checked).
    // answer is called exactly once, perhaps later (after asking the user).
    virtual void Handle(ConnectionId connection, const QByteArray& json, Answer answer) = 0;

    // The connection closed: whatever was kept for it can go.
    virtual void Closed(ConnectionId connection) = 0;
};

// Reaches every connected browser at once, for the signals the extension
// listens to without asking (the file was locked or unlocked).
class Broadcast {
public:
    virtual ~Broadcast() = default;
    virtual void ToAll(const QByteArray& json) = 0;
};

} // namespace qvs::browser
