#include "tests/qvs/desktop_fixture.h"

#include "tests/autotype/wayland_desktop.h"
#include "tests/test_program.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace {

// Waits until done() holds; false when it does not within kWaitMs.
template <typename Done> bool WaitFor(Done done) {
    return QTest::qWaitFor(done, DesktopFixture::kWaitMs);
}

} // namespace

QString DesktopFixture::SetUp() {
    desktop_ = std::make_unique<XDesktop>();
    if (!desktop_->SkipReason().isEmpty()) return desktop_->SkipReason();
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return QStringLiteral("xdotool is not installed");
    MakeHome();
    return {};
}

void DesktopFixture::SetUp(const WaylandDesktop& desktop) {
    wayland_ = &desktop;
    MakeHome();
}

void DesktopFixture::MakeHome() {
    if (!root_.isValid()) qFatal("cannot make the home folder");
    // The runtime folder must be the user's alone, or Qt will not use it.
    QDir(root_.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(Path("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void DesktopFixture::TearDown() {
    Stop();
    desktop_.reset();
}

QProcessEnvironment DesktopFixture::Environment() const {
    auto env = wayland_ ? wayland_->Environment() : desktop_->Environment();
    env.insert(QStringLiteral("HOME"), root_.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), Path("config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), Path("data"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Path("runtime"));
    env.insert(QStringLiteral("QVS_TEST_EVENT_LOG"), Path("log"));
    return env;
}

void DesktopFixture::WriteSettings(const char* program, const char* ini) const {
    const QString folder = Path("config") + QStringLiteral("/Tarnwick");
    QDir().mkpath(folder);
    QFile file(folder + u'/' + QLatin1String(program) + QStringLiteral(".conf"));
    if (!file.open(QIODevice::WriteOnly) || file.write(ini) < 0)
        qFatal("cannot write the settings");
}

QStringList DesktopFixture::LogLines() const {
    QFile file(Path("log"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

int DesktopFixture::Count(const QString& start) const {
    int seen = 0;
    for (const QString& line : LogLines())
        seen += line.startsWith(start);
    return seen;
}

bool DesktopFixture::Logged(const QString& start, int count) const {
    if (WaitFor([&] { return Count(start) >= count; })) return true;
    qWarning() << "log so far:" << LogLines();
    return false;
}

QProcess& DesktopFixture::Start(const char* variable, const QStringList& arguments) {
    Stop();
    const QString path = TestProgram(variable);
    programName_ = QFileInfo(path).fileName();
    program_ = std::make_unique<QProcess>();
    program_->setProcessEnvironment(Environment());
    program_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program_->start(path, arguments);
    return *program_;
}

void DesktopFixture::Stop() {
    if (!program_) return;
    program_->kill();
    program_->waitForFinished(5000);
    program_.reset();
}

QString DesktopFixture::Tool(const QStringList& arguments) const {
    QProcess tool;
    tool.setProcessEnvironment(desktop_->Environment());
    tool.start(QStringLiteral("xdotool"), arguments);
    tool.waitForFinished(5000);
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

QString DesktopFixture::WaitActiveTitled(const QString& title, const QString& other) const {
    QString found;
    WaitFor([&] {
        const QString id = Tool({"getactivewindow"});
        if (!id.isEmpty() && id != other && Tool({"getwindowname", id}) == title) found = id;
        return !found.isEmpty();
    });
    return found;
}

QString DesktopFixture::TypePassword(const char* password, const QString& other) const {
    const QString prompt = WaitActiveTitled(QStringLiteral("Enter the file password"), other);
    if (prompt.isEmpty()) return {};
    Tool({"type", "--delay", "50", password});
    Tool({"key", "Return"});
    return prompt;
}

void DesktopFixture::ClickTrayIcon(const char* button, bool twice) const {
    // No "--sync": it waits for ever when the pointer is there already. The
    // pause lets the icon see the pointer arrive before the click.
    QStringList args{"mousemove", "1267", "15", "sleep", "0.3", "click"};
    if (twice)
        args << "--repeat"
             << "2";
    Tool(args << QLatin1String(button));
}

QStringList DesktopFixture::ShownWindows() const {
    // X names a window's class after the program file.
    return Tool({"search", "--onlyvisible", "--classname", u'^' + programName_ + u'$'})
        .split(u'\n', Qt::SkipEmptyParts);
}

bool DesktopFixture::WaitForTrayIcon() const {
    static const QRegularExpression position(QStringLiteral("Position: (\\d+),(\\d+)"));
    return WaitFor([&] {
        for (const QString& id : ShownWindows()) {
            const auto at = position.match(Tool({"getwindowgeometry", id}));
            if (at.hasMatch() && at.captured(1).toInt() >= kTrayCorner.x() &&
                at.captured(2).toInt() < kTrayCorner.y())
                return true;
        }
        return false;
    });
}

bool DesktopFixture::OpenTrayMenu() const {
    const QStringList before = ShownWindows();
    ClickTrayIcon("3");
    return WaitFor([&] {
        for (const QString& id : ShownWindows())
            if (!before.contains(id)) return true;
        return false;
    });
}
