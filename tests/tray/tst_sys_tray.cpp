// The tray icon component: items by index and key with the "bad item"
// answer, the tip's fixed length, the menu's choice reaching the
// controller (and no event when it is closed without one), and the
// activation reasons as mouse events.
#include "tray/frm_sys_tray.h"

#include <QSignalSpy>
#include <QTest>

using namespace qvs;

class TestSysTray : public QObject {
    Q_OBJECT

private slots:
    void itemsByIndexAndKey() {
        frmSysTray tray;
        QCOMPARE(tray.AddMenuItem(QStringLiteral("Banking"), QStringLiteral("cat1")), 1);
        QCOMPARE(tray.AddMenuItem(QStringLiteral("mail"), QStringLiteral("srvmail"), false, {}, 1),
                 2);
        QCOMPARE(tray.AddMenuItem(QStringLiteral("open"), QStringLiteral("open"), true), 3);
        QCOMPARE(tray.Default(QStringLiteral("open")), std::optional<bool>(true));
        QCOMPARE(tray.Default(3), std::optional<bool>(true));
        QCOMPARE(tray.Default(1), std::optional<bool>(false));

        QCOMPARE(tray.SetChecked(QStringLiteral("srvmail"), true), 0);
        QCOMPARE(tray.Checked(2), std::optional<bool>(true));
        QCOMPARE(tray.EnableMenuItem(1, false), 0);
        QVERIFY(!tray.PopupMenuObject().IsEnabled(1));

        // Missing items: index 0, past the end, or a key nobody has.
        QCOMPARE(tray.EnableMenuItem(0, true), frmSysTray::kErrBadItem);
        QCOMPARE(tray.EnableMenuItem(4, true), frmSysTray::kErrBadItem);
        QCOMPARE(tray.SetChecked(QStringLiteral("nokey"), true), frmSysTray::kErrBadItem);
        QCOMPARE(tray.Checked(QStringLiteral("nokey")), std::nullopt);
        QCOMPARE(tray.RemoveMenuItem(9), frmSysTray::kErrBadItem);
        QCOMPARE(tray.PopupMenuObject().Count(), 3);

        // Removing a submenu takes its children; keys still resolve after.
        QCOMPARE(tray.RemoveMenuItem(QStringLiteral("cat1")), 0);
        QCOMPARE(tray.PopupMenuObject().Count(), 1);
        QCOMPARE(tray.PopupMenuObject().IndexOf(QStringLiteral("open")), 1);
        tray.ClearMenu();
        QCOMPARE(tray.PopupMenuObject().Count(), 0);
    }

    void tipIsCutToItsField() {
        frmSysTray tray;
        tray.SetToolTip(QString(80, u'x'));
        QCOMPARE(tray.ToolTip().size(), frmSysTray::kMaxTipLength);
        tray.SetToolTip(QStringLiteral("Sample - QVS"));
        QCOMPARE(tray.ToolTip(), QStringLiteral("Sample - QVS"));
    }

    void menuChoiceReachesTheController() {
        frmSysTray tray;
        tray.AddMenuItem(QStringLiteral("open"), QStringLiteral("open"));
        tray.AddMenuItem(QStringLiteral("close"), QStringLiteral("close"));
        QSignalSpy clicks(&tray, &frmSysTray::MenuClick);
        QSignalSpy opening(&tray, &frmSysTray::MenuAboutToShow);
        int choice = 2;
        tray.SetMenuRunnerForTesting([&choice](KeyedMenu&, const QPoint&) { return choice; });
        tray.ShowMenu();
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks.at(0).at(0).toInt(), 2);
        QCOMPARE(clicks.at(0).at(1).toString(), QStringLiteral("close"));
        choice = 0; // closed without a choice
        tray.ShowMenu();
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(opening.size(), 2);
    }

    void activationBecomesMouseEvents() {
        frmSysTray tray;
        QSignalSpy down(&tray, &frmSysTray::SysTrayMouseDown);
        QSignalSpy up(&tray, &frmSysTray::SysTrayMouseUp);
        QSignalSpy twice(&tray, &frmSysTray::SysTrayDoubleClick);
        tray.HandleActivation(QSystemTrayIcon::Context);
        tray.HandleActivation(QSystemTrayIcon::Trigger);
        tray.HandleActivation(QSystemTrayIcon::DoubleClick);
        tray.HandleActivation(QSystemTrayIcon::MiddleClick);
        QCOMPARE(down.size(), 3);
        QCOMPARE(down.at(0).at(0).toInt(), 2);
        QCOMPARE(down.at(1).at(0).toInt(), 1);
        QCOMPARE(down.at(2).at(0).toInt(), frmSysTray::kMiddleButton); // it locks
        QCOMPARE(up.size(), 3);
        QCOMPARE(twice.size(), 1);
        QCOMPARE(twice.at(0).at(0).toInt(), 1);
    }
};

QTEST_MAIN(TestSysTray)
#include "tst_sys_tray.moc"
