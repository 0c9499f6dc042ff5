// The main window's menus, pop-ups and toolbar: items by index, and what
// they enable by the file state, the selected row and the clicked node.
#include "tests/mainwin/menus_fixture.h"

#include "autotype/secret_clipboard.h"
#include "frame/one_time_code.h"
#include "mainwin/category_tree.h"
#include "mainwin/entry_grid.h"
#include "mainwin/toolbar.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSet>
#include <QToolBar>

using namespace qvs;

namespace {

// Index and text id of every item; 0 marks a separator.
using Layout = std::vector<std::pair<int, int>>;

void ExpectLayout(const IndexedMenu& menu, const Layout& layout) {
    QCOMPARE(menu.Count(), layout.back().first + 1);
    for (const auto& [index, id] : layout) {
        const QAction* item = menu.Item(index);
        QVERIFY2(item, qPrintable(QString::number(index)));
        if (id == 0)
            QVERIFY(item->isSeparator());
        else
            QCOMPARE(item->text(), GetLocalText(id));
    }
}

bool Enabled(const IndexedMenu& menu, int index) {
    return menu.Item(index)->isEnabled();
}

} // namespace

class TestMenus : public QObject {
    Q_OBJECT
    FakeMainWindow fake_;

private slots:
    void initTestCase() { LoadEnglish(); }
    void init() {
        ResetProgram(fake_);
        Store().NewFile();
    }
    void cleanup() { QCOMPARE(ModalDepth(), 0); }

    void itemsByIndex() {
        MenuWindow w;
        ExpectLayout(w.menus->mnuEdit(), {{0, 121},
                                          {1, 122},
                                          {2, 123},
                                          {3, 0},
                                          {4, 124},
                                          {5, 125},
                                          {6, 126},
                                          {7, 0},
                                          {8, 127},
                                          {9, 128},
                                          {10, 129},
                                          {11, 35100},
                                          {12, 35141}});
        ExpectLayout(
            w.menus->mnuView(),
            {{0, 141}, {1, 142}, {2, 143}, {3, 144}, {4, 0}, {5, 145}, {6, 146}, {7, 147}});
        ExpectLayout(w.menus->mnuPassword(), {{0, 161},
                                              {1, 162},
                                              {2, 163},
                                              {3, 0},
                                              {5, 164},
                                              {6, 165},
                                              {7, 0},
                                              {8, 166},
                                              {9, 0},
                                              {10, 440}});
        QCOMPARE(w.menus->mnuPassword().Item(4), nullptr);
        ExpectLayout(w.menus->mnuOption(), {{0, 181}, {1, 182}, {2, 0}, {3, 183}, {4, 184}});
        ExpectLayout(w.menus->mnuHelp(), {{0, 191}, {1, 192}, {2, 0}, {3, 193}, {4, 0}, {5, 198}});
        ExpectLayout(w.menus->mnuHelpWeb(), {{0, 194}, {1, 195}, {2, 196}, {3, 197}});
        QCOMPARE(w.menus->mnuHelp().SubMenu(3), w.menus->mnuHelpWeb().Menu());
        ExpectLayout(w.popups->mnuPopup(), {{0, 440},
                                            {1, 0},
                                            {2, 127},
                                            {3, 128},
                                            {4, 129},
                                            {5, 0},
                                            {6, 121},
                                            {7, 122},
                                            {8, 123},
                                            {9, 0},
                                            {10, 124},
                                            {11, 125},
                                            {12, 126},
                                            {13, 0},
                                            {14, 161},
                                            {15, 162},
                                            {16, 163},
                                            {17, 35100},
                                            {18, 35141}});
        ExpectLayout(w.popups->mnuPopupCol(), {{0, 148}, {1, 149}});
        QCOMPARE(w.popups->mnuTVPopup().Count(), 7);
    }

    void fileStateShowsAndHidesCommands() {
        MenuWindow w;
        QToolBar* bar = w.window.ToolBar();
        QCOMPARE(bar->actions().size(), 19);
        const QStringList always = {"new", "open", "preview", "help", "what"};
        for (bool open : {false, true}) {
            w.menus->EnableFileCommands(open);
            QCOMPARE(w.menus->mnuEdit().Menu()->menuAction()->isVisible(), open);
            QCOMPARE(w.menus->mnuPassword().Menu()->menuAction()->isVisible(), open);
            for (int index : {3, 4, 5, 6, 7})
                QCOMPARE(w.menus->mnuView().Item(index)->isVisible(), open);
            for (int index : {0, 1, 2})
                QVERIFY(w.menus->mnuView().Item(index)->isVisible());
            QCOMPARE(w.menus->mnuOption().Item(1)->isVisible(), open);
            for (const QAction* button : bar->actions())
                QCOMPARE(button->isEnabled(), open || always.contains(button->objectName()));
        }
        QCOMPARE(ToolbarButton(*bar, "del")->toolTip(), GetLocalText(955));
        // Without a file the entry commands' shortcuts do nothing.
        AddEntry("Bank");
        w.SelectRow(QStringLiteral("Bank"));
        w.menus->EnableFileCommands(false);
        w.menus->mnuEdit_Click(0);
        ToolbarButton(*bar, "del")->trigger(); // disabled: no effect
        QVERIFY(Store().Password().Contains("Bank"));
        QCOMPARE(bar->actions().indexOf(ToolbarButton(*bar, "what")), 18);
    }

