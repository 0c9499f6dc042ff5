// A secret copied on the Wayland platform, under a headless sway this test
// starts: other programs see it with the password-manager hint, it leaves the
// clipboard when the delay is over although another window has the focus by
// then, and what another program copied meanwhile stays. wl-paste reads the
// clipboard as any other program would.
#include "autotype/secret_clipboard.h"
#include "tests/autotype/wayland_desktop.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include <cstdio>
#include <functional>
#include <memory>

using namespace qvs;

namespace {

// What another program pastes; "" when the clipboard is empty.
QString Paste(const QStringList& options = {}) {
    QProcess paste;
    paste.start(QStringLiteral("wl-paste"), options + QStringList{QStringLiteral("--no-newline")});
    // While our secret is on the clipboard, wl-paste reads it from us: keep
    // answering meanwhile.
    if (!QTest::qWaitFor([&] { return paste.state() == QProcess::NotRunning; }, 5000)) {
        paste.kill();
        paste.waitForFinished(1000);
        return QStringLiteral("(wl-paste hung)");
    }
    return QString::fromUtf8(paste.readAllStandardOutput());
}

} // namespace

class TestWaylandClipboard : public QObject {
    Q_OBJECT

public:
    explicit TestWaylandClipboard(const WaylandDesktop& desktop) : desktop_(desktop) {}

private:
    const WaylandDesktop& desktop_;
    QLineEdit window_;
    std::function<void()> clear_; // the pending clearing, run by the test
    std::unique_ptr<QProcess> other_;

    // Another program's window comes up and takes the focus.
    void FocusAnotherWindow() {
        other_ = std::make_unique<QProcess>();
        other_->start(qEnvironmentVariable("QVS_TYPING_TARGET"), QStringList{});
        QVERIFY(other_->waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(!window_.isActiveWindow(), 10000);
    }
    void CopyWithFocus(const QString& secret) {
        window_.activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(window_.isActiveWindow(), 10000);
        // The desktop lets a program set the clipboard only in answer to
        // input: a key typed into the window, as a click on a menu would be.
        window_.clear();
        QCOMPARE(QProcess::execute(QStringLiteral("wtype"), {QStringLiteral("k")}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(window_.text(), QStringLiteral("k"), 5000);
        CopySecretToClipboard(secret);
        QTRY_COMPARE_WITH_TIMEOUT(Paste(), secret, 5000);
        QVERIFY(clear_);
    }

private slots:
    void initTestCase() {
        if (desktop_.SkipOrFail()) return;
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        SetClipboardClearTimer(
            [this](std::chrono::milliseconds, std::function<void()> done) { clear_ = done; });
        window_.setWindowTitle(QStringLiteral("Clipboard test"));
        window_.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window_));
    }
    void cleanup() {
        if (other_) {
            other_->kill();
            other_->waitForFinished(2000);
            other_.reset();
        }
        clear_ = nullptr;
    }

    void secretLeavesTheClipboardWithoutFocus() {
        CopyWithFocus(QStringLiteral("s3cret-pw"));
        QVERIFY(Paste({QStringLiteral("--list-types")})
                    .split(u'\n')
                    .contains(QString::fromLatin1(kPasswordHintType)));
        QCOMPARE(Paste({QStringLiteral("--type"), QString::fromLatin1(kPasswordHintType)}),
                 QString::fromLatin1(kPasswordHintSecret));
        FocusAnotherWindow();
        clear_();
        QTRY_COMPARE_WITH_TIMEOUT(Paste(), QString(), 5000);
    }

    void anotherProgramsCopyStays() {
        CopyWithFocus(QStringLiteral("s3cret-pw"));
        FocusAnotherWindow();
        QProcess copy;
        copy.start(QStringLiteral("wl-copy"),
                   {QStringLiteral("--foreground"), QStringLiteral("their text")});
        QTRY_COMPARE_WITH_TIMEOUT(Paste(), QStringLiteral("their text"), 5000);
        clear_();
        QTest::qWait(300);
        QCOMPARE(Paste(), QStringLiteral("their text"));
        copy.kill();
        copy.waitForFinished(2000);
    }
};

// The desktop first, then the application on it.
int main(int argc, char* argv[]) {
    WaylandDesktop desktop; // before the application, which then shows there
    // The headless desktop has no input devices, and without a keyboard no
    // window gets the keyboard focus nor may set the clipboard: a virtual
    // keyboard that types nothing for a long while stands in for one.
    QProcess keyboard;
    keyboard.setProcessEnvironment(desktop.Environment());
    keyboard.start(QStringLiteral("wtype"), {QStringLiteral("-s"), QStringLiteral("600000"),
                                             QStringLiteral("-k"), QStringLiteral("Shift_L")});
    int status = 1;
    {
        QApplication app(argc, argv);
        TestWaylandClipboard test(desktop);
        status = QTest::qExec(&test, argc, argv);
    }
    keyboard.kill();
    keyboard.waitForFinished(2000);
    return status;
}

#include "tst_wayland_clipboard.moc"
