#include "frame/keyed_menu.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

using qvs::KeyedMenu;
using qvs::MenuItem;

namespace {

bool Contains(QMenu* menu, QAction* action) {
    for (QAction* a : menu->actions())
        if (a == action || (a->menu() && Contains(a->menu(), action))) return true;
    return false;
}

// Answers the next pop-up like a user: opens submenus on the way with the
// keyboard, then clicks the action (or presses Escape when it is null).
void ChooseLater(QAction* action) {
    QTimer::singleShot(0, [action] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(popup);
        if (!action) {
            QTest::keyClick(popup, Qt::Key_Escape);
            return;
        }
        if (popup->actions().contains(action)) {
            QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(action).center());
            return;
        }
        for (QAction* holder : popup->actions())
            if (holder->menu() && Contains(holder->menu(), action)) {
                popup->setActiveAction(holder);
                QTest::keyClick(popup, Qt::Key_Right);
                ChooseLater(action);
                return;
            }
        QFAIL("the action is not in the open menu");
    });
}

QAction* ActionOf(const KeyedMenu& menu, int index) {
    QList<QMenu*> menus{menu.Menu()};
    QList<QAction*> all;
    while (!menus.isEmpty())
        for (QAction* a : menus.takeFirst()->actions()) {
            all << a;
            if (a->menu()) menus << a->menu();
        }
    for (QAction* a : all)
        if (a->text() == menu.Caption(index) && !a->isSeparator()) return a;
    return nullptr;
}

// The tray's shape: a category with a subcategory and an entry, then commands.
void FillTrayLike(KeyedMenu& menu) {
    const int cat = menu.Add(MenuItem("Mail", "cat1").WithIcon(11));
    const int scat = menu.Add(MenuItem("Work", "scat1").Under(cat).WithIcon(11));
    menu.Add(MenuItem("office", "srvoffice").Under(scat).WithIcon(14));
    menu.Add(MenuItem("home", "srvhome").Under(cat).WithIcon(14));
    menu.Add(MenuItem("-", ""));
    menu.Add(MenuItem("Open", "open").WithIcon(0).AsDefault());
    menu.Add(MenuItem("Close", "close"));
}

} // namespace

class TestKeyedMenu : public QObject {
    Q_OBJECT
private slots:
    void indexesStartAtOneAndKeysResolve() {
        KeyedMenu menu;
        FillTrayLike(menu);
        QCOMPARE(menu.Count(), 7);
        QCOMPARE(menu.IndexOf("cat1"), 1);
        QCOMPARE(menu.IndexOf("srvoffice"), 3);
        QCOMPARE(menu.IndexOf("close"), 7);
        QCOMPARE(menu.Key(6), QStringLiteral("open"));
        QCOMPARE(menu.IndexOf("nosuch"), 0);
        QCOMPARE(menu.IndexOf("CLOSE"), 0); // keys are exact
        QVERIFY(menu.Key(0).isEmpty());
        QVERIFY(menu.Key(8).isEmpty());
        QVERIFY(!menu.Menu()->actions().at(0)->isSeparator());
        QVERIFY(menu.Menu()->actions().at(1)->isSeparator());
    }

    void itemsHangUnderTheirParents() {
        KeyedMenu menu;
        FillTrayLike(menu);
        const QList<QAction*> top = menu.Menu()->actions();
        QCOMPARE(top.size(), 4); // Mail, separator, Open, Close
        QMenu* mail = top.at(0)->menu();
        QVERIFY(mail);
        QCOMPARE(mail->actions().size(), 2);
        QCOMPARE(mail->actions().at(0)->menu()->actions().at(0)->text(), QStringLiteral("office"));
        // No item can hang under a missing item or a separator.
        QCOMPARE(menu.Add(MenuItem("x", "x").Under(99)), 0);
        QCOMPARE(menu.Add(MenuItem("x", "x").Under(5)), 0);
        QCOMPARE(menu.Count(), 7);
    }

    void badReferencesFailAndChangeNothing() {
        KeyedMenu menu;
        FillTrayLike(menu);
        QVERIFY(!menu.SetEnabled(0, false));
        QVERIFY(!menu.SetEnabled(8, false));
        QVERIFY(!menu.SetChecked(menu.IndexOf("nosuch"), true));
        QVERIFY(!menu.SetDefault(-1, true));
        QVERIFY(!menu.Remove(0));
        QCOMPARE(menu.Count(), 7);
        QVERIFY(!menu.IsChecked(0));
        for (int i = 1; i <= menu.Count(); ++i)
            QVERIFY(menu.IsEnabled(i) && !menu.IsChecked(i));
    }

