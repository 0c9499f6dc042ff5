// Typing into native Wayland programs on a wlroots compositor: a headless
// sway, with this test's own windows on it as Wayland windows, and a login
// form of another process. The session's back-end is the compositor's
// virtual keyboard; the previous window follows real windows and never
// becomes one of ours; the tray controller and the main window type exactly
// (letters of any layout, braces, Tab and Enter, with Caps Lock on), also
// after another window took the focus in between.
#include "autotype/previous_window.h"
#include "autotype/send_keys.h"
#include "autotype/typing_backend.h"
#include "frame/one_time_code.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "tests/autotype/wayland_desktop.h" // also marks the test as one on a desktop
#include "tests/autotype/wayland_typing.h"
#include "tests/autotype/x_desktop.h"
#include "tests/mainwin/menus_fixture.h"
#include "tests/store/store_samples.h"
#include "tray/frm_tray.h"

#include <QApplication>
#include <QLineEdit>
#include <QtTest>

using namespace qvs;
using namespace wayland_typing;

namespace {

// Types through the session's back-end and waits for the outcome.
TypeResult TypeNow(std::uint64_t window, const KeyStrokes& strokes) {
    std::optional<TypeResult> result;
    StartTyping(window, strokes, [&result](const TypingOutcome& o) { result = o.result; });
    if (!QTest::qWaitFor([&result] { return result.has_value(); }, kWaitMs))
        return TypeResult::Failed;
    return result.value_or(TypeResult::Failed);
}

const KeyStrokes kLogin{{KeyStroke::Kind::Text, QStringLiteral("jürgen{ñ}")},
                        {KeyStroke::Kind::Tab, {}},
                        {KeyStroke::Kind::Text, QStringLiteral("pä{ENTER}€~\"|Ωa")},
                        {KeyStroke::Kind::Enter, {}}};

} // namespace

class TestWlrTyping : public QObject {
    Q_OBJECT
    const WaylandDesktop& desktop_;
    FakeMainWindow fake_;

public:
    explicit TestWlrTyping(const WaylandDesktop& desktop) : desktop_(desktop) {}

private slots:
    void initTestCase() {
        if (desktop_.SkipOrFail()) return;
        LoadEnglish();
        QCOMPARE(Backend().Name(), QStringLiteral("wlroots"));
        QCOMPARE(Backend().Support(), TypingSupport::Full);
    }
    void init() { ResetProgram(fake_); }

    void thePreviousWindowFollowsRealWindows() {
        TargetForm first(desktop_.Environment());
        QVERIFY(first.Window() != 0); // shown
        const std::uint64_t a = WaitOtherActive();
        QVERIFY(a != 0);
        PreviousWindow previous;
        QCOMPARE(previous.Window(), a);
        // Our own window becoming active is not the previous window.
        QWidget own;
        QVERIFY(TakeFocus(own));
        QCOMPARE(previous.Window(), a);
        TargetForm second(desktop_.Environment());
        QVERIFY(second.Window() != 0); // shown
        const std::uint64_t b = WaitOtherActive(a);
        QVERIFY(b != 0 && b != a);
        QTRY_COMPARE_WITH_TIMEOUT(previous.Window(), b, kWaitMs);
    }

    // The menu opens over the form; while it is open another window (ours)
    // takes the focus; the login still goes to the form, exactly, with Caps
    // Lock on.
    void theTrayTypesTheLoginIntoTheWindowBeforeTheMenu() {
        App().store = std::make_unique<ardeko::clsPW>();
        FillSample(*App().store);
        Opt().SysTrayPWDefault = 6; // type the login
        TrayActions actions;
        actions.typedLogin = [](const QString&) { return kLogin; };
        frmTray tray(std::move(actions));
        tray.UpdateView(QString());

        LockedForm target(desktop_);
        QVERIFY(target.Ready(desktop_));
        QWidget own;
        tray.SysTray().SetMenuRunnerForTesting([&own](KeyedMenu& menu, const QPoint&) {
            if (!TakeFocus(own)) return -1;
            return menu.IndexOf(QStringLiteral("srvBank A"));
        });
        tray.SysTray().ShowMenu();
        QCOMPARE(target.form.Result(), QByteArray("USER=Xjürgen{ñ}\nPASS=pä{ENTER}€~\"|Ωa\n"));
    }

    // The main window is active when its command runs: the code goes to
    // the window used before it.
    void theMainWindowTypesIntoTheWindowBeforeIt() {
        Store().NewFile();
        AddEntryWithCode("Bank");
        SetCodeClock([] { return std::int64_t{59}; });

        TargetForm form(desktop_.Environment());
        QVERIFY(form.Window() != 0); // shown
        const std::uint64_t target = WaitOtherActive();
        QVERIFY(target != 0);
        MenuWindow w;
        QVERIFY(TakeFocus(w.window));
        w.ShowNode(QStringLiteral("R"));
        w.SelectRow(QStringLiteral("Bank"));
        w.menus->mnuEdit_Click(EditCommand::TypeCode);
        SetCodeClock({});
        QCOMPARE(Backend().ActiveWindow(), target);
        // Tab to the password box and Enter, for the form to say what it got.
        QCOMPARE(TypeNow(target, {{KeyStroke::Kind::Tab, {}}, {KeyStroke::Kind::Enter, {}}}),
                 TypeResult::Typed);
        QCOMPARE(form.Result(), QByteArray("USER=287082\nPASS=\n"));
    }
};

int main(int argc, char* argv[]) {
    const WaylandDesktop desktop; // before the application: our windows go there
    QApplication app(argc, argv);
    TestWlrTyping test(desktop);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wlr_typing.moc"
