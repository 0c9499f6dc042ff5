// The tray controller: each "SysTrayPWDefault" action reaches its entry,
// typing goes to the window that was active when the menu opened (and
// nowhere when there was none), commands by key, "open" only while the
// menu is enabled, "close" handed to the program, and the menu built from
// the open store. Offscreen there is no tray: loading is refused.
#include "autotype/secret_clipboard.h"
#include "frame/frm_message.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "tests/frame/modal_script.h"
#include "tests/frame/test_language.h"
#include "tests/store/store_samples.h"
#include "tray/frm_tray.h"

#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace qvs;

namespace {

struct Recorder {
    QStringList calls;
    std::uint64_t typedInto = 0;
    QString typed;

    std::function<void(const QString&)> Log(const QString& what) {
        return [this, what](const QString& service) { calls << what + u':' + service; };
    }

    TrayActions Actions() {
        TrayActions a;
        a.showEntry = Log(QStringLiteral("show"));
        a.editEntry = Log(QStringLiteral("edit"));
        a.copyPassword = Log(QStringLiteral("copypw"));
        a.copyLogin = Log(QStringLiteral("copylogin"));
        a.copyAccessUrl = Log(QStringLiteral("copyurl"));
        a.openAccessUrl = Log(QStringLiteral("openurl"));
        a.passwordOf = [](const QString& s) { return QStringLiteral("pw-") + s; };
        a.codeOf = [](const QString& s) {
            return s == QLatin1String("Bank A") ? QStringLiteral("123456") : QString();
        };
        a.noCode = Log(QStringLiteral("nocode"));
        a.typedLogin = [](const QString& s) {
            return KeyStrokes{{KeyStroke::Kind::Text, QStringLiteral("user")},
                              {KeyStroke::Kind::Tab, {}},
                              {KeyStroke::Kind::Text, QStringLiteral("pw-") + s},
                              {KeyStroke::Kind::Enter, {}}};
        };
        a.type = [this](std::uint64_t window, const KeyStrokes& strokes, TypingDone done) {
            typedInto = window;
            for (const auto& s : strokes)
                typed += s.kind == KeyStroke::Kind::Text
                             ? s.text
                             : (s.kind == KeyStroke::Kind::Tab ? QStringLiteral("<TAB>")
                                                               : QStringLiteral("<ENTER>"));
            done({TypeResult::Typed, 0});
        };
        a.activeWindow = [] { return std::uint64_t{4242}; };
        a.typingSupport = [] { return TypingSupport::Full; };
        a.commands[TrayCommand::About] = [this] { calls << QStringLiteral("about"); };
        a.commands[TrayCommand::Open] = [this] { calls << QStringLiteral("open"); };
        return a;
    }
};

// Chooses the entry's item through the menu, as the user would.
void ChooseEntry(frmTray& tray, const QString& service) {
    tray.SysTray().SetMenuRunnerForTesting([service](KeyedMenu& menu, const QPoint&) {
        return menu.IndexOf(QStringLiteral("srv") + service);
    });
    tray.SysTray().ShowMenu();
}

// Answers the next message box with OK, keeping its text in told.
void AnswerMessage(ModalScript& script, QString& told) {
    script.On<frmMessage>([&told](frmMessage* m) {
        told = m->findChild<QLabel*>(QStringLiteral("lblMsg"))->text();
        m->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    script.Start();
}

} // namespace

class TestFrmTray : public QObject {
    Q_OBJECT

    TestLanguage language_{30, 71, 72, 73, 74,    75,    76,    77,    78,    79,
                           80, 81, 82, 83, 31410, 31413, 31800, 31801, 33900, 35139};

private slots:
    void init() {
        App().store = std::make_unique<ardeko::clsPW>();
        FillSample(*App().store);
        Opt() = DefaultOptions();
    }

    void eachEntryActionReachesItsEntry() {
        const QStringList expected = {"show:Bank A",
                                      "edit:Bank A",
                                      "copypw:Bank A",
                                      "copylogin:Bank A",
                                      "copyurl:Bank A",
                                      "",
                                      "",
                                      "openurl:Bank A"};
        for (int action = 0; action <= 7; ++action) {
            Recorder recorder;
            frmTray tray(recorder.Actions());
            tray.UpdateView(QString());
            Opt().SysTrayPWDefault = action;
            ChooseEntry(tray, QStringLiteral("Bank A"));
            QCOMPARE(recorder.calls.join(u','), expected.at(action));
            if (action == 5) QCOMPARE(recorder.typed, QStringLiteral("pw-Bank A"));
            if (action == 6) QCOMPARE(recorder.typed, QStringLiteral("user<TAB>pw-Bank A<ENTER>"));
            if (action == 5 || action == 6) QCOMPARE(recorder.typedInto, std::uint64_t{4242});
        }
    }

    // The code goes to the clipboard or the previous window; an entry
    // without one is reported rather than copying or typing nothing.
    void codeActions() {
        Recorder recorder;
        frmTray tray(recorder.Actions());
        tray.UpdateView(QString());
        Opt().SysTrayPWDefault = int(TrayEntryAction::CopyCode);
        ChooseEntry(tray, QStringLiteral("Bank A"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("123456"));
        ClearSecretFromClipboard();
        Opt().SysTrayPWDefault = int(TrayEntryAction::TypeCode);
        ChooseEntry(tray, QStringLiteral("Bank A"));
        QCOMPARE(recorder.typed, QStringLiteral("123456"));
        QCOMPARE(recorder.typedInto, std::uint64_t{4242});
        ChooseEntry(tray, QStringLiteral("Bank B"));
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("nocode:Bank B")});
        QCOMPARE(recorder.typed, QStringLiteral("123456"));
    }

    // With no window active when the menu opened, nothing is typed, and the
    // user is told.
    void typingNeedsAPreviousWindow() {
        Recorder recorder;
        TrayActions actions = recorder.Actions();
        actions.activeWindow = [] { return std::uint64_t{0}; };
        frmTray tray(std::move(actions));
        tray.UpdateView(QString());
        Opt().SysTrayPWDefault = 6;
        QString told;
        ModalScript script;
        AnswerMessage(script, told);
        ChooseEntry(tray, QStringLiteral("Bank A"));
        QVERIFY(script.Done());
        QCOMPARE(told, TestLanguage::Text(35139));
        QVERIFY(recorder.typed.isEmpty());
    }

    // Without a display to type into, entries whose action types are
    // disabled and say why; where typing is limited they say that. Copying
    // works everywhere.
    void typingActionsFollowTheDesktop() {
        Recorder recorder;
        TrayActions actions = recorder.Actions();
        TypingSupport support = TypingSupport::None;
        actions.typingSupport = [&support] { return support; };
        frmTray tray(std::move(actions));
        KeyedMenu& menu = tray.SysTray().PopupMenuObject();
        const auto entry = [&menu] { return menu.IndexOf(QStringLiteral("srvBank A")); };

        Opt().SysTrayPWDefault = int(TrayEntryAction::TypeLogin);
        tray.UpdateView(QString());
        QVERIFY(!menu.IsEnabled(entry()));
        QCOMPARE(menu.ToolTip(entry()), TestLanguage::Text(31800));
        QVERIFY(menu.IsEnabled(menu.Parent(entry()))); // the tip can be reached
        ChooseEntry(tray, QStringLiteral("Bank A"));   // a click that got through anyway
        QVERIFY(recorder.typed.isEmpty());

        Opt().SysTrayPWDefault = int(TrayEntryAction::CopyPassword);
        tray.OptionsChanged(); // the options dialog was applied
        QVERIFY(menu.IsEnabled(entry()));
        QVERIFY(menu.ToolTip(entry()).isEmpty());
        ChooseEntry(tray, QStringLiteral("Bank A"));
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("copypw:Bank A")});

