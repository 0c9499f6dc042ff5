// Typing into another program's window on a real X server: the key-string
// syntax, a login typed into a separate program's form (non-ASCII and
// symbols included) after another window took the focus, and a window
// that has gone. The X tests start their own headless desktop and are
// skipped, with the reason, where none can be started.
#include "autotype/previous_window.h"
#include "autotype/send_keys.h"
#include "autotype/x11_typing.h"
#include "tests/autotype/x_desktop.h"
#include "tests/autotype/x_locks.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace qvs;

namespace {

QString TextOf(const KeyStroke& stroke) {
    switch (stroke.kind) {
    case KeyStroke::Kind::Tab:
        return QStringLiteral("<TAB>");
    case KeyStroke::Kind::Enter:
        return QStringLiteral("<ENTER>");
    case KeyStroke::Kind::Text:
        break;
    }
    return stroke.text;
}

QString Joined(const KeyStrokes& strokes) {
    QString all;
    for (const auto& stroke : strokes)
        all += u'[' + TextOf(stroke) + u']';
    return all;
}

} // namespace

class TestX11Typing : public QObject {
    Q_OBJECT

    std::unique_ptr<XDesktop> desktop_;
    QString skipReason_;

private slots:
    void initTestCase() {
        desktop_ = std::make_unique<XDesktop>();
        skipReason_ = desktop_->SkipReason();
    }
    void cleanupTestCase() { desktop_.reset(); }

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

    void typesALoginIntoThePreviousWindow() {
        if (!skipReason_.isEmpty()) QSKIP(qPrintable(skipReason_));
        TargetForm form(*desktop_);
        const std::uint64_t window = form.Window();
        QVERIFY(window != 0);
        QVERIFY(XDesktop::WaitActive(window));
        // Another program takes the focus, as our menu would.
        TargetForm other(*desktop_);
        const std::uint64_t otherWindow = other.Window();
        QVERIFY(XDesktop::WaitActive(otherWindow));

        const QString user = QStringLiteral("Jürgen ß€ Ωx");
        const QString password = QStringLiteral("p@ss{wörd}~\"é|<>^[]'\\ 9");
        const auto strokes =
            ParseKeyString(user + QStringLiteral("{TAB}") + password + QStringLiteral("{ENTER}"));
        QCOMPARE(TypeInto(window, strokes), x11::TypeResult::Typed);
        const QByteArray expected = "USER=" + user.toUtf8() + "\nPASS=" + password.toUtf8() + "\n";
        QCOMPARE(form.Result(), expected);
    }

    // The main window types into the window the user had before ours: the
    // last active one that is not our own, followed as the focus moves.
    void followsTheWindowBeforeOurs() {
        if (!skipReason_.isEmpty()) QSKIP(qPrintable(skipReason_));
        std::uint64_t own = 0; // stands in for our main window
        PreviousWindow previous([&own](std::uint64_t window) { return window == own; });
        TargetForm form(*desktop_);
        const std::uint64_t window = form.Window();
        QVERIFY(XDesktop::WaitActive(window));
        QTRY_COMPARE(previous.Window(), window);
        TargetForm ours(*desktop_);
        own = ours.Window();
        QVERIFY(XDesktop::WaitActive(own));
        // Nothing to wait for: the focus change reaches the watch, which
        // must not take our window.
        QTest::qWait(200);
        QCOMPARE(previous.Window(), window);
        QCOMPARE(
            TypeInto(previous.Window(), ParseKeyString(QStringLiteral("me{TAB}287082{ENTER}"))),
            x11::TypeResult::Typed);
        QCOMPARE(form.Result(), QByteArray("USER=me\nPASS=287082\n"));
    }

    // Letters, symbols, digits and characters typed through a borrowed key
    // code arrive as they are with Caps Lock and Num Lock locked, and the
    // locks are back afterwards.
    void typesExactlyWithTheLocksOn() {
        if (!skipReason_.isEmpty()) QSKIP(qPrintable(skipReason_));
        TargetForm form(*desktop_);
        const std::uint64_t window = form.Window();
        QVERIFY(XDesktop::WaitActive(window));
        QVERIFY(xlocks::SetLocks(true, true));
        QVERIFY(xlocks::CapsLockOn());
        const QString user = QStringLiteral("J\u00fcrgen.\u00df");
        const QString password = QStringLiteral("P{a}+B^c7 \u00c9x\u00e9Z/*-");
        const auto typed = TypeInto(window, ParseKeyString(user + QStringLiteral("{TAB}") +
                                                           password + QStringLiteral("{ENTER}")));
        const bool capsAfter = xlocks::CapsLockOn(), numAfter = xlocks::NumLockOn();
        xlocks::SetLocks(false, false);
        QCOMPARE(typed, x11::TypeResult::Typed);
        QCOMPARE(form.Result(), "USER=" + user.toUtf8() + "\nPASS=" + password.toUtf8() + "\n");
        QVERIFY(capsAfter);
        QVERIFY(numAfter);
    }

    // A window that takes the focus halfway gets none of the rest.
    void typingStopsWhenAnotherWindowIsActivated() {
        if (!skipReason_.isEmpty()) QSKIP(qPrintable(skipReason_));
        TargetForm form(*desktop_);
        const std::uint64_t window = form.Window();
        QVERIFY(XDesktop::WaitActive(window));
        // Characters typed through a borrowed key code take about 0.1 s
        // each: the new window shows up long before the end.
        TargetForm intruder(*desktop_);
        const auto typed = TypeInto(window, ParseKeyString(QString(80, QChar(0xe9))));
        QCOMPARE(typed, x11::TypeResult::FocusMoved);
        QVERIFY(x11::ActiveWindow() != window);
    }

    void windowThatHasGoneIsReported() {
        if (!skipReason_.isEmpty()) QSKIP(qPrintable(skipReason_));
        std::uint64_t window = 0;
        {
            TargetForm form(*desktop_);
            window = form.Window();
            QVERIFY(window != 0);
        }
        const auto strokes = ParseKeyString(QStringLiteral("x"));
        // The X server drops the window a moment after its program ends.
        QTRY_COMPARE(TypeInto(window, strokes), x11::TypeResult::NoWindow);
        QCOMPARE(TypeInto(0, strokes), x11::TypeResult::NoWindow);
    }
};

QTEST_MAIN(TestX11Typing)
#include "tst_x11_typing.moc"
