// A private home for copies of QVS on a headless desktop: its folders, the
// environment that sends a copy there, the event log the copies write, and
// xdotool for the keys and clicks a user would give.
#pragma once

#include "tests/autotype/x_desktop.h"
#include "tests/test_program.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

class DesktopHome {
public:
    QString Path(const char* name) const { return root_.filePath(QLatin1String(name)); }

    // The runtime folder must be the user's alone, or Qt will not use it.
    void MakeFolders() const {
        QDir(root_.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(Path("runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QProcessEnvironment Environment(const XDesktop& desktop) const {
        auto env = desktop.Environment();
        env.insert(QStringLiteral("HOME"), root_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), Path("config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), Path("data"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Path("runtime"));
        env.insert(QStringLiteral("QVS_TEST_EVENT_LOG"), Path("log"));
        return env;
    }

    // One line per event: "<event> <detail>".
    QStringList LogLines() const {
        QFile file(Path("log"));
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    // Its output, trimmed.
    static QString Xdotool(const XDesktop& desktop, const QStringList& arguments) {
        QProcess tool;
        tool.setProcessEnvironment(desktop.Environment());
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished(5000);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }

    // The active window once its title is title (and it is not other); ""
    // when none comes within waitMs.
    static QString WaitActiveTitled(const XDesktop& desktop, const QString& title,
                                    const QString& other = {}, int waitMs = 20000) {
        QDeadlineTimer deadline(waitMs);
        while (!deadline.hasExpired()) {
            const QString id = Xdotool(desktop, {"getactivewindow"});
            if (!id.isEmpty() && id != other && Xdotool(desktop, {"getwindowname", id}) == title)
                return id;
            QTest::qWait(100);
        }
        return {};
    }

    // A copy of the program (QVS_BINARY) with this home, on desktop.
    std::unique_ptr<QProcess> StartQvs(const XDesktop& desktop,
                                       const QStringList& arguments) const {
        auto qvs = std::make_unique<QProcess>();
        qvs->setProcessEnvironment(Environment(desktop));
        qvs->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        qvs->start(TestProgram("QVS_BINARY"), arguments);
        return qvs;
    }

    static void Stop(std::unique_ptr<QProcess>& process) {
        if (!process) return;
        process->kill();
        process->waitForFinished(5000);
        process.reset();
    }

    bool Valid() const { return root_.isValid(); }

private:
    QTemporaryDir root_;
};
