// Finding entries as you type: folding (case and accents), which fields are
// searched (never the password), and the search in the main window: the
// results node, Escape back to the node shown before, and results that stay
// right while entries change.
#include "tests/mainwin/menus_fixture.h"

#include "dialogs/entry/frm_pw.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "mainwin/entry_grid.h"
#include "mainwin/entry_grid_view.h"
#include "mainwin/entry_search.h"
#include "mainwin/entry_search_box.h"
#include "mainwin/entry_search_index.h"
#include "mainwin/node_key.h"
#include "mainwin/status_bar.h"
#include "store/search_fold.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace qvs;

QString FoldForSearch(const QString& text) {
    return QString::fromStdString(ardeko::FoldForSearch(text.toStdString()));
}

namespace {

ardeko::T_Password Entry(const char* service, std::int16_t cat = 0) {
    ardeko::T_Password p;
    p.service = service;
    p.Codcat = cat;
    return p;
}

// Every searched field of one entry holds a word found nowhere else; the
// password holds one too.
ardeko::T_Password Target() {
    ardeko::T_Password p = Entry("Target");
    p.User = "uservalue";
    p.Email = "mailvalue@example.org";
    p.URL_Access = "https://accessvalue.example";
    p.URL_Change = "https://changevalue.example";
    p.URL_Delete = "https://deletevalue.example";
    p.Descr = "first line\nnotesvalue";
    p.pw = "secretvalue";
    p.Remember = "reminder";
    return p;
}

QStringList Services(const ardeko::clsPW& store, const EntrySearchIndex::Positions& found) {
    QStringList names;
    for (std::size_t at : found)
        names << QString::fromStdString(store.Password()[at].service);
    return names;
}

QStringList Rows(const frmMain& w) {
    QStringList names;
    for (int row = 0; row < w.Grid()->model()->rowCount(); ++row)
        names << w.Grid()->model()->ServiceAt(row);
    return names;
}

frmPW* OpenEditor() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* editor = qobject_cast<frmPW*>(w); editor && editor->isVisible()) return editor;
    return nullptr;
}

} // namespace

class TestEntrySearch : public QObject {
    Q_OBJECT
    FakeMainWindow fake_;
    std::int16_t banks_ = 0;
    std::int16_t shops_ = 0;

    EntrySearchBox* Box(frmMain& w) { return w.findChild<EntrySearchBox*>(); }
    QLineEdit* Text(frmMain& w) { return Box(w)->txtSearch(); }
    void Type(frmMain& w, const QString& text) { QTest::keyClicks(Text(w), text); }
    // Shows the window active, with this node's entries listed.
    void ShowWindow(MenuWindow& m, const QString& key) {
        m.ShowNode(key);
        m.window.show();
        QApplication::setActiveWindow(&m.window);
        QVERIFY(QTest::qWaitForWindowActive(&m.window));
    }
    void Search(MenuWindow& m, const QString& text) {
        QTest::keyClick(&m.window, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(Box(m.window)->IsOpen());
        Type(m.window, text);
    }

private slots:
    void initTestCase() { LoadEnglish(); }
    void init() {
        ResetProgram(fake_);
        Opt().DefaultGridAction = 4; // copy the address
        Store().NewFile();
        QVERIFY(Store().CatAdd("Banks"));
        QVERIFY(Store().CatAdd("Shops"));
        banks_ = Store().Category().Find("Banks")->Codcat;
        shops_ = Store().Category().Find("Shops")->Codcat;
        ardeko::T_Password alpha = Entry("Alpha Bank", banks_);
        alpha.URL_Access = "https://alpha.example";
        alpha.pw = "Cafe-password";
        QVERIFY(Store().PWAdd(alpha));
        ardeko::T_Password beta = Entry("Beta Bank", banks_);
        beta.Descr = "Card kept at the Café";
        beta.URL_Access = "https://beta.example";
        QVERIFY(Store().PWAdd(beta));
        ardeko::T_Password shop = Entry("Crème Shop", shops_);
        shop.User = "ZOË";
        QVERIFY(Store().PWAdd(shop));
        QVERIFY(Store().PWAdd(Entry("Mail")));
    }
    void cleanup() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(ModalDepth(), 0);
    }

    void foldingIgnoresCaseAndAccents() {
        const std::pair<QString, QString> cases[] = {
            {"MiXeD 42 Case", "mixed 42 case"},
            {"Crème Brûlée ÀÉÎÕÜ", "creme brulee aeiou"},
            {"Cafe\u0301", "cafe"}, // decomposed
            {"Straße Ærø Łódź Œuvre", "strasse aero lodz oeuvre"},
            {"\uFB01le \u2460 \uFF21", "file 1 a"}, // compatibility forms
            {"ΆΘΉΝΑ", "αθηνα"},
        };
        for (const auto& [text, folded] : cases)
            QCOMPARE(FoldForSearch(text), folded);
    }