        support = TypingSupport::XWaylandOnly;
        Opt().SysTrayPWDefault = int(TrayEntryAction::TypePassword);
        tray.UpdateView(QString());
        QVERIFY(menu.IsEnabled(entry()));
        QCOMPARE(menu.ToolTip(entry()), TestLanguage::Text(31801));
        ChooseEntry(tray, QStringLiteral("Bank A"));
        QCOMPARE(recorder.typed, QStringLiteral("pw-Bank A"));
    }

    // A save from the other program while the menu is open leaves the open
    // menu alone; the chosen item is the one the user saw, and the menu
    // shows the change once it has closed.
    void aChangeWhileTheMenuIsOpenWaitsForItToClose() {
        Recorder recorder;
        frmTray tray(recorder.Actions());
        tray.UpdateView(QString());
        KeyedMenu& menu = tray.SysTray().PopupMenuObject();
        bool keptWhileOpen = false;
        tray.SysTray().SetMenuRunnerForTesting([&](KeyedMenu& shown, const QPoint&) {
            const int chosen = shown.IndexOf(QStringLiteral("srvBank A"));
            ardeko::T_Password added = *App().store->Password().Find("Bank A");
            added.service = "Bank 0";
            App().store->PWAdd(added);
            tray.UpdateView(QString());
            keptWhileOpen = shown.IndexOf(QStringLiteral("srvBank 0")) == 0 &&
                            shown.IndexOf(QStringLiteral("srvBank A")) == chosen;
            return chosen;
        });
        tray.SysTray().ShowMenu();
        QVERIFY(keptWhileOpen);
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("show:Bank A")});
        QVERIFY(menu.IndexOf(QStringLiteral("srvBank 0")) > 0);

        // The chosen entry went with the change: the user is told, nothing
        // is copied or typed.
        tray.SysTray().SetMenuRunnerForTesting([&](KeyedMenu& shown, const QPoint&) {
            const int chosen = shown.IndexOf(QStringLiteral("srvBank 0"));
            App().store->PWDel("Bank 0");
            tray.UpdateView(QString());
            return chosen;
        });
        QString told;
        ModalScript script;
        AnswerMessage(script, told);
        tray.SysTray().ShowMenu();
        QVERIFY(script.Done());
        QCOMPARE(told, TestLanguage::Text(33900));
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("show:Bank A")});
    }

    // While a dialog is open, clicking the icon brings the dialog forward
    // instead of opening the menu or another window.
    void iconClickWhileADialogIsOpenRaisesIt() {
        Recorder recorder;
        frmTray tray(recorder.Actions());
        tray.UpdateView(QString());
        tray.SetMenuEnabled(true);
        int menus = 0;
        tray.SysTray().SetMenuRunnerForTesting([&menus](KeyedMenu&, const QPoint&) {
            ++menus;
            return 0;
        });
        QWidget other;
        {
            QDialog dialog;
            ModalStackEntry open(&dialog);
            dialog.show();
            other.show();
            other.activateWindow();
            QTRY_VERIFY(other.isActiveWindow());
            tray.SysTray().HandleActivation(QSystemTrayIcon::DoubleClick);
            QTRY_VERIFY(dialog.isActiveWindow());
            other.activateWindow();
            QTRY_VERIFY(other.isActiveWindow());
            tray.SysTray().HandleActivation(QSystemTrayIcon::Context);
            QTRY_VERIFY(dialog.isActiveWindow());
            QCOMPARE(menus, 0);
            QVERIFY(recorder.calls.isEmpty());
        }
        tray.SysTray().HandleActivation(QSystemTrayIcon::Context);
        QCOMPARE(menus, 1);
        tray.SysTray().HandleActivation(QSystemTrayIcon::DoubleClick);
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("open")});
    }

    void commandsByKey() {
        Recorder recorder;
        frmTray tray(recorder.Actions());
        QSignalSpy closing(&tray, &frmTray::CloseRequested);
        tray.OnMenuClick(1, QStringLiteral("about"));
        tray.OnMenuClick(1, QStringLiteral("forum")); // no action set: nothing
        tray.OnMenuClick(1, QStringLiteral("open"));  // menu disabled: nothing
        tray.SetMenuEnabled(true);
        tray.OnMenuClick(1, QStringLiteral("open"));
        tray.OnMenuClick(1, QStringLiteral("close"));
        QCOMPARE(recorder.calls, (QStringList{"about", "open"}));
        QCOMPARE(closing.size(), 1);
        // A double-click is "open".
        emit tray.SysTray().SysTrayDoubleClick(1);
        QCOMPARE(recorder.calls.size(), 3);
    }

    // Locked, nothing of the file shows and only unlock and close answer.
    void lockedMenuOffersUnlockAndClose() {
        Recorder recorder;
        TrayActions actions = recorder.Actions();
        actions.commands[TrayCommand::Unlock] = [&recorder] {
            recorder.calls << QStringLiteral("unlock");
        };
        frmTray tray(std::move(actions));
        tray.SetMenuEnabled(true);
        tray.SetLocked(true);
        KeyedMenu& menu = tray.SysTray().PopupMenuObject();
        QCOMPARE(menu.Count(), 3);
        QCOMPARE(menu.Key(1), QStringLiteral("unlock"));
        QCOMPARE(menu.Key(3), QStringLiteral("close"));
        Opt().SysTrayPWDefault = 2;
        tray.OnMenuClick(0, QStringLiteral("srvBank A"));
        tray.OnMenuClick(0, QStringLiteral("open"));
        emit tray.SysTray().SysTrayDoubleClick(1);
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("unlock")});
        tray.SetLocked(false);
        QVERIFY(menu.IndexOf(QStringLiteral("srvBank A")) > 0);
    }

    void menuFollowsTheStoreAndOffscreenHasNoTray() {
        Recorder recorder;
        frmTray tray(recorder.Actions());
        QVERIFY(!tray.Load()); // no tray host offscreen: tray mode is refused
        tray.UpdateView(QString());
        KeyedMenu& menu = tray.SysTray().PopupMenuObject();
        QVERIFY(menu.IndexOf(QStringLiteral("srvMailbox")) > 0);
        QCOMPARE(menu.IndexOf(QStringLiteral("add")), 0); // no file open
        App().store->PWDel("Mailbox");
        App().store->SetFilename("/tmp/x.QVS");
        tray.UpdateView(QString());
        QCOMPARE(menu.IndexOf(QStringLiteral("srvMailbox")), 0);
        QVERIFY(menu.IndexOf(QStringLiteral("add")) > 0);
        QCOMPARE(tray.SysTray().ToolTip(), QStringLiteral("Quorvane!"));
    }

    // With a file open, "Lock" sits beside Exit; it and the middle button
    // run the lock command. Locked, the middle button does nothing more.
    void lockComesFromItsItemAndTheMiddleButton() {
        Recorder recorder;
        TrayActions actions = recorder.Actions();
        actions.commands[TrayCommand::Lock] = [&recorder] {
            recorder.calls << QStringLiteral("lock");
        };
        frmTray tray(actions);
        App().store->SetFilename("/tmp/x.QVS");
        tray.UpdateView(QString());
        KeyedMenu& menu = tray.SysTray().PopupMenuObject();
        const int lock = menu.IndexOf(QStringLiteral("lock"));
        QVERIFY(lock > 0);
        QCOMPARE(menu.Key(lock + 1), QStringLiteral("close"));
        tray.SysTray().SetMenuRunnerForTesting(
            [](KeyedMenu& m, const QPoint&) { return m.IndexOf(QStringLiteral("lock")); });
        tray.SysTray().ShowMenu();
        tray.SysTray().HandleActivation(QSystemTrayIcon::MiddleClick);
        tray.SysTray().HandleActivation(QSystemTrayIcon::Trigger); // a left click is no lock
        QCOMPARE(recorder.calls, (QStringList{QStringLiteral("lock"), QStringLiteral("lock")}));
        tray.SetLocked(true);
        tray.SysTray().HandleActivation(QSystemTrayIcon::MiddleClick);
        QCOMPARE(recorder.calls.size(), 2);
        QCOMPARE(menu.IndexOf(QStringLiteral("lock")), 0);
    }
};

QTEST_MAIN(TestFrmTray)
#include "tst_frm_tray.moc"
