// QVSLite typing a login into a native Wayland program on a wlroots
// compositor (a headless sway with its bar's tray): the program starts with
// its data file and puts its icon in the bar's tray; a click on the icon (as
// the bar passes it on) opens the menu, where the user chooses an entry. The
// login arrives exactly (letters of any layout, braces, Tab and Enter, with
// Caps Lock on) in the window that was active when the menu opened, also
// when another window took the focus meanwhile, and never in a window the
// user has left.
#include "frame/frm_message.h"
#include "frame/language.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "qvslite/lite_program.h"
#include "store/pw.h"
#include "tests/autotype/wayland_desktop.h" // also marks the test as one on a desktop
#include "tests/autotype/wayland_tray.h"
#include "tests/autotype/wayland_typing.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace qvs;
using namespace wayland_typing;

namespace {

constexpr char kUser[] = "jürgen{ñ}";
constexpr char kPassword[] = "pä{ENTER}€~\"|}{a";

// A message box would wait for a click no one gives: each is noted and
// closed, so that a failure shows as its text.
class MessageCatcher : public QObject {
public:
    MessageCatcher() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<frmMessage*>(QApplication::activeModalWidget());
            if (!box) return;
            for (QLabel* label : box->findChildren<QLabel*>())
                said += label->text() + u'\n';
            box->reject();
        });
        timer_.start(50);
    }
    QString said;

private:
    QTimer timer_;
};

} // namespace

class TestLiteWlrTyping : public QObject {
    Q_OBJECT
    const WaylandDesktop& desktop_;
    QTemporaryDir dir_;
    std::unique_ptr<LiteProgram> program_;
    QString icon_; // the program's item in the bar's tray
    MessageCatcher messages_;

    // Right-clicks the icon; while the menu is open, during runs; then the
    // entry is chosen. False when no menu opened.
    bool ChooseEntry(const std::function<void()>& during = {}) {
        bool opened = false;
        program_->Tray()->SysTray().SetMenuRunnerForTesting(
            [during, &opened](KeyedMenu& menu, const QPoint&) {
                opened = true;
                if (during) during();
                return menu.IndexOf(QStringLiteral("srvWebmail"));
            });
        wayland_tray::Click(icon_, "ContextMenu");
        return QTest::qWaitFor([&opened] { return opened; }, kWaitMs);
    }

public:
    explicit TestLiteWlrTyping(const WaylandDesktop& desktop) : desktop_(desktop) {}

private slots:
    void initTestCase() {
        if (desktop_.SkipOrFail()) return;
        QString english = QStringLiteral("ENG");
        QVERIFY(LoadLanguage(english));
        QCOMPARE(Backend().Name(), QStringLiteral("wlroots"));

        const QString path = dir_.filePath(QStringLiteral("Lite.QVS"));
        ardeko::clsPW file;
        file.NewFile();
        ardeko::T_Password entry;
        entry.service = "Webmail";
        entry.User = kUser;
        entry.pw = kPassword;
        QVERIFY(file.PWAdd(entry));
        QVERIFY(file.SaveFile(path.toStdString(), false, false));

        Opt() = DefaultOptions();
        Opt().SysTrayShow = 0;
        Opt().SysTrayPWDefault = 6; // type the login
        Opt().KeyBeforeCB = 8;      // Tab
        Opt().KeyAfterCB = 13;      // Enter
        App().store = std::make_unique<ardeko::clsPW>();
        program_ = std::make_unique<LiteProgram>(ProgramLauncher{});
        QSignalSpy ready(program_.get(), &LiteProgram::Ready);
        program_->Start(u'"' + path + u'"');
        QVERIFY(ready.count() == 1 || ready.wait(kWaitMs));
        QCOMPARE(QString::fromStdString(Store().Filename()), path);
        icon_ = wayland_tray::WaitForOneItem();
        QVERIFY(!icon_.isEmpty());
    }
    void cleanupTestCase() {
        program_.reset();
        App().store.reset();
    }
    void cleanup() { QVERIFY2(messages_.said.isEmpty(), qPrintable(messages_.said)); }

    // The menu opens over the form; while it is open a window of ours takes
    // the focus (as an entry window QVSLite showed would); the login still
    // goes to the form, exactly, with Caps Lock on.
    void theLoginGoesToTheWindowBeforeTheMenu() {
        LockedForm target(desktop_);
        QVERIFY(target.Ready(desktop_));
        QWidget own;
        bool focused = false;
        QVERIFY(ChooseEntry([&] { focused = TakeFocus(own); }));
        QVERIFY(focused);
        QCOMPARE(target.form.Result(), QByteArray("USER=X") + kUser + "\nPASS=" + kPassword + "\n");
    }

    // The user went from one program to another before opening the menu:
    // the login goes to the second, and nothing to the first.
    void theLoginFollowsTheUserToAnotherWindow() {
        TargetForm left(desktop_.Environment());
        QVERIFY(left.Window() != 0); // shown
        const std::uint64_t first = WaitOtherActive();
        QVERIFY(first != 0);
        TargetForm second(desktop_.Environment());
        QVERIFY(second.Window() != 0); // shown
        QVERIFY(WaitOtherActive(first) != 0);
        QVERIFY(ChooseEntry());
        QCOMPARE(second.Result(), QByteArray("USER=") + kUser + "\nPASS=" + kPassword + "\n");
        QCOMPARE(left.Result(500), QByteArray());
    }
};

int main(int argc, char* argv[]) {
    // Before the application: our windows go there, and our icon to its bar.
    const WaylandDesktop desktop(WaylandDesktop::Tray::InBar);
    QApplication app(argc, argv);
    TestLiteWlrTyping test(desktop);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lite_wlr_typing.moc"
