// The main window's menus, pop-ups and toolbar: their items in order, and
// what they enable by the file state, the selected row and the clicked node.
#include "tests/mainwin/menus_fixture.h"

#include "autotype/secret_clipboard.h"
#include "autotype/typing_backend.h"
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

// Every item of a menu as it shows, top down: its command and text id (0
// marks a separator).
template <typename Command> using Layout = std::vector<std::pair<Command, int>>;

template <typename Menu>
void ExpectLayout(const Menu& menu, const Layout<typename Menu::CommandType>& layout) {
    const QList<QAction*> shown = menu.Menu()->actions();
    QCOMPARE(shown.size(), qsizetype(layout.size()));
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const auto& [command, id] = layout[size_t(i)];
        QVERIFY2(menu.Item(command) == shown[i], qPrintable(QString::number(i)));
        if (id == 0)
            QVERIFY(shown[i]->isSeparator());
        else
            QCOMPARE(shown[i]->text(), GetLocalText(id));
    }
}

template <typename Menu, typename Command> bool Enabled(const Menu& menu, Command command) {
    return menu.Item(command)->isEnabled();
}

// A desktop that types only into the focused window, as the portal does.
class FocusOnlyBackend : public TypingBackend {
public:
    QString Name() const override { return QStringLiteral("focus-only"); }
    TypingSupport Support() const override { return TypingSupport::Full; }
    bool KnowsWindows() const override { return false; }
    std::uint64_t ActiveWindow() override { return kFocusedWindow; }
    bool IsOwnWindow(std::uint64_t) override { return false; }
    void Type(std::uint64_t, const KeyStrokes&, TypingDone done) override {
        done({TypeResult::Typed, 0});
    }
};

