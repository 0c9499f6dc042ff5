// Window placement kept between runs: normal place and size, maximised
// state, and places no screen shows any more.
#include "frame/program_identity.h"
#include "frame/settings_store.h"
#include "frame/window_placement.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <memory>

using namespace qvs;

class TestWindowPlacement : public QObject {
    Q_OBJECT

    static QRect Screen() { return QGuiApplication::primaryScreen()->availableGeometry(); }

private slots:
    void init() {
        SettingsStore store;
        for (const QString& name : store.Names())
            store.Remove(name);
    }

    void normalPlaceRoundTrip() {
        QWidget saved;
        saved.move(30, 40);
        saved.resize(321, 203);
        saved.show();
        SaveWindowPlacement(&saved, "frmTest");

        QWidget restored;
        RestoreWindowPlacement(&restored, "frmTest");
        restored.show();
        QCOMPARE(restored.pos(), QPoint(30, 40));
        QCOMPARE(restored.size(), QSize(321, 203));
        QVERIFY(!restored.isMaximized() && !restored.isMinimized());
    }

    // Only the state is written for a maximised window; its normal place
    // from before stays for when it is made normal again.
    void maximisedKeepsNormalPlace() {
        QWidget window;
        window.move(50, 60);
        window.resize(300, 200);
        SaveWindowPlacement(&window, "frmMain");
        window.showMaximized();
        SaveWindowPlacement(&window, "frmMain");
        QCOMPARE(SettingsStore().ReadNumber("frmMain-State", -1), int(kPlacementMaximised));
        QCOMPARE(SettingsStore().ReadNumber("frmMain-W", -1), 300);

        QWidget restored;
        RestoreWindowPlacement(&restored, "frmMain");
        restored.show();
        QVERIFY(restored.isMaximized());
        restored.showNormal();
        QCOMPARE(restored.size(), QSize(300, 200));
    }

    void unreachablePlaceIsCentred_data() {
        QTest::addColumn<QRect>("stored");
        QTest::newRow("beyond the right edge") << QRect(Screen().right() + 500, 10, 300, 200);
        QTest::newRow("above the top") << QRect(10, -5000, 300, 200);
        QTest::newRow("no size") << QRect(10, 10, 0, -4);
    }
    void unreachablePlaceIsCentred() {
        QFETCH(QRect, stored);
        {
            SettingsStore store;
            store.WriteNumber("frmLost-State", kPlacementNormal);
            store.WriteNumber("frmLost-X", stored.x());
            store.WriteNumber("frmLost-Y", stored.y());
            store.WriteNumber("frmLost-W", stored.width());
            store.WriteNumber("frmLost-H", stored.height());
        }
        QWidget window;
        window.resize(200, 100);
        RestoreWindowPlacement(&window, "frmLost");
        QCOMPARE(window.size(), QSize(200, 100));
        QCOMPARE(window.frameGeometry().center(), Screen().center());
    }

    void dialogCentredOnItsWindow() {
        QWidget main;
        main.setGeometry(100, 100, 400, 300);
        main.show();
        QWidget dialog(&main, Qt::Dialog);
        dialog.resize(120, 80);
        RestoreWindowPlacement(&dialog, "frmNeverSaved");
        QCOMPARE(dialog.frameGeometry().center(), main.frameGeometry().center());
    }
};

QTEST_MAIN(TestWindowPlacement)
#include "tst_window_placement.moc"
