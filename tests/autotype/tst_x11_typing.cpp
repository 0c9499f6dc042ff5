// Typing into another program's window on a real X server: the key-string
// syntax, a login typed into a separate program's form (non-ASCII and
// symbols included) after another window took the focus, and a window
// that has gone. The X tests start their own headless desktop and are
// skipped, with the reason, where none can be started.
#include "autotype/send_keys.h"
#include "autotype/x11_typing.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace qvs;

namespace {

QString Tool(const char* name) {
    return QStringLiteral(QVS_SHARED_TOOLS) + u'/' + QLatin1String(name);
}

QString TextOf(const x11::Stroke& stroke) {
    switch (stroke.kind) {
    case x11::Stroke::Kind::Tab:
        return QStringLiteral("<TAB>");
    case x11::Stroke::Kind::Enter:
        return QStringLiteral("<ENTER>");
    case x11::Stroke::Kind::Text:
        break;
    }
    return QString::fromUcs4(stroke.text.data(), static_cast<qsizetype>(stroke.text.size()));
}

QString Joined(const std::vector<x11::Stroke>& strokes) {
    QString all;
    for (const auto& stroke : strokes)
        all += u'[' + TextOf(stroke) + u']';
    return all;
}

// A form in a process of its own, on the test display.
class Target {
public:
    explicit Target(const QString& display) {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        process_.setProcessEnvironment(env);
        process_.start(QStringLiteral(QVS_TYPING_TARGET), {});
    }
    ~Target() {
        process_.kill();
        process_.waitForFinished(2000);
    }
    // Its window id, once it is shown.
    std::uint64_t Window() {
        while (!output_.contains("WINDOW=") && process_.waitForReadyRead(5000))
            output_ += process_.readAllStandardOutput();
        const int at = output_.indexOf("WINDOW=");
        return at < 0 ? 0 : output_.mid(at + 7).split('\n').first().toULongLong();
    }
    // What it printed when Enter was pressed in the password box.
    QByteArray Result() {
        process_.waitForFinished(10000);
        output_ += process_.readAllStandardOutput();
        return output_.mid(output_.indexOf("USER="));
    }

private:
    QProcess process_;
    QByteArray output_;
};

bool WaitActive(std::uint64_t window) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000) {
        if (x11::ActiveWindow() == window) return true;
        QTest::qWait(50);
    }
    return false;
}

} // namespace

class TestX11Typing : public QObject {
    Q_OBJECT

    QString display_;
    QString skipReason_;

private slots:
    void initTestCase() {
        if (!QFileInfo::exists(Tool("xdesk-up")))
            skipReason_ = QStringLiteral("no desktop starter at ") + Tool("xdesk-up");
        else if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
            skipReason_ = QStringLiteral("Xvfb is not installed");
        if (!skipReason_.isEmpty()) return;
        int number = 60 + static_cast<int>(QCoreApplication::applicationPid() % 30);
        while (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            ++number;
        display_ = QStringLiteral(":%1").arg(number);
        QProcess::execute(Tool("xdesk-up"), {QString::number(number)});
        qputenv("DISPLAY", display_.toLatin1());
        if (!x11::Available()) skipReason_ = QStringLiteral("the X server did not start");
    }
    void cleanupTestCase() {
        if (!display_.isEmpty()) QProcess::execute(Tool("xdesk-down"), {display_.mid(1)});
    }

    void keyStringSyntax() {
        QCOMPARE(Joined(ParseKeyString(QStringLiteral("me{TAB}secret{ENTER}"))),
                 QStringLiteral("[me][<TAB>][secret][<ENTER>]"));
        // Only the two key words are special, in any letter case; other
        // braces, and the words without braces, are typed as they stand.
        QCOMPARE(Joined(ParseKeyString(QStringLiteral("{tab}a{b}{ESC}TAB{Enter}"))),
                 QStringLiteral("[<TAB>][a{b}{ESC}TAB][<ENTER>]"));
        QCOMPARE(Joined(ParseKeyString(QString())), QString());
        QCOMPARE(Joined(ParseKeyString(QStringLiteral("ü€𝄞"))), QStringLiteral("[ü€𝄞]"));
    }

    // The key codes between and after; a password that holds a key word is
    // still typed as it stands, while the custom text may name keys.
    void loginStrokes() {
        QCOMPARE(
            Joined(LoginStrokes(QStringLiteral("me"), QStringLiteral("a{ENTER}b"), 8, {}, 13, {})),
            QStringLiteral("[me][<TAB>][a{ENTER}b][<ENTER>]"));
        QCOMPARE(Joined(LoginStrokes(QStringLiteral("me"), QStringLiteral("pw"), -1,
                                     QStringLiteral("x{TAB}"), 0, QStringLiteral("ignored"))),
                 QStringLiteral("[me][x][<TAB>][pw]"));
        QCOMPARE(Joined(LoginStrokes({}, {}, -1, {}, 13, {})), QStringLiteral("[<ENTER>]"));
    }

    void typesALoginIntoThePreviousWindow() {
        if (!skipReason_.isEmpty()) QSKIP(qPrintable(skipReason_));
        Target form(display_);
        const std::uint64_t window = form.Window();
        QVERIFY(window != 0);
        QVERIFY(WaitActive(window));
        // Another program takes the focus, as our menu would.
        Target other(display_);
        const std::uint64_t otherWindow = other.Window();
        QVERIFY(WaitActive(otherWindow));

        const QString user = QStringLiteral("Jürgen ß€ Ωx");
        const QString password = QStringLiteral("p@ss{wörd}~\"é|<>^[]'\\ 9");
        const auto strokes =
            ParseKeyString(user + QStringLiteral("{TAB}") + password + QStringLiteral("{ENTER}"));
        QCOMPARE(x11::ActivateAndType(window, strokes), x11::TypeResult::Typed);
        const QByteArray expected = "USER=" + user.toUtf8() + "\nPASS=" + password.toUtf8() + "\n";
        QCOMPARE(form.Result(), expected);
    }

    void windowThatHasGoneIsReported() {
        if (!skipReason_.isEmpty()) QSKIP(qPrintable(skipReason_));
        std::uint64_t window = 0;
        {
            Target form(display_);
            window = form.Window();
            QVERIFY(window != 0);
        }
        QTest::qWait(200);
        const auto strokes = ParseKeyString(QStringLiteral("x"));
        QCOMPARE(x11::ActivateAndType(window, strokes), x11::TypeResult::NoWindow);
        QCOMPARE(x11::ActivateAndType(0, strokes), x11::TypeResult::NoWindow);
    }
};

QTEST_MAIN(TestX11Typing)
#include "tst_x11_typing.moc"
