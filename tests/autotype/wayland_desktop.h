// For tests that type into native Wayland programs: a headless sway started
// with the project's starter, scripts/swaydesk (ctest names it in
// QVS_SWAYDESK), before the test's application exists, so that the test's
// own windows are Wayland windows there too; the stand-in login form of
// x_desktop.h runs there with Environment(). Where no desktop can be started, SkipReason() says
// why and the tests skip; when CI is set, that is a failure instead. With a
// tray, the desktop has sway's bar with its tray, on a session bus of its own
// that this process and the programs it starts there use.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QTest>

#include <cstdio>
#include <unistd.h>

class WaylandDesktop {
public:
    // Call before the QApplication is made: it points this process at the
    // desktop.
    enum class Tray { None, InBar };
    explicit WaylandDesktop(Tray tray = Tray::None) { Start(tray); }
    ~WaylandDesktop() {
        if (socket_.isEmpty()) return;
        const QByteArray down = qgetenv("QVS_SWAYDESK") + " down '" + socket_ + "'";
        if (std::system(down.constData()) != 0) std::fprintf(stderr, "swaydesk down failed\n");
    }
    WaylandDesktop(const WaylandDesktop&) = delete;
    WaylandDesktop& operator=(const WaylandDesktop&) = delete;

    // Skips the calling test, or fails it when CI is set.
    bool SkipOrFail() const {
        if (skip_.isEmpty()) return false;
        if (qEnvironmentVariableIsSet("CI"))
            QTest::qFail(
                qPrintable(QStringLiteral("CI is set, so the desktop must start: ") + skip_),
                __FILE__, __LINE__);
        else
            QTest::qSkip(qPrintable(skip_), __FILE__, __LINE__);
        return true;
    }

    // An environment for a program shown natively on this desktop.
    QProcessEnvironment Environment() const {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), QString::fromLocal8Bit(socket_));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        env.remove(QStringLiteral("DISPLAY"));
        if (!bus_.isEmpty())
            env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromLocal8Bit(bus_));
        return env;
    }

    // A tool of the desktop (grim, wtype) run to its end; whether it succeeded.
    bool Run(const QString& tool, const QStringList& arguments) const {
        QProcess process;
        process.setProcessEnvironment(Environment());
        process.start(tool, arguments);
        return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    // What swaymsg answers on this desktop (its windows with "-t get_tree");
    // "" when it fails.
    QByteArray Ask(const QStringList& arguments) const {
        const QFileInfo socket(QString::fromLocal8Bit(socket_));
        const QFileInfoList control =
            socket.dir().entryInfoList({QStringLiteral("sway-ipc.*.sock")}, QDir::System);
        if (control.isEmpty()) return {};
        QProcess process;
        auto env = Environment();
        env.insert(QStringLiteral("SWAYSOCK"), control.first().filePath());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral("swaymsg"), arguments);
        if (!process.waitForFinished(20000) || process.exitCode() != 0) return {};
        return process.readAllStandardOutput();
    }

private:
    void Start(Tray tray) {
        const QByteArray starter = qgetenv("QVS_SWAYDESK");
        if (starter.isEmpty()) {
            skip_ =
                QStringLiteral("QVS_SWAYDESK does not name the desktop starter (ctest sets it)");
            return;
        }
        // Should the test be killed at its time-out, the desktop ends with it.
        const QByteArray up = starter + " up " + (tray == Tray::InBar ? "--tray " : "") + "--for " +
                              QByteArray::number(qint64(getpid()));
        FILE* out = popen(up.constData(), "r");
        char line[4096] = {};
        const bool read = out && std::fgets(line, sizeof line, out);
        char busLine[4096] = {};
        const bool busRead =
            tray == Tray::None || (read && std::fgets(busLine, sizeof busLine, out));
        const int status = out ? pclose(out) : -1;
        if (!read || !busRead || status != 0) {
            skip_ = QStringLiteral("scripts/swaydesk could not start sway (its reason is above)");
            return;
        }
        socket_ = QByteArray(line).trimmed();
        bus_ = QByteArray(busLine).trimmed();
        // Before anything in this process opens the session bus.
        if (!bus_.isEmpty()) qputenv("DBUS_SESSION_BUS_ADDRESS", bus_);
        qputenv("WAYLAND_DISPLAY", socket_);
        qputenv("QT_QPA_PLATFORM", "wayland");
        qunsetenv("DISPLAY");
    }

    QString skip_;
    QByteArray socket_;
    QByteArray bus_;
};