using E = EditCommand;
using P = PasswordCommand;
using G = GridCommand;
using T = TreeCommand;

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

    void itemsInOrder() {
        MenuWindow w;
        ExpectLayout(w.menus->mnuEdit(), {{E::Cut, 121},
                                          {E::Copy, 122},
                                          {E::Paste, 123},
                                          {E::SeparatorAfterPaste, 0},
                                          {E::CopyPassword, 124},
                                          {E::CopyLogin, 125},
                                          {E::CopyAccessUrl, 126},
                                          {E::CopyCode, 35100},
                                          {E::TypeCode, 35141},
                                          {E::SeparatorBeforeOpen, 0},
                                          {E::OpenAccessUrl, 127},
                                          {E::OpenDeleteUrl, 128},
                                          {E::OpenChangeUrl, 129}});
        using V = ViewCommand;
        ExpectLayout(w.menus->mnuView(), {{V::Toolbar, 141},
                                          {V::StatusBar, 142},
                                          {V::Tree, 143},
                                          {V::Notes, 144},
                                          {V::SeparatorBeforeColumns, 0},
                                          {V::Columns, 145},
                                          {V::Sort, 146},
                                          {V::SortOrder, 147}});
        ExpectLayout(w.menus->mnuPassword(), {{P::Add, 161},
                                              {P::Edit, 162},
                                              {P::Delete, 163},
                                              {P::SeparatorAfterDelete, 0},
                                              {P::Categories, 164},
                                              {P::SubCategories, 165},
                                              {P::SeparatorBeforeExpiry, 0},
                                              {P::CheckExpiry, 166},
                                              {P::SeparatorBeforeFavourite, 0},
                                              {P::Favourite, 440}});
        using O = OptionCommand;
        ExpectLayout(w.menus->mnuOption(), {{O::Options, 181},
                                            {O::FilePassword, 182},
                                            {O::SeparatorAfterPassword, 0},
                                            {O::SaveLayout, 183},
                                            {O::GoToTray, 184}});
        using H = HelpCommand;
        ExpectLayout(w.menus->mnuHelp(), {{H::Contents, 191},
                                          {H::Search, 192},
                                          {H::SeparatorAfterSearch, 0},
                                          {H::Web, 193},
                                          {H::SeparatorBeforeAbout, 0},
                                          {H::About, 198}});
        using W = HelpWebCommand;
        ExpectLayout(w.menus->mnuHelpWeb(),
                     {{W::Home, 194}, {W::VersionCheck, 195}, {W::Forum, 196}, {W::Mail, 197}});
        QCOMPARE(w.menus->mnuHelp().SubMenu(H::Web), w.menus->mnuHelpWeb().Menu());
        ExpectLayout(w.popups->mnuPopup(), {{G::Favourite, 440},
                                            {G::SeparatorAfterFavourite, 0},
                                            {G::OpenAccessUrl, 127},
                                            {G::OpenDeleteUrl, 128},
                                            {G::OpenChangeUrl, 129},
                                            {G::SeparatorBeforeCut, 0},
                                            {G::Cut, 121},
                                            {G::Copy, 122},
                                            {G::Paste, 123},
                                            {G::SeparatorAfterPaste, 0},
                                            {G::CopyPassword, 124},
                                            {G::CopyLogin, 125},
                                            {G::CopyAccessUrl, 126},
                                            {G::CopyCode, 35100},
                                            {G::TypeCode, 35141},
                                            {G::SeparatorBeforeAdd, 0},
                                            {G::Add, 161},
                                            {G::Edit, 162},
                                            {G::Delete, 163}});
        using S = SortOrderCommand;
        ExpectLayout(w.popups->mnuPopupCol(), {{S::Ascending, 148}, {S::Descending, 149}});
        ExpectLayout(w.popups->mnuTVPopup(), {{T::AddEntry, 161},
                                              {T::SeparatorAfterAddEntry, 0},
                                              {T::AddFolder, 855},
                                              {T::Rename, 860},
                                              {T::Delete, 865},
                                              {T::Move, 870},
                                              {T::MoveEntries, 872}});
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
            using V = ViewCommand;
            for (V command :
                 {V::Notes, V::SeparatorBeforeColumns, V::Columns, V::Sort, V::SortOrder})
                QCOMPARE(w.menus->mnuView().Item(command)->isVisible(), open);
            for (V command : {V::Toolbar, V::StatusBar, V::Tree})
                QVERIFY(w.menus->mnuView().Item(command)->isVisible());
            QCOMPARE(w.menus->mnuOption().Item(OptionCommand::FilePassword)->isVisible(), open);
            for (const QAction* button : bar->actions())
                QCOMPARE(button->isEnabled(), open || always.contains(button->objectName()));
        }
        QCOMPARE(ToolbarButton(*bar, "del")->toolTip(), GetLocalText(955));
        // Without a file the entry commands' shortcuts do nothing.
        AddEntry("Bank");
        w.SelectRow(QStringLiteral("Bank"));
        w.menus->EnableFileCommands(false);
        w.menus->mnuEdit_Click(E::Cut);
        ToolbarButton(*bar, "del")->trigger(); // disabled: no effect
        QVERIFY(Store().Password().Contains("Bank"));
        QCOMPARE(bar->actions().indexOf(ToolbarButton(*bar, "what")), 18);
    }

    void viewTogglesPanesAndIconsFollowTheSetting() {
        MenuWindow w;
        QToolBar* bar = w.window.ToolBar();
        QAction* toolbarItem = w.menus->mnuView().Item(ViewCommand::Toolbar);
        toolbarItem->trigger(); // unchecks
        QVERIFY(bar->isHidden());
        bar->show(); // as a loaded layout may do
        emit w.menus->mnuView().Menu()->aboutToShow();
        QVERIFY(toolbarItem->isChecked());
        w.menus->mnuView().Item(ViewCommand::Tree)->trigger();
        QVERIFY(w.window.Tree()->isHidden());
        w.menus->mnuView().Item(ViewCommand::Notes)->trigger();
        QVERIFY(w.window.Grid()->txtNotes()->isHidden());
        w.menus->mnuOption_Click(OptionCommand::SaveLayout);
        QVERIFY(!frmMain().TreeVisible());

        QVERIFY(!w.menus->mnuEdit().Item(E::Cut)->icon().isNull()); // on by default
        Opt().ViewMenuIcon = false;
        w.menus->ReInitMenu();
        QVERIFY(w.menus->mnuEdit().Item(E::Cut)->icon().isNull());
    }

    void editMenuFollowsTheSelectedRow() {
        MenuWindow w;
        AddEntry("Bank", 0, 0, "https://bank.example", "", "");
        AddEntry("Shop", 0, 0, "", "https://shop.example/del", "https://shop.example/pw");
        const auto enabled = [&] {
            w.menus->PrepareEditMenu();
            QList<E> on;
            for (E command :
                 {E::Paste, E::CopyAccessUrl, E::OpenAccessUrl, E::OpenDeleteUrl, E::OpenChangeUrl})
                if (Enabled(w.menus->mnuEdit(), command)) on << command;
            return on;
        };
        w.ShowNode(QStringLiteral("R"));
        QCOMPARE(enabled(), QList<E>{});
        w.SelectRow(QStringLiteral("Bank"));
        QCOMPARE(enabled(), (QList<E>{E::CopyAccessUrl, E::OpenAccessUrl}));
        w.SelectRow(QStringLiteral("Shop"));
        QCOMPARE(enabled(), (QList<E>{E::OpenDeleteUrl, E::OpenChangeUrl}));
        // The first copy enables paste, and it stays after a refresh.
        w.menus->mnuEdit_Click(E::Copy);
        w.window.UpdateView(QString());
        w.SelectRow(QStringLiteral("Shop"));
        QCOMPARE(enabled(), (QList<E>{E::Paste, E::OpenDeleteUrl, E::OpenChangeUrl}));
    }

    // Offered only for an entry with a code, which goes to the clipboard, or
    // is typed into the window used before ours, as the code of this moment,
    // from the Edit menu and the grid's pop-up. Typing that fails says why.
    void codeItemsCopyAndTypeTheCode() {
        MenuWindow w;
        AddEntry("Plain");
        AddEntryWithCode("Bank");
        w.ShowNode(QStringLiteral("R"));
        w.SelectRow(QStringLiteral("Plain"));
        w.menus->PrepareEditMenu();
        w.popups->PrepareGridPopup(QStringLiteral("Plain"));
        for (E command : {E::CopyCode, E::TypeCode})
            QVERIFY(!Enabled(w.menus->mnuEdit(), command));
        for (G command : {G::CopyCode, G::TypeCode})
            QVERIFY(!Enabled(w.popups->mnuPopup(), command));
        w.SelectRow(QStringLiteral("Bank"));
        w.menus->PrepareEditMenu();
        w.popups->PrepareGridPopup(QStringLiteral("Bank"));
        QVERIFY(Enabled(w.menus->mnuEdit(), E::CopyCode) &&
                Enabled(w.popups->mnuPopup(), G::CopyCode));
        // Typing also needs a display to type on.
        const bool canType = CurrentTypingSupport() != TypingSupport::None;
        QCOMPARE(Enabled(w.menus->mnuEdit(), E::TypeCode), canType);
        QCOMPARE(Enabled(w.popups->mnuPopup(), G::TypeCode), canType);

        SetCodeClock([] { return std::int64_t{59}; });
        w.popups->RunGridItem(G::CopyCode);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("287082"));
        ClearSecretFromClipboard();

        QString typed;
        TypeResult answer = TypeResult::Typed;
        w.menus->SetTyping([&](std::uint64_t, const KeyStrokes& strokes, TypingDone done) {
            for (const KeyStroke& stroke : strokes)
                typed += stroke.kind == KeyStroke::Kind::Text ? stroke.text : QStringLiteral("?");
            done({answer, 0});
        });
        w.popups->RunGridItem(G::TypeCode);
        QCOMPARE(typed, QStringLiteral("287082"));
        // Stopped halfway, or nowhere to type: a message says so.
        for (const auto& [result, textId] :
             {std::pair{TypeResult::FocusMoved, 33810}, std::pair{TypeResult::NoWindow, 35139}}) {
            answer = result;
            ModalScript script;
            script.On<frmMessage>([textId = textId](frmMessage* m) {
                QCOMPARE(MessageText(m), GetLocalText(textId));
                AnswerYes(m); // the one OK button
            });
            script.Start();
            w.menus->mnuEdit_Click(E::TypeCode);
            QVERIFY(script.Done());
        }
        SetCodeClock({});
        QCOMPARE(QGuiApplication::clipboard()->text(), QString()); // typing copies nothing
    }

    // Where the desktop cannot say which window was used before ours, the
    // main window steps aside first, and the code goes to whichever window
    // then has the focus.
    void withoutKnownWindowsTheMainWindowStepsAsideBeforeTyping() {
        ReplaceTypingBackendForTesting(std::make_unique<FocusOnlyBackend>());
        {
            MenuWindow w;
            AddEntryWithCode("Bank");
            w.ShowNode(QStringLiteral("R"));
            w.SelectRow(QStringLiteral("Bank"));
            w.window.show();
            std::optional<std::uint64_t> typedInto;
            bool minimisedWhenTyped = false;
            w.menus->SetTyping([&](std::uint64_t window, const KeyStrokes&, TypingDone done) {
                typedInto = window;
                minimisedWhenTyped = w.window.isMinimized();
                done({TypeResult::Typed, 0});
            });
            w.menus->mnuEdit_Click(E::TypeCode);
            QTRY_VERIFY(typedInto.has_value());
            QCOMPARE(*typedInto, kFocusedWindow);
            QVERIFY(minimisedWhenTyped);
        }
        ReplaceTypingBackendForTesting(nullptr);
    }

    void cutDeletesAfterCopying() {
        MenuWindow w;
        AddEntry("Bank");
        w.SelectRow(QStringLiteral("Bank"));
        w.menus->mnuEdit_Click(E::Cut);
        QVERIFY(!Store().Password().Contains("Bank"));
        QVERIFY(w.menus->Clipboard().HasEntry());
    }

    void passwordMenuFollowsRowAndNode() {
        MenuWindow w;
        AddEntry("Bank");
        w.menus->PreparePasswordMenu();
        QVERIFY(!Enabled(w.menus->mnuPassword(), P::Edit));
        QVERIFY(!Enabled(w.menus->mnuPassword(), P::Delete));
        QCOMPARE(w.menus->mnuPassword().Item(P::Favourite)->text(), GetLocalText(440));
        QVERIFY(Store().AddFavourite("Bank"));
        w.ShowNode(QStringLiteral("P"));
        w.SelectRow(QStringLiteral("Bank"));
        w.menus->PreparePasswordMenu();
        QVERIFY(Enabled(w.menus->mnuPassword(), P::Edit));
        QVERIFY(Enabled(w.menus->mnuPassword(), P::Delete));
        QCOMPARE(w.menus->mnuPassword().Item(P::Favourite)->text(), GetLocalText(441));
    }

    void favouriteToggleByShownNode() {
        MenuWindow w;
        AddEntry("Bank");
        w.SelectRow(QStringLiteral("Bank"));
        w.popups->RunGridItem(G::Favourite); // on the root: add
        QCOMPARE(Store().FavouriteNumber(), 1);
        w.ShowNode(QStringLiteral("P"));
        w.SelectRow(QStringLiteral("Bank"));
        w.menus->mnuPassword_Click(P::Favourite);
        QCOMPARE(Store().FavouriteNumber(), 0);
    }

    void gridPopupEnablesByAddresses() {
        MenuWindow w;
        AddEntry("Bank", 0, 0, "https://bank.example", "", "https://bank.example/pw");
        w.ShowNode(QStringLiteral("P"));
        w.popups->PrepareGridPopup(QStringLiteral("Bank"));
        const auto& popup = w.popups->mnuPopup();
        QVERIFY(Enabled(popup, G::OpenAccessUrl));
        QVERIFY(!Enabled(popup, G::OpenDeleteUrl)); // empty "ExpURL"
        QVERIFY(Enabled(popup, G::OpenChangeUrl));
        QVERIFY(!Enabled(popup, G::Paste)); // nothing copied yet
        for (G command :
             {G::Cut, G::Copy, G::CopyPassword, G::CopyLogin, G::CopyAccessUrl, G::Edit, G::Delete})
            QVERIFY(Enabled(popup, command));
        QCOMPARE(popup.Item(G::Favourite)->text(), GetLocalText(441));
    }

    void treePopupByNodeKind_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("addText"); // 0: AddFolder hidden
        QTest::addColumn<bool>("edit");   // Rename and Delete
        QTest::addColumn<bool>("move");
        QTest::addColumn<int>("entries"); // MoveEntries: -1 hidden, 0 disabled, 1 enabled
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
        const auto& popup = w.popups->mnuTVPopup();
        QCOMPARE(popup.Item(T::AddFolder)->isVisible(), addText != 0);
        if (addText) QCOMPARE(popup.Item(T::AddFolder)->text(), GetLocalText(addText));
        QCOMPARE(popup.Item(T::Rename)->text(), GetLocalText(renameText));
        QCOMPARE(Enabled(popup, T::Rename), edit);
        QCOMPARE(Enabled(popup, T::Delete), edit);
        QCOMPARE(Enabled(popup, T::Move), move);
        QCOMPARE(popup.Item(T::MoveEntries)->isVisible(), entries >= 0);
        if (entries >= 0) QCOMPARE(Enabled(popup, T::MoveEntries), entries == 1);
        QVERIFY(Enabled(popup, T::AddEntry));
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
        w.popups->RunGridItem(G::Delete);
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
        w.menus->mnuPassword_Click(P::Edit);
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
        w.menus->mnuPassword_Click(P::SubCategories);
        QVERIFY(script.Done());
    }

    // The file password command opens its window in the change mode.
    void changePasswordCommandAsksTheOldPassword() {
        MenuWindow w;
        w.window.UpdateView(QString()); // a file is open: the command is there
        ModalScript script;
        script.On<frmFilePW>([](frmFilePW* pw) {
            QVERIFY(IsShown(pw, "txtPW3") && IsShown(pw, "txtPW2"));
            Click(pw, "cmdCancel");
        });
        script.Start();
        w.menus->mnuOption_Click(OptionCommand::FilePassword);
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
        QVERIFY(MakerPageUrl(static_cast<int>(HelpWebCommand::VersionCheck))
                    .endsWith(QStringLiteral("?2.10.7")));
        QCoreApplication::setApplicationVersion(before);
        QCOMPARE(MakerPageUrl(9), QString());
    }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
