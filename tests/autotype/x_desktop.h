// For tests that need a real X server: a headless desktop (Xvfb, a window
// manager and a tray host) started with the shared desktop tools, and a
// stand-in login form in a process of its own on it. Where no desktop can
// be started, SkipReason() says why and the tests skip.
#pragma once

#include "autotype/x11_typing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class XDesktop {
public:
    XDesktop() {
        if (!QFileInfo::exists(Tool("xdesk-up")))
            skip_ = QStringLiteral("no desktop starter at ") + Tool("xdesk-up");
        else if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
            skip_ = QStringLiteral("Xvfb is not installed");
        if (!skip_.isEmpty()) return;
        int number = 60 + static_cast<int>(QCoreApplication::applicationPid() % 30);
        while (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            ++number;
        display_ = QStringLiteral(":%1").arg(number);
        QProcess::execute(Tool("xdesk-up"), {QString::number(number)});
        qputenv("DISPLAY", display_.toLatin1());
        if (!qvs::x11::Available()) skip_ = QStringLiteral("the X server did not start");
    }
    ~XDesktop() {
        if (!display_.isEmpty()) QProcess::execute(Tool("xdesk-down"), {display_.mid(1)});
    }
    XDesktop(const XDesktop&) = delete;
    XDesktop& operator=(const XDesktop&) = delete;

    const QString& SkipReason() const { return skip_; }
    const QString& Display() const { return display_; }

    // An environment for a program shown on this desktop.
    QProcessEnvironment Environment() const {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display_);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        return env;
    }

    static bool WaitActive(std::uint64_t window) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 5000) {
            if (qvs::x11::ActiveWindow() == window) return true;
            QTest::qWait(50);
        }
        return false;
    }

private:
    static QString Tool(const char* name) {
        return QStringLiteral(QVS_SHARED_TOOLS) + u'/' + QLatin1String(name);
    }

    QString skip_;
    QString display_;
};

// The login form: prints its window id once shown, and both boxes when
// Enter is pressed in the password box.
class TargetForm {
public:
    explicit TargetForm(const XDesktop& desktop) {
        process_.setProcessEnvironment(desktop.Environment());
        process_.start(QStringLiteral(QVS_TYPING_TARGET), {});
    }
    ~TargetForm() {
        process_.kill();
        process_.waitForFinished(2000);
    }
    TargetForm(const TargetForm&) = delete;
    TargetForm& operator=(const TargetForm&) = delete;

    std::uint64_t Window() {
        while (!output_.contains("WINDOW=") && process_.waitForReadyRead(5000))
            output_ += process_.readAllStandardOutput();
        const qsizetype at = output_.indexOf("WINDOW=");
        return at < 0 ? 0 : output_.mid(at + 7).split('\n').first().toULongLong();
    }
    QByteArray Result(int waitMs = 10000) {
        process_.waitForFinished(waitMs);
        output_ += process_.readAllStandardOutput();
        const qsizetype at = output_.indexOf("USER=");
        return at < 0 ? QByteArray() : output_.mid(at);
    }

private:
    QProcess process_;
    QByteArray output_;
};
