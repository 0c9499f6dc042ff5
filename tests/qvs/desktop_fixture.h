// What every test of the real program on a headless desktop shares: the
// desktop, a private home for the copies started there (folders, settings,
// the event log they write to QVS_TEST_EVENT_LOG), the copy under test,
// xdotool for the keys and clicks a user would give, and the waits for the
// windows and log lines that come of them.
//
// A test calls SetUp() in initTestCase (skipping with the reason it gives)
// and TearDown() in cleanupTestCase. On a Wayland desktop (which the test
// starts itself, before its application) the home and the copy are the
// same; xdotool and the tray host's clicks are X's only.
#pragma once

#include "tests/autotype/x_desktop.h"

#include <QPoint>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class WaylandDesktop;

class DesktopFixture {
public:
    // How long a window or a log line may take: generous, as desktop tests
    // may run beside sanitizer builds.
    static constexpr int kWaitMs = 20000;

    // Starts the desktop and makes the home. "" when the test can go on,
    // else why it cannot (no desktop, no xdotool), for QSKIP.
    QString SetUp();
    // The same on desktop, which outlives this fixture.
    void SetUp(const WaylandDesktop& desktop);
    // Ends the copy under test and the desktop.
    void TearDown();

    const XDesktop& Desktop() const { return *desktop_; }
    QString Path(const char* name) const { return root_.filePath(QLatin1String(name)); }
    // The environment that shows a copy on the desktop and keeps it in the home.
    QProcessEnvironment Environment() const;
    // Writes the settings program ("QVS", "QVSLite") starts with.
    void WriteSettings(const char* program, const char* ini) const;

    // The event log, one line per event: "<event> <detail>".
    QStringList LogLines() const;
    // How many lines start with start.
    int Count(const QString& start) const;
    // Waits until count lines start with start; false (and the log so far as
    // a warning) when they do not come in time.
    bool Logged(const QString& start, int count = 1) const;

    // Starts the program the variable names (QVS_BINARY, QVSLITE_BINARY)
    // with arguments, in place of the copy started before.
    QProcess& Start(const char* variable, const QStringList& arguments);
    QProcess* Program() const { return program_.get(); }
    void Stop();

    // xdotool with arguments on the desktop; its output, trimmed.
    QString Tool(const QStringList& arguments) const;
    // The active window once its title is title (and it is not other); ""
    // when none comes in time.
    QString WaitActiveTitled(const QString& title, const QString& other = {}) const;
    // Types password and Return into the file password prompt (not other);
    // the prompt's window, or "" when none came.
    QString TypePassword(const char* password, const QString& other = {}) const;

    // The tray host sits at the top right; the copy's icon is its only one.
    void ClickTrayIcon(const char* button, bool twice = false) const;
    // Waits until the tray host shows the copy's icon; false when it does
    // not.
    bool WaitForTrayIcon() const;
    // Right-clicks the icon and waits until its menu shows; false when it
    // does not.
    bool OpenTrayMenu() const;

private:
    // The tray host's corner of the starter's screen: right of x, above y.
    static constexpr QPoint kTrayCorner{1200, 40};

    // The windows of the copy under test that are shown now.
    QStringList ShownWindows() const;
    void MakeHome();

    std::unique_ptr<XDesktop> desktop_;
    const WaylandDesktop* wayland_ = nullptr;
    QTemporaryDir root_;
    std::unique_ptr<QProcess> program_;
    QString programName_;
};