    void viewTogglesPanesAndIconsFollowTheSetting() {
        MenuWindow w;
        QToolBar* bar = w.window.ToolBar();
        QAction* toolbarItem = w.menus->mnuView().Item(0);
        toolbarItem->trigger(); // unchecks
        QVERIFY(bar->isHidden());
        bar->show(); // as a loaded layout may do
        emit w.menus->mnuView().Menu()->aboutToShow();
        QVERIFY(toolbarItem->isChecked());
        w.menus->mnuView().Item(2)->trigger();
        QVERIFY(w.window.Tree()->isHidden());
        w.menus->mnuView().Item(3)->trigger();
        QVERIFY(w.window.Grid()->txtNotes()->isHidden());
        w.menus->mnuOption_Click(3); // saves the layout now
        QVERIFY(!frmMain().TreeVisible());

        QVERIFY(!w.menus->mnuEdit().Item(0)->icon().isNull()); // on by default
        Opt().ViewMenuIcon = false;
        w.menus->ReInitMenu();
        QVERIFY(w.menus->mnuEdit().Item(0)->icon().isNull());
    }

    void editMenuFollowsTheSelectedRow() {
        MenuWindow w;
        AddEntry("Bank", 0, 0, "https://bank.example", "", "");
        AddEntry("Shop", 0, 0, "", "https://shop.example/del", "https://shop.example/pw");
        const auto enabled = [&] {
            w.menus->PrepareEditMenu();
            QList<int> on;
            for (int index : {2, 6, 8, 9, 10})
                if (Enabled(w.menus->mnuEdit(), index)) on << index;
            return on;
        };
        w.ShowNode(QStringLiteral("R"));
        QCOMPARE(enabled(), QList<int>{});
        w.SelectRow(QStringLiteral("Bank"));
        QCOMPARE(enabled(), (QList<int>{6, 8}));
        w.SelectRow(QStringLiteral("Shop"));
        QCOMPARE(enabled(), (QList<int>{9, 10}));
        // The first copy enables paste, and it stays after a refresh.
        w.menus->mnuEdit_Click(1);
        w.window.UpdateView(QString());
        w.SelectRow(QStringLiteral("Shop"));
        QCOMPARE(enabled(), (QList<int>{2, 9, 10}));
    }

    // Offered only for an entry with a code, which goes to the clipboard, or
    // is typed into the window used before ours, as the code of this moment,
    // from the Edit menu and the grid's pop-up. Typing that fails says why.
    void codeItemsCopyAndTypeTheCode() {
        MenuWindow w;
        AddEntry("Plain");
        ardeko::T_Password p;
        p.service = "Bank";
        p.Totp = "otpauth://totp/Bank?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ";
        QVERIFY(Store().PWAdd(p));
        w.ShowNode(QStringLiteral("R"));
        w.SelectRow(QStringLiteral("Plain"));
        w.menus->PrepareEditMenu();
        w.popups->PrepareGridPopup(QStringLiteral("Plain"));
        for (int item : {11, 12})
            QVERIFY(!Enabled(w.menus->mnuEdit(), item));
        for (int item : {17, 18})
            QVERIFY(!Enabled(w.popups->mnuPopup(), item));
        w.SelectRow(QStringLiteral("Bank"));
        w.menus->PrepareEditMenu();
        w.popups->PrepareGridPopup(QStringLiteral("Bank"));
        QVERIFY(Enabled(w.menus->mnuEdit(), 11) && Enabled(w.popups->mnuPopup(), 17));
        // Typing also needs a display to type on.
        const bool canType = CurrentTypingSupport() != TypingSupport::None;
        QCOMPARE(Enabled(w.menus->mnuEdit(), 12), canType);
        QCOMPARE(Enabled(w.popups->mnuPopup(), 18), canType);

        SetCodeClock([] { return std::int64_t{59}; });
        w.popups->RunGridItem(17);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("287082"));
        ClearSecretFromClipboard();