    void everySearchedFieldIsFoundButNeverThePassword() {
        ardeko::clsPW store;
        QVERIFY(store.InsertPassword(Target()));
        ardeko::T_Password other = Entry("Other");
        other.Descr = "othervalue";
        other.pw = "secretvalue";
        QVERIFY(store.InsertPassword(other));
        EntrySearchIndex index;
        index.Build(store);
        const QStringList target{"Target"};
        const std::pair<const char*, QStringList> cases[] = {
            {"TARG", target},
            {"UserValue", target},
            {"mailvalue@", target},
            {"accessvalue", target},
            {"changevalue", target},
            {"deletevalue", target},
            {"notesvalue", target},
            {"secretvalue", {}},
            {"reminder", {}},
            {"targetuservalue", {}}, // across two fields
            {"value", {"Other", "Target"}},
        };
        for (const auto& [text, found] : cases)
            QVERIFY2(Services(store, index.Find(FoldForSearch(text))) == found, text);
    }

    // A longer text looks only among what the shorter found: same answer.
    void narrowingFindsWhatAFullSearchFinds() {
        EntrySearchIndex index;
        index.Build(Store());
        const EntrySearchIndex::Positions wide = index.Find(QStringLiteral("a"));
        QCOMPARE(wide.size(), std::size_t{3});
        QCOMPARE(index.Find(QStringLiteral("ban"), &wide), index.Find(QStringLiteral("ban")));
        QVERIFY(index.IsCurrentFor(Store()));
        QVERIFY(Store().PWDel("Mail"));
        QVERIFY(!index.IsCurrentFor(Store()));
    }

    // Ctrl+F opens the box; from the first character the grid lists the
    // matches of the whole file under the results node, whatever node was
    // shown; accents and case in the text or the entry make no difference.
    void typingListsTheMatchesOfTheWholeFile() {
        MenuWindow m;
        frmMain& w = m.window;
        ShowWindow(m, CategoryNodeKey(banks_));
        Search(m, QStringLiteral("c"));
        QVERIFY(Text(w)->hasFocus());
        QCOMPARE(Rows(w), (QStringList{"Beta Bank", "Crème Shop"}));
        QCOMPARE(w.Tree()->SelectedKey(), QLatin1String(kSearchKey));
        QCOMPARE(w.Tree()->topLevelItem(0)->text(CategoryTree::NameColumn), GetLocalText(32200));
        QCOMPARE(w.Tree()->topLevelItem(0)->text(CategoryTree::NumberColumn), "2");
        QCOMPARE(w.StatusBar()->Texts().value(0), "Entries: 2");

        Type(w, QStringLiteral("AFÉ")); // "cafÉ": the notes' "Café", not the password's "Cafe"
        QCOMPARE(Rows(w), QStringList{"Beta Bank"});
        Text(w)->setText(QStringLiteral("zoe"));
        QCOMPARE(Rows(w), QStringList{"Crème Shop"});
        QVERIFY(Box(w)->lblNothingFound()->isHidden());
        Text(w)->setText(QStringLiteral("password"));
        QVERIFY(Rows(w).isEmpty());
        QVERIFY(!Box(w)->lblNothingFound()->isHidden());
        QCOMPARE(w.Tree()->topLevelItem(0)->text(CategoryTree::NumberColumn), "0");
        // The tree commands have nothing to do with the results node.
        QVERIFY(!w.Tree()->FindNode(QLatin1String(kSearchKey)));
    }

    // Escape (in the box or the grid), and emptying the box, show the node
    // shown before again; choosing another node ends the search there.
    void escapeRestoresTheNodeShownBefore() {
        MenuWindow m;
        frmMain& w = m.window;
        const QString banks = CategoryNodeKey(banks_);
        ShowWindow(m, banks);
        Search(m, QStringLiteral("shop"));
        QTest::keyClick(Text(w), Qt::Key_Escape);
        QVERIFY(!Box(w)->IsOpen());
        QCOMPARE(w.SelectedNodeKey(), banks);
        QCOMPARE(Rows(w), (QStringList{"Alpha Bank", "Beta Bank"}));
        QCOMPARE(w.StatusBar()->Texts().value(0), "Entries: 2");

        // From the grid, keeping the found entry selected where it is listed.
        Search(m, QStringLiteral("beta"));
        QTest::keyClick(Text(w), Qt::Key_Down);
        QVERIFY(w.Grid()->grdpw()->hasFocus());
        QCOMPARE(w.SelectedService(), "Beta Bank");
        QTest::keyClick(w.Grid()->grdpw(), Qt::Key_Escape);
        QVERIFY(!Box(w)->IsOpen());
        QCOMPARE(w.Tree()->ShownKey(), banks);
        QCOMPARE(w.SelectedService(), "Beta Bank");

        // Emptying the box goes back but leaves it open for the next text.
        Search(m, QStringLiteral("mail"));
        QCOMPARE(Rows(w), QStringList{"Mail"});
        Text(w)->clear();
        QVERIFY(Box(w)->IsOpen());
        QVERIFY(!w.Tree()->HasSearchNode());
        QCOMPARE(w.Tree()->ShownKey(), banks);

        Type(w, QStringLiteral("mail"));
        QVERIFY(w.Tree()->SelectNode(QStringLiteral("P")));
        QVERIFY(!Box(w)->IsOpen());
        QCOMPARE(w.Grid()->ShownNode(), "P");
        QVERIFY(!w.Tree()->HasSearchNode());
    }

