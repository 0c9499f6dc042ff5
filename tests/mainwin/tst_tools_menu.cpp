// The Tools menu: where it stands in the menu bar, shown only with a file
// open, and its password health command opening the window.
#include "tests/mainwin/menus_fixture.h"

#include "dialogs/frm_health.h"

#include <QMenuBar>
#include <QPointer>
#include <QPushButton>

using namespace qvs;

class TestToolsMenu : public QObject {
    Q_OBJECT
    FakeMainWindow fake_;

private slots:
    void initTestCase() { LoadEnglish(); }
    void init() {
        ResetProgram(fake_);
        Store().NewFile();
    }
    void cleanup() { QCOMPARE(ModalDepth(), 0); }

    void standsBeforeOptionsAndNeedsAFile() {
        MenuWindow w;
        const auto& tools = w.menus->mnuTools();
        QCOMPARE(tools.Menu()->actions().size(), 1);
        QCOMPARE(tools.Item(ToolsCommand::PasswordHealth)->text(), GetLocalText(37001));
        QStringList titles;
        for (const QAction* menu : w.window.menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles.indexOf(GetLocalText(37000)) + 1, titles.indexOf(GetLocalText(180)));
        for (bool open : {false, true}) {
            w.menus->EnableFileCommands(open);
            QCOMPARE(tools.Menu()->menuAction()->isVisible(), open);
        }
        // Without a file its shortcut does nothing.
        w.menus->EnableFileCommands(false);
        w.menus->mnuTools_Click(ToolsCommand::PasswordHealth);
        QCOMPARE(ModalDepth(), 0);
    }

    void opensThePasswordHealthWindow() {
        AddEntry("Bank");
        MenuWindow w;
        w.menus->EnableFileCommands(true);
        w.menus->mnuTools().Item(ToolsCommand::PasswordHealth)->trigger();
        QPointer<frmHealth> health = qobject_cast<frmHealth*>(TopModal());
        QVERIFY(health);
        QVERIFY(health->isVisible());
        health->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!health);
    }
};

QTEST_MAIN(TestToolsMenu)
#include "tst_tools_menu.moc"