        QString typed;
        x11::TypeResult answer = x11::TypeResult::Typed;
        w.menus->SetTyping([&](std::uint64_t, const KeyStrokes& strokes) {
            for (const KeyStroke& stroke : strokes)
                typed += stroke.kind == KeyStroke::Kind::Text ? stroke.text : QStringLiteral("?");
            return answer;
        });
        w.popups->RunGridItem(18);
        QCOMPARE(typed, QStringLiteral("287082"));
        // Stopped halfway, or nowhere to type: a message says so.
        for (const auto& [result, textId] : {std::pair{x11::TypeResult::FocusMoved, 33810},
                                             std::pair{x11::TypeResult::NoWindow, 35139}}) {
            answer = result;
            ModalScript script;
            script.On<frmMessage>([textId = textId](frmMessage* m) {
                QCOMPARE(MessageText(m), GetLocalText(textId));
                AnswerYes(m); // the one OK button
            });
            script.Start();
            w.menus->mnuEdit_Click(12);
            QVERIFY(script.Done());
        }
        SetCodeClock({});
        QCOMPARE(QGuiApplication::clipboard()->text(), QString()); // typing copies nothing
    }

    void cutDeletesAfterCopying() {
        MenuWindow w;
        AddEntry("Bank");
        w.SelectRow(QStringLiteral("Bank"));
        w.menus->mnuEdit_Click(0);
        QVERIFY(!Store().Password().Contains("Bank"));
        QVERIFY(w.menus->Clipboard().HasEntry());
    }

    void passwordMenuFollowsRowAndNode() {
        MenuWindow w;
        AddEntry("Bank");
        w.menus->PreparePasswordMenu();
        QVERIFY(!Enabled(w.menus->mnuPassword(), 1) && !Enabled(w.menus->mnuPassword(), 2));
        QCOMPARE(w.menus->mnuPassword().Item(10)->text(), GetLocalText(440));
        QVERIFY(Store().AddFavourite("Bank"));
        w.ShowNode(QStringLiteral("P"));
        w.SelectRow(QStringLiteral("Bank"));
        w.menus->PreparePasswordMenu();
        QVERIFY(Enabled(w.menus->mnuPassword(), 1) && Enabled(w.menus->mnuPassword(), 2));
        QCOMPARE(w.menus->mnuPassword().Item(10)->text(), GetLocalText(441));
    }

    void favouriteToggleByShownNode() {
        MenuWindow w;
        AddEntry("Bank");
        w.SelectRow(QStringLiteral("Bank"));
        w.popups->RunGridItem(0); // Password 10 on the root: add
        QCOMPARE(Store().FavouriteNumber(), 1);
        w.ShowNode(QStringLiteral("P"));
        w.SelectRow(QStringLiteral("Bank"));
        w.menus->mnuPassword_Click(10);
        QCOMPARE(Store().FavouriteNumber(), 0);
    }

    void gridPopupEnablesByAddresses() {
        MenuWindow w;
        AddEntry("Bank", 0, 0, "https://bank.example", "", "https://bank.example/pw");
        w.ShowNode(QStringLiteral("P"));
        w.popups->PrepareGridPopup(QStringLiteral("Bank"));
        const IndexedMenu& popup = w.popups->mnuPopup();
        QVERIFY(Enabled(popup, 2));
        QVERIFY(!Enabled(popup, 3)); // empty "ExpURL"
        QVERIFY(Enabled(popup, 4));
        QVERIFY(!Enabled(popup, 8)); // nothing copied yet
        for (int index : {6, 7, 10, 11, 12, 15, 16})
            QVERIFY(Enabled(popup, index));
        QCOMPARE(popup.Item(0)->text(), GetLocalText(441));
    }

    void treePopupByNodeKind_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("addText"); // 0: item 2 hidden
        QTest::addColumn<bool>("edit");   // items 3 and 4
        QTest::addColumn<bool>("move");   // item 5
        QTest::addColumn<int>("entries"); // item 6: -1 hidden, 0 disabled, 1 enabled
        QTest::addColumn<int>("renameText");
        QTest::newRow("root") << "R" << 855 << false << false << -1 << 860;
        QTest::newRow("favourites") << "P" << 855 << false << false << -1 << 860;
        QTest::newRow("expired") << "E2" << 855 << false << false << -1 << 860;
        QTest::newRow("no category") << "C0" << 0 << false << false << -1 << 860;
        QTest::newRow("category with subcategory") << "C1" << 856 << true << false << -1 << 860;
        QTest::newRow("category without") << "C2" << 856 << true << true << -1 << 860;
        QTest::newRow("subcategory") << "S1C1" << 0 << true << true << 1 << 861;
        QTest::newRow("no subcategory") << "S0C1" << 0 << false << false << 0 << 861;
    }
    void treePopupByNodeKind() {
        QFETCH(QString, key);
        QFETCH(int, addText);
        QFETCH(bool, edit);
        QFETCH(bool, move);
        QFETCH(int, entries);
        QFETCH(int, renameText);
        QVERIFY(Store().CatAdd("Banks") && Store().CatAdd("Cards"));
        QVERIFY(Store().SubCatAdd(1, "Online"));
        MenuWindow w;
        w.popups->PrepareTreePopup(ReadNodeKey(key));
        const IndexedMenu& popup = w.popups->mnuTVPopup();
        QCOMPARE(popup.Item(2)->isVisible(), addText != 0);
        if (addText) QCOMPARE(popup.Item(2)->text(), GetLocalText(addText));
        QCOMPARE(popup.Item(3)->text(), GetLocalText(renameText));
        QCOMPARE(Enabled(popup, 3), edit);
        QCOMPARE(Enabled(popup, 4), edit);
        QCOMPARE(Enabled(popup, 5), move);
        QCOMPARE(popup.Item(6)->isVisible(), entries >= 0);
        if (entries >= 0) QCOMPARE(Enabled(popup, 6), entries == 1);
        QVERIFY(Enabled(popup, 0));
    }

    void deleteEntryAsksFirst_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes deletes") << true;
        QTest::newRow("no keeps") << false;
    }
    void deleteEntryAsksFirst() {
        QFETCH(bool, yes);
        MenuWindow w;
        AddEntry("Bank & Co");
        w.SelectRow(QStringLiteral("Bank & Co"));
        ModalScript script;
        script.On<frmMessage>([yes](frmMessage* m) {
            QCOMPARE(MessageText(m), GetLocalText(30007).replace("%n", "Bank & Co"));
            QVERIFY(IsShown(m, "cmdNo") && !IsShown(m, "cmdCancel"));
            yes ? AnswerYes(m) : AnswerNo(m);
        });
        script.Start();
        w.popups->RunGridItem(16); // Password 2
        QVERIFY(script.Done());
        QCOMPARE(Store().Password().Contains("Bank & Co"), !yes);
    }

    void editWithoutRowWarns() {
        MenuWindow w;
        ModalScript script;
        script.On<frmMessage>([](frmMessage* m) {
            QCOMPARE(MessageText(m), GetLocalText(9005));
            AnswerYes(m); // the one OK button
        });
        script.Start();
        w.menus->mnuPassword_Click(1);
        QVERIFY(script.Done());
    }

    void subcategoryCommandNeedsACategory() {
        MenuWindow w;
        ModalScript script;
        script.On<frmMessage>([](frmMessage* m) {
            QCOMPARE(MessageText(m), GetLocalText(30008));
            AnswerYes(m);
        });
        script.Start();
        w.menus->mnuPassword_Click(6);
        QVERIFY(script.Done());
    }

    // Options 1 opens the file password window in its change mode.
    void changePasswordCommandAsksTheOldPassword() {
        MenuWindow w;
        w.window.UpdateView(QString()); // a file is open: the command is there
        ModalScript script;
        script.On<frmFilePW>([](frmFilePW* pw) {
            QVERIFY(IsShown(pw, "txtPW3") && IsShown(pw, "txtPW2"));
            Click(pw, "cmdCancel");
        });
        script.Start();
        w.menus->mnuOption_Click(1);
        QVERIFY(script.Done());
    }

    // Each column has its own name in View > Columns.
    void columnsMenuNamesEveryColumnOnce() {
        MenuWindow w;
        w.window.UpdateView(QString());
        emit w.menus->mnuColumns()->aboutToShow();
        QStringList names;
        for (const QAction* item : w.menus->mnuColumns()->actions())
            names << item->text();
        QCOMPARE(names.size(), GridColumn::Count - GridColumn::Service);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        QVERIFY(names.contains(GetLocalText(31003)) && names.contains(GetLocalText(31004)));
    }

    // The update check names the running version by its numbers.
    void updatePageCarriesTheVersionNumbers() {
        const QString before = QCoreApplication::applicationVersion();
        QCoreApplication::setApplicationVersion(QStringLiteral("2.10.7"));
        App().versionText = QStringLiteral("QVS Vault V2.10.7 beta");
        QVERIFY(MakerPageUrl(1).endsWith(QStringLiteral("?2.10.7")));
        QCoreApplication::setApplicationVersion(before);
        QCOMPARE(MakerPageUrl(9), QString());
    }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
