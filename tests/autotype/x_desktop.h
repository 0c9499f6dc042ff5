// For tests that need a real X server: a headless desktop (Xvfb, a window
// manager and a tray host) started with the project's starter, scripts/xdesk,
// which ctest names in QVS_XDESK, and a stand-in login form in a process of
// its own on it. Where no desktop can be started, SkipReason() says why in
// one line and the tests skip; when CI is set, that is a failure instead,
// since CI has everything the desktop needs.
#pragma once

#include "autotype/typing_backend.h"
#include "autotype/x11_typing.h"
#include "tests/test_program.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

class XDesktop {
public:
    XDesktop() {
        Start();
        if (!skip_.isEmpty() && qEnvironmentVariableIsSet("CI"))
            QTest::qFail(
                qPrintable(QStringLiteral("CI is set, so the desktop must start: ") + skip_),
                __FILE__, __LINE__);
    }
    ~XDesktop() {
        // The typing back-end's connection to this display goes first: an X
        // connection that loses its server ends the process.
        qvs::ReplaceTypingBackendForTesting(nullptr);
        if (!display_.isEmpty())
            QProcess::execute(qEnvironmentVariable("QVS_XDESK"),
                              {QStringLiteral("down"), display_});
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

    // The running process of this name (as /proc names it) shown on this
    // desktop: the tray host, a helper a program started. 0 when there is
    // none, or it has ended.
    qint64 FindProcess(const char* name) const {
        const QByteArray display = "DISPLAY=" + display_.toLatin1();
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool number = false;
            const qint64 pid = entry.toLongLong(&number);
            if (!number) continue;
            QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            QFile environ(QStringLiteral("/proc/%1/environ").arg(pid));
            if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != name) continue;
            // A process that ended but was not yet reaped has ended.
            if (!stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z ")) continue;
            if (environ.open(QIODevice::ReadOnly) &&
                environ.readAll().split('\0').contains(display))
                return pid;
        }
        return 0;
    }

    // Generous: with sanitizer builds running desktop tests side by side a
    // window can take many seconds to come up.
    static bool WaitActive(std::uint64_t window) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 20000) {
            if (qvs::x11::ActiveWindow() == window) return true;
            QTest::qWait(50);
        }
        return false;
    }

private:
    void Start() {
        const QString starter = qEnvironmentVariable("QVS_XDESK");
        if (starter.isEmpty()) {
            skip_ = QStringLiteral("QVS_XDESK does not name the desktop starter (ctest sets it)");
            return;
        }
        QProcess up;
        // Should the test be killed at its time-out, the desktop ends with it.
        up.start(starter, {QStringLiteral("up"), QStringLiteral("--for"),
                           QString::number(QCoreApplication::applicationPid())});
        if (!up.waitForFinished(30000) || up.exitStatus() != QProcess::NormalExit ||
            up.exitCode() != 0) {
            const QString why = QString::fromLocal8Bit(up.readAllStandardError()).trimmed();
            skip_ = why.isEmpty() ? QStringLiteral("the desktop starter failed") : why;
            skip_ = skip_.split(u'\n').last();
            up.kill();
            return;
        }
        display_ = QString::fromLatin1(up.readAllStandardOutput()).trimmed();
        qputenv("DISPLAY", display_.toLatin1());
        if (!qvs::x11::Available())
            skip_ = QStringLiteral("the X server on %1 is not reachable").arg(display_);
    }

    QString skip_;
    QString display_;
};

// The login form (QVS_TYPING_TARGET): prints its window id once shown (on
// Wayland, a number of no use but that it is shown), and both boxes when
// Enter is pressed in the password box.
class TargetForm {
public:
    explicit TargetForm(const XDesktop& desktop) : TargetForm(desktop.Environment()) {}
    // On another desktop: a Wayland one.
    explicit TargetForm(const QProcessEnvironment& environment) {
        process_.setProcessEnvironment(environment);
        process_.start(TestProgram("QVS_TYPING_TARGET"), {});
    }
    ~TargetForm() {
        process_.kill();
        process_.waitForFinished(2000);
    }
    TargetForm(const TargetForm&) = delete;
    TargetForm& operator=(const TargetForm&) = delete;

    std::uint64_t Window() {
        QElapsedTimer timer;
        timer.start();
        while (!output_.contains("WINDOW=") && timer.elapsed() < 20000) {
            process_.waitForReadyRead(1000);
            output_ += process_.readAllStandardOutput();
        }
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