    // Sorting, the default action and the entry commands act on the results.
    void commandsWorkOnTheResults() {
        MenuWindow m;
        frmMain& w = m.window;
        ShowWindow(m, QStringLiteral("R"));
        Search(m, QStringLiteral("bank"));
        w.Grid()->SortGrid(GridColumn::Service, Qt::DescendingOrder);
        QCOMPARE(Rows(w), (QStringList{"Beta Bank", "Alpha Bank"}));
        QTest::keyClick(Text(w), Qt::Key_Return); // on to the first result
        QCOMPARE(w.SelectedService(), "Beta Bank");
        QTest::keyClick(w.Grid()->grdpw(), Qt::Key_Return);
        QCOMPARE(QGuiApplication::clipboard()->text(), "https://beta.example");
    }

    // Edits and deletions made while searching: the results, the results
    // node's number and the status bar follow at once.
    void changesWhileSearchingKeepTheResultsRight() {
        MenuWindow m;
        frmMain& w = m.window;
        ShowWindow(m, CategoryNodeKey(shops_));
        Search(m, QStringLiteral("bank"));
        m.SelectRow("Alpha Bank");
        // F4: renamed, the entry no longer says "bank".
        QTest::keyClick(w.Grid()->grdpw(), Qt::Key_F4);
        QPointer<frmPW> editor = OpenEditor();
        QVERIFY(editor);
        editor->findChild<QLineEdit*>("txtService")->setText("Alpha Savings");
        editor->findChild<QPushButton*>("cmdOK")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(Rows(w), QStringList{"Beta Bank"});
        QCOMPARE(w.Tree()->topLevelItem(0)->text(CategoryTree::NumberColumn), "1");

        QVERIFY(Store().PWDel("Beta Bank")); // as the delete command does
        w.UpdateView(QStringLiteral("Beta Bank"));
        QVERIFY(Rows(w).isEmpty());
        QCOMPARE(w.StatusBar()->Texts().value(0), "Entries: 0");
        QCOMPARE(w.Tree()->ShownKey(), QLatin1String(kSearchKey));

        // A change that rebuilds the tree keeps the search.
        QVERIFY(Store().PWAdd(Entry("Bank of Gamma", banks_)));
        QVERIFY(Store().CatRen("Shops", "Stores"));
        w.UpdateView(QString());
        QCOMPARE(Rows(w), QStringList{"Bank of Gamma"});
        QCOMPARE(w.Tree()->SelectedKey(), QLatin1String(kSearchKey));
        QCOMPARE(Text(w)->text(), "bank");
        QApplication::setActiveWindow(&w); // the editor had it
        QTest::keyClick(Text(w), Qt::Key_Escape);
        QCOMPARE(w.Tree()->ShownKey(), CategoryNodeKey(shops_));
    }

    // Locking and closing the file end the search; the text does not stay.
    void lockingOrClosingTheFileEndsTheSearch() {
        MenuWindow m;
        frmMain& w = m.window;
        ShowWindow(m, QStringLiteral("P"));
        Search(m, QStringLiteral("bank"));
        w.LockView();
        QVERIFY(!Box(w)->IsOpen());
        QVERIFY(Text(w)->text().isEmpty());
        w.UnlockView();
        QCOMPARE(w.Tree()->ShownKey(), "P");
        QVERIFY(!w.Tree()->HasSearchNode());

        Search(m, QStringLiteral("bank"));
        Store().SetFilename("");
        w.UpdateView(QString());
        QVERIFY(!Box(w)->IsOpen());
        QVERIFY(Rows(w).isEmpty());
        w.BeginSearch();
        QVERIFY(!Box(w)->IsOpen());
    }

    // A file replaced while locked, holding as many entries as the one
    // searched before: the search looks through the new entries.
    void aFileChangedWhileLockedIsSearchedAfresh() {
        MenuWindow m;
        frmMain& w = m.window;
        ShowWindow(m, QStringLiteral("P"));
        Search(m, QStringLiteral("bank"));
        QCOMPARE(Rows(w).size(), 2);
        w.LockView();
        Store().NewFile();
        for (const char* service : {"Zeta One", "Zeta Two", "Zeta Three", "Zeta Four"})
            QVERIFY(Store().PWAdd(Entry(service)));
        w.UpdateView(QString());
        w.UnlockView();
        Search(m, QStringLiteral("zeta"));
        QCOMPARE(Rows(w).size(), 4);
        Text(w)->clear();
        Type(w, QStringLiteral("bank"));
        QVERIFY(Rows(w).isEmpty());
    }
};

QTEST_MAIN(TestEntrySearch)
#include "tst_entry_search.moc"