    void marksShowOnTheActions() {
        KeyedMenu menu;
        FillTrayLike(menu);
        QAction* open = ActionOf(menu, 6);
        QAction* close = ActionOf(menu, 7);
        QVERIFY(menu.IsDefault(6) && open->font().bold());
        QVERIFY(!close->font().bold());
        QVERIFY(menu.SetDefault(7, true) && menu.SetDefault(6, false));
        QVERIFY(close->font().bold() && !open->font().bold());
        QVERIFY(menu.SetChecked(7, true));
        QVERIFY(close->isChecked() && menu.IsChecked(7));
        QVERIFY(menu.SetEnabled(7, false));
        QVERIFY(!close->isEnabled() && !menu.IsEnabled(7));
        QVERIFY(menu.SetChecked(7, false));
        QVERIFY(!close->isChecked());
    }

    void iconsComeFromTheImageListByIndex() {
        KeyedMenu menu;
        FillTrayLike(menu);
        QVERIFY(ActionOf(menu, 4)->icon().isNull());
        menu.SetImageList(qvs::TrayImageList()); // handed over after the items
        QVERIFY(!ActionOf(menu, 4)->icon().isNull());
        QVERIFY(ActionOf(menu, 7)->icon().isNull()); // index -1
        QCOMPARE(menu.Add(MenuItem("Fav", "preferred").WithIcon(15)), 8);
        QVERIFY(!ActionOf(menu, 8)->icon().isNull());
        menu.SetImageList(std::nullopt);
        QVERIFY(ActionOf(menu, 8)->icon().isNull());
    }

    void removeTakesChildrenAndRenumbers() {
        KeyedMenu menu;
        FillTrayLike(menu);
        QVERIFY(menu.Remove(2)); // "Work" with "office"
        QCOMPARE(menu.Count(), 5);
        QCOMPARE(menu.Key(2), QStringLiteral("srvhome"));
        QCOMPARE(menu.IndexOf("open"), 4);
        // Links of the items that moved still point at the right parent.
        QCOMPARE(menu.Add(MenuItem("new", "srvnew").Under(menu.IndexOf("cat1"))), 6);
        QCOMPARE(menu.Menu()->actions().at(0)->menu()->actions().size(), 2);
        // The last child gone, the holder is a plain item again.
        QVERIFY(menu.Remove(menu.IndexOf("srvhome")));
        QVERIFY(menu.Remove(menu.IndexOf("srvnew")));
        QVERIFY(!menu.Menu()->actions().at(0)->menu());
        menu.Clear();
        QCOMPARE(menu.Count(), 0);
        QVERIFY(menu.Menu()->actions().isEmpty());
    }

    void execReturnsTheChosenIndex() {
        KeyedMenu menu;
        FillTrayLike(menu);
        QSignalSpy triggered(&menu, &KeyedMenu::Triggered);
        ChooseLater(ActionOf(menu, 7));
        QCOMPARE(menu.Exec(QPoint(50, 50)), 7);
        QCOMPARE(triggered.size(), 1);
        QCOMPARE(triggered.at(0).at(1).toString(), QStringLiteral("close"));
    }

    void execReachesIntoSubmenus() {
        KeyedMenu menu;
        FillTrayLike(menu);
        ChooseLater(ActionOf(menu, 3));
        QCOMPARE(menu.Exec(QPoint(50, 50)), 3);
    }

    void closingWithoutChoiceGivesZero() {
        KeyedMenu menu;
        FillTrayLike(menu);
        QSignalSpy triggered(&menu, &KeyedMenu::Triggered);
        ChooseLater(nullptr);
        QCOMPARE(menu.Exec(QPoint(50, 50)), 0);
        QCOMPARE(triggered.size(), 0);
    }

    void choosingACheckedItemKeepsItsMark() {
        KeyedMenu menu;
        FillTrayLike(menu);
        menu.SetChecked(6, true);
        ChooseLater(ActionOf(menu, 6));
        QCOMPARE(menu.Exec(QPoint(50, 50)), 6);
        QVERIFY(menu.IsChecked(6));
        QVERIFY(ActionOf(menu, 6)->isChecked());
    }

    // An open pop-up takes the keys: an item's shortcut must still choose
    // it there (Ctrl+L locks from the tray menu), and only an enabled one.
    void aShortcutChoosesItsItemInTheOpenMenu() {
        KeyedMenu menu;
        FillTrayLike(menu);
        const int lock = menu.Add(MenuItem("Lock", "lock").WithShortcut(QKeySequence("Ctrl+L")));
        QCOMPARE(ActionOf(menu, lock)->shortcut(), QKeySequence("Ctrl+L"));
        const auto pressLater = [] {
            QTimer::singleShot(0, [] {
                auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                QVERIFY(popup);
                QTest::keyClick(popup, Qt::Key_L, Qt::ControlModifier);
                // A key that chose nothing leaves the menu open.
                if (QApplication::activePopupWidget() == popup)
                    QTest::keyClick(popup, Qt::Key_Escape);
            });
        };
        pressLater();
        QCOMPARE(menu.Exec(QPoint(50, 50)), lock);
        menu.SetEnabled(lock, false);
        pressLater();
        QCOMPARE(menu.Exec(QPoint(50, 50)), 0);
    }
};

QTEST_MAIN(TestKeyedMenu)
#include "tst_keyed_menu.moc"
