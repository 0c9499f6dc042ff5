// The tray menu built from a store: which items are enabled, where entries
// go (orphans included), favourites for each "SysTrayShow", separators,
// the default command, and the light program's reduced commands.
#include "frame/keyed_menu.h"
#include "tests/frame/test_language.h"
#include "tests/store/store_samples.h"
#include "tray/tray_commands.h"
#include "tray/tray_menu.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <functional>

using namespace qvs;

namespace {

// One line per item as the menu shows it (children under their parent),
// indented by depth, with its marks.
void OutlineUnder(const KeyedMenu& menu, int parent, int depth, QStringList& lines) {
    for (int i = 1; i <= menu.Count(); ++i) {
        if (menu.Parent(i) != parent) continue;
        QString line = QString(depth * 2, u' ') + menu.Caption(i);
        if (!menu.IsEnabled(i)) line += QStringLiteral(" (off)");
        if (menu.IsDefault(i)) line += QStringLiteral(" (default)");
        lines << line;
        OutlineUnder(menu, i, depth + 1, lines);
    }
}

QStringList Outline(const KeyedMenu& menu) {
    QStringList lines;
    OutlineUnder(menu, 0, 0, lines);
    return lines;
}

const QStringList kCommands = {"txt75 (default)", "txt76", "-",     "txt78", "txt80",
                               "txt81",           "txt79", "txt82", "-",     "txt83"};

void MakeStore(ardeko::clsPW& s) {
    FillSample(s);                               // Banks{Cards}, Mail{Work}, 4 entries
    s.InsertCategory({3, "Empty", false});       // no entries: stays off
    s.InsertSubCategory({3, 1, "Unused"});       // under Banks, no entries
    s.InsertPassword(SampleEntry("Lost", 9, 0)); // category gone
    auto fav = SampleEntry("Star", 2, 7);        // subcategory gone: under Mail
    fav.Favourites = true;
    s.InsertPassword(fav);
}

} // namespace

class TestTrayMenu : public QObject {
    Q_OBJECT

    TestLanguage language_{30, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83, 31410};

private slots:
    void categoriesOnly() {
        ardeko::clsPW store;
        MakeStore(store);
        KeyedMenu menu;
        BuildTrayMenu(menu, store, {1, 1, false, true}, std::nullopt);
        const QStringList expected =
            QStringList{"Banks",       "  Cards", "    Bank A", "  Unused (off)", "  Bank B",
                        "Empty (off)", "Mail",    "  Work",     "    Mailbox",    "  Star",
                        "Loose",       "Lost",    "-"} +
            kCommands;
        QCOMPARE(Outline(menu), expected);
        QCOMPARE(ServiceOfKey(menu.Key(menu.IndexOf(QStringLiteral("srvBank A")))),
                 QStringLiteral("Bank A"));
        QCOMPARE(ServiceOfKey(QStringLiteral("open")), QString());
        // Every command's key leads back to it alone; a folder's or an
        // entry's key names no command, even one that looks like it.
        for (int i = 0; i <= static_cast<int>(TrayCommand::Close); ++i) {
            const auto command = static_cast<TrayCommand>(i);
            QVERIFY(TrayCommandOfKey(TrayKey(command)) == command);
        }
        for (const char* key : {"cat1", "scat1", "srvopen", "", "Open"})
            QVERIFY2(!TrayCommandOfKey(QLatin1String(key)), key);
    }

    void favouritesBesideCategories() {
        ardeko::clsPW store;
        MakeStore(store);
        KeyedMenu menu;
        BuildTrayMenu(menu, store, {0, 2, true, true}, std::nullopt);
        const QStringList lines = Outline(menu);
        const int favourites = lines.indexOf(QStringLiteral("txt30"));
        QVERIFY(favourites > 0);
        QCOMPARE(lines.at(favourites - 1), QStringLiteral("-"));
        QCOMPARE(lines.mid(favourites + 1, 3), (QStringList{"  Star", "-", "txt71"}));
        // With "SysTrayDef" 2 the three add commands are the default items.
        QCOMPARE(
            lines.mid(favourites + 4, 4),
            (QStringList{"  txt72 (default)", "  txt73 (default)", "  txt74 (default)", "txt75"}));
    }

    void favouritesOnly() {
        ardeko::clsPW store;
        MakeStore(store);
        KeyedMenu menu;
        BuildTrayMenu(menu, store, {2, 1, false, true}, std::nullopt);
        QCOMPARE(Outline(menu), (QStringList{"Star", "-"} + kCommands));

        // No favourites: the menu starts with the commands, no separator.
        ardeko::clsPW plain;
        FillSample(plain);
        BuildTrayMenu(menu, plain, {2, 1, false, true}, std::nullopt);
        QCOMPARE(Outline(menu), kCommands);
        // An empty store under "SysTrayShow" 0 has no favourites submenu.
        ardeko::clsPW empty;
        BuildTrayMenu(menu, empty, {0, 1, false, true}, std::nullopt);
        QCOMPARE(Outline(menu), kCommands);
    }

    // Names are shown as they are: no mnemonic marks, no separators, no
    // shortcut column; each still reaches its entry.
    void namesAreNotMenuSyntax() {
        ardeko::clsPW store;
        store.InsertCategory({1, "R&D lab", false});
        store.InsertPassword(SampleEntry("-", 1, 0));
        store.InsertPassword(SampleEntry("a\tb && c", 1, 0));
        KeyedMenu menu;
        BuildTrayMenu(menu, store, {1, 1, false, true}, std::nullopt);
        QStringList shown;
        int separators = 0;
        std::function<void(QMenu*)> walk = [&](QMenu* m) {
            for (QAction* a : m->actions()) {
                separators += a->isSeparator();
                if (!a->isSeparator()) shown << a->iconText();
                if (a->menu()) walk(a->menu());
            }
        };
        walk(menu.Menu());
        QCOMPARE(shown.mid(0, 3), (QStringList{"R&D lab", "-", "a b && c"}));
        QCOMPARE(separators, 3); // the menu's own: before and among the commands
        QCOMPARE(ServiceOfKey(menu.Key(menu.IndexOf(QStringLiteral("srv-")))), QStringLiteral("-"));
        QVERIFY(menu.IsEnabled(menu.IndexOf(QStringLiteral("srv-"))));
    }

    void lightProgramCommands() {
        ardeko::clsPW empty;
        KeyedMenu menu;
        BuildTrayMenu(menu, empty, {1, 2, true, false}, TrayImageList());
        // A file is open: it can be locked, from the item beside Exit.
        QCOMPARE(Outline(menu), (QStringList{"txt75", "txt76", "txt77", "-", "txt78", "txt80",
                                             "txt81", "txt82", "-", "txt31410", "txt83"}));
        const int lock = menu.IndexOf(TrayKey(TrayCommand::Lock));
        QCOMPARE(menu.Menu()->actions().at(lock - 1)->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_L));
    }
};

QTEST_MAIN(TestTrayMenu)
#include "tst_tray_menu.moc"
