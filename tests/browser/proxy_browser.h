// One qvs-proxy started as a browser starts it, for the tests that talk to
// QVS's socket server in their own process through it.
#pragma once

#include "proxy/native_messaging.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace qvs::testing {

// One qvs-proxy, started as a browser starts it.
class Browser {
public:
    Browser() {
        process_.setProgram(qEnvironmentVariable("QVS_PROXY"));
        process_.setArguments({QStringLiteral("/some/manifest.json"),
                               QStringLiteral("keepassxc-browser@keepassxc.org")});
        process_.start();
        if (!process_.waitForStarted()) qFatal("qvs-proxy did not start");
    }
    // As a browser closes the port: the proxy ends on its own.
    ~Browser() {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(5000)) process_.kill();
    }
    Browser(const Browser&) = delete;
    Browser& operator=(const Browser&) = delete;
    void SendRaw(const QByteArray& bytes) { process_.write(bytes); }
    void Send(const QByteArray& json) {
        SendRaw(QByteArray::fromStdString(*proxy::EncodeFrame(json.toStdString())));
    }
    void Send(const QJsonObject& request) {
        Send(QJsonDocument(request).toJson(QJsonDocument::Compact));
    }
    // The next message the proxy writes, waiting for it while the event
    // loop runs (the server lives in this process).
    QJsonObject Next(int timeoutMs = 5000) {
        QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            decoder_.Feed(process_.readAllStandardOutput().toStdString());
            if (auto frame = decoder_.Next()) {
                raw = QByteArray::fromStdString(frame->text);
                return QJsonDocument::fromJson(raw).object();
            }
            QTest::qWait(10);
        }
        return {};
    }
    void CloseInput() { process_.closeWriteChannel(); }
    bool Ends(int timeoutMs = 5000) {
        QDeadlineTimer deadline(timeoutMs);
        while (process_.state() != QProcess::NotRunning && !deadline.hasExpired())
            QTest::qWait(10);
        return process_.state() == QProcess::NotRunning && process_.exitCode() == 0;
    }
    void Kill() {
        process_.kill();
        process_.waitForFinished();
    }
    QByteArray raw;

private:
    QProcess process_;
    proxy::FrameDecoder decoder_;
};

} // namespace qvs::testing
