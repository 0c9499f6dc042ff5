// The category tree: which nodes a file gives, their keys, texts, images and
// numbers, the open/closed state kept in the file, and what the tree reports
// when the user selects or right-clicks a node. Texts come from a test table
// ("txt<id>"), dates from a fixed clock.
#include "frame/options.h"
#include "mainwin/category_tree.h"
#include "mainwin/node_key.h"
#include "tests/frame/test_language.h"
#include "tests/store/store_samples.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace qvs;
using ardeko::clsPW;

namespace {

const double kToday = ardeko::VbDateFromParts({2026, 3, 10, 0, 0, 0});

// Category codes deliberately out of name order: the tree follows the store's
// name order, the keys carry the codes.
constexpr std::int16_t kMail = 1, kBanks = 2, kShops = 3;
constexpr std::int16_t kCards = 1, kLoans = 2, kWork = 3;

ardeko::T_Password Entry(const std::string& name, std::int16_t cat, std::int16_t scat,
                         bool favourite = false) {
    ardeko::T_Password p = SampleEntry(name, cat, scat);
    p.Favourites = favourite;
    return p;
}

ardeko::T_Password Expiring(ardeko::T_Password p, double inDays, std::int16_t warnDays) {
    p.blExpire = true;
    p.Dt_Expire = kToday + inDays;
    p.ggNotExpire = warnDays;
    p.blNotExpire = true;
    return p;
}

ardeko::T_Password Changing(ardeko::T_Password p, double inDays, std::int16_t warnDays) {
    p.blChange = true;
    p.Dt_Change = kToday + inDays;
    p.ggNotChange = warnDays;
    p.blNotChange = true;
    return p;
}

void OpenAs(clsPW& s, const QString& path) {
    s.SetFilename(path.toStdString());
    s.SetClock([] { return kToday + 0.5; });
}

void FillEntries(clsPW& s) {
    s.InsertPassword(Expiring(Entry("Bank A", kBanks, 0, true), 1, 5));
    s.InsertPassword(Expiring(Entry("Bank B", kBanks, kCards), -1, 5));
    s.InsertPassword(Changing(Entry("Bank C", kBanks, kLoans), 0, 0));
    s.InsertPassword(Changing(Entry("Mailbox", kMail, kWork, true), 3, 5));
    s.InsertPassword(Entry("Webmail", kMail, 0));
    s.InsertPassword(Entry("Loose", 0, 0));
    s.InsertPassword(Entry("Loose too", 0, 0, true));
    s.InsertPassword(Changing(Entry("Shop", kShops, 0), 9, 5));
}

void FillCategories(clsPW& s) {
    s.InsertCategory({kMail, "Mail", false});
    s.InsertCategory({kBanks, "Banks", false});
    s.InsertCategory({kShops, "Shops", false});
    s.InsertSubCategory({kCards, kBanks, "Cards"});
    s.InsertSubCategory({kLoans, kBanks, "Loans"});
    s.InsertSubCategory({kWork, kMail, "Work"});
}

// What the store itself answers for a node, asked one operation at a time.
int StoreNumber(const clsPW& s, const QString& key) {
    const NodeCodes codes = ParseNodeKey(key, false);
    switch (NodeKindOf(key)) {
    case NodeKind::Root:
        return int(s.Password().Count());
    case NodeKind::Favourites:
        return s.FavouriteNumber();
    case NodeKind::DueState:
        return key == "E1"   ? s.InExpirationNumber()
               : key == "E2" ? s.ExpiredNumber()
               : key == "X1" ? s.InChangeNumber()
                             : s.ChangedNumber();
    case NodeKind::NoCategory:
    case NodeKind::Category:
        return s.PwInCat(s.CatValue(codes.cat)).value_or(-1);
    case NodeKind::NoSubCategory:
        return s.PwInSubCat(codes.cat, "").value_or(-1);
    case NodeKind::SubCategory:
        return s.PwInSubCat(codes.cat, s.SubCatValue(codes.scat)).value_or(-1);
    case NodeKind::Unknown:
        break;
    }
    return -1;
}

void ForEachNode(const QTreeWidget& tree, const std::function<void(QTreeWidgetItem*)>& f) {
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it; ++it)
        f(*it);
}

QStringList ChildKeys(const QTreeWidgetItem* parent) {
    QStringList keys;
    for (int i = 0; i < parent->childCount(); ++i)
        keys << CategoryTree::NodeKey(parent->child(i));
    return keys;
}

QStringList TopKeys(const QTreeWidget& tree) {
    return ChildKeys(tree.invisibleRootItem());
}

QString Image(const QTreeWidgetItem* item) {
    return item->data(0, CategoryTree::ImageRole).toString();
}

} // namespace

class TestCategoryTree : public QObject {
    Q_OBJECT

    TestLanguage language_{30, 31, 32, 33, 34, 35, 36};
    QTemporaryDir dir_;
    clsPW store_;
    CategoryTree tree_{[this]() -> clsPW& { return store_; }, nullptr};

    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    void OpenSample() {
        FillCategories(store_);
        FillEntries(store_);
        OpenAs(store_, Path("Family.QVS"));
        tree_.LoadTree();
    }

    void VerifyNumbersMatchStore(const CategoryTree& tree, const clsPW& s) {
        ForEachNode(tree, [&](QTreeWidgetItem* item) {
            const QString key = CategoryTree::NodeKey(item);
            QCOMPARE_GE(StoreNumber(s, key), 0);
            QCOMPARE(tree.Number(key), StoreNumber(s, key));
            QCOMPARE(item->text(CategoryTree::NumberColumn), QString::number(tree.Number(key)));
        });
    }

    QTreeWidgetItem* ShowAndFind(const char* key) {
        tree_.resize(300, 600); // room below the last node
        tree_.show();
        if (!QTest::qWaitForWindowExposed(&tree_)) return nullptr;
        return tree_.FindNode(QString::fromLatin1(key));
    }

private slots:
    void init() {
        store_ = clsPW();
        Opt().ViewExpChg = true;
        tree_.LoadTree();
    }

    void emptyWhileNoFileIsOpen() {
        FillCategories(store_);
        FillEntries(store_);
        tree_.LoadTree();
        QCOMPARE(tree_.topLevelItemCount(), 0);
        QCOMPARE(tree_.Number("R"), -1);
        QCOMPARE(tree_.SelectedKey(), QString());
        tree_.CalcNumber(kBanks, 0);
        QCOMPARE(tree_.topLevelItemCount(), 0);
    }

    void fileWithoutCategories() {
        FillEntries(store_);
        OpenAs(store_, Path("Family.QVS"));
        tree_.LoadTree();
        QCOMPARE(TopKeys(tree_), QStringList({"R", "P", "E1", "E2", "X1", "X2"}));
        const QTreeWidgetItem* root = tree_.FindNode("R");
        QCOMPARE(root->text(0), QStringLiteral("Family"));
        QCOMPARE(root->childCount(), 0);
        QCOMPARE(tree_.SelectedKey(), QStringLiteral("R"));
        const std::pair<const char*, int> texts[] = {
            {"P", 30}, {"E1", 31}, {"E2", 32}, {"X1", 33}, {"X2", 34}};
        for (const auto& [key, id] : texts)
            QCOMPARE(tree_.FindNode(key)->text(0), TestLanguage::Text(id));
        QCOMPARE(Image(root), QStringLiteral("QVS"));
        QCOMPARE(Image(tree_.FindNode("P")), QStringLiteral("CPREF"));
        QCOMPARE(Image(tree_.FindNode("E2")), QStringLiteral("CALERT"));
        QCOMPARE(Image(tree_.FindNode("X1")), QStringLiteral("CWARN"));
        QVERIFY(!tree_.FindNode("R")->icon(0).isNull());
        VerifyNumbersMatchStore(tree_, store_);
    }

    void categoriesAndSubcategories() {
        OpenSample();
        QCOMPARE(TopKeys(tree_), QStringList({"R", "C0", "P", "E1", "E2", "X1", "X2"}));
        QCOMPARE(tree_.FindNode("C0")->text(0), TestLanguage::Text(35));
        const QTreeWidgetItem* root = tree_.FindNode("R");
        QCOMPARE(ChildKeys(root), QStringList({"C2", "C1", "C3"})); // Banks, Mail, Shops
        const QTreeWidgetItem* banks = tree_.FindNode("C2");
        QCOMPARE(banks->text(0), QStringLiteral("Banks"));
        QCOMPARE(ChildKeys(banks), QStringList({"S0C2", "S1C2", "S2C2"}));
        QCOMPARE(banks->child(0)->text(0), TestLanguage::Text(36));
        QCOMPARE(banks->child(1)->text(0), QStringLiteral("Cards"));
        QCOMPARE(Image(banks->child(0)), QStringLiteral("CFOLDER"));
        QCOMPARE(Image(banks->child(2)), QStringLiteral("SCATCLOSE"));
        QCOMPARE(ChildKeys(tree_.FindNode("C1")), QStringList({"S0C1", "S3C1"}));
        QCOMPARE(tree_.FindNode("C3")->childCount(), 0);
        // Every state folder holds one entry at least, so equal numbers mean
        // the one-pass count judged the dates as the store does.
        for (const char* key : {"E1", "E2", "X1", "X2"})
            QCOMPARE_GT(tree_.Number(key), 0);
        VerifyNumbersMatchStore(tree_, store_);
        QCOMPARE(tree_.Number("C2"), 3);
        QCOMPARE(tree_.Number("S0C2"), 1);
    }

    void stateFoldersFollowTheSetting() {
        OpenSample();
        Opt().ViewExpChg = false;
        tree_.LoadTree();
        QCOMPARE(TopKeys(tree_), QStringList({"R", "C0", "P"}));
        tree_.CalcNumber(); // absent nodes are skipped
        VerifyNumbersMatchStore(tree_, store_);
    }

    void openStateIsKeptInTheFile() {
        OpenSample();
        const std::size_t states = store_.NodeStates().Count();
        QTreeWidgetItem* banks = tree_.FindNode("C2");
        QVERIFY(banks->isExpanded()); // never toggled: open
        QVERIFY(tree_.FindNode("R")->isExpanded());
        QCOMPARE(Image(banks), QStringLiteral("CATOPEN"));
        QCOMPARE(Image(tree_.FindNode("C3")), QStringLiteral("CATCLOSE")); // nothing to open
        QCOMPARE(store_.NodeStates().Count(), states); // building writes no state

        banks->setExpanded(false);
        QCOMPARE(Image(banks), QStringLiteral("CATCLOSE"));
        QVERIFY(!store_.NodeStat("Banks"));
        QVERIFY(!store_.NotSaved());
        tree_.FindNode("C1")->setExpanded(false);
        tree_.FindNode("C1")->setExpanded(true);
        QVERIFY(store_.NodeStat("Mail"));
        tree_.FindNode("R")->setExpanded(false);
        QVERIFY(!store_.NodeStat("Family"));
        QVERIFY(!store_.NotSaved());

        store_.SetFilePW("pw");
        QVERIFY2(store_.SaveFile(Path("Family.QVS").toStdString(), false),
                 store_.ErrDescr().c_str());
        clsPW reopened;
        QVERIFY(reopened.LoadFile(Path("Family.QVS").toStdString(), "pw"));
        CategoryTree tree([&]() -> clsPW& { return reopened; }, nullptr);
        tree.LoadTree();
        QVERIFY(!tree.FindNode("R")->isExpanded());
        QVERIFY(!tree.FindNode("C2")->isExpanded());
        QVERIFY(tree.FindNode("C1")->isExpanded());
        QCOMPARE(Image(tree.FindNode("C2")), QStringLiteral("CATCLOSE"));
    }

    void orphanSubcategoriesAreNotShown() {
        OpenSample();
        // Banks becomes a subcategory of Mail; Cards and Loans keep Banks' code.
        QVERIFY(store_.CambiaCatInSub("Banks", kMail));
        QCOMPARE(store_.SubCategory().Count(), std::size_t(4));
        tree_.LoadTree();
        QCOMPARE(ChildKeys(tree_.FindNode("R")), QStringList({"C1", "C3"}));
        QCOMPARE(ChildKeys(tree_.FindNode("C1")), QStringList({"S0C1", "S3C1", "S4C1"}));
        QVERIFY(!tree_.FindNode("S1C2") && !tree_.FindNode("S2C2") && !tree_.FindNode("S0C2"));
        VerifyNumbersMatchStore(tree_, store_);
        tree_.CalcNumber(kMail, 4);
        VerifyNumbersMatchStore(tree_, store_);
    }

    void calcNumberFollowsEntryChanges() {
        OpenSample();
        QVERIFY(store_.PWAdd(Expiring(Entry("Bank D", kBanks, kCards, true), -3, 0)));
        // Moved out of Mail: Mail's number must drop although only Shops is named.
        QVERIFY(store_.PWChangeCat("Webmail", kShops, 0));
        QVERIFY(store_.PWDel("Loose"));
        tree_.CalcNumber(kShops, 0);
        VerifyNumbersMatchStore(tree_, store_);
        QCOMPARE(tree_.Number("C1"), 1);
        QCOMPARE(tree_.Number("S1C2"), 2);
    }

    void nodesAreAddedOnce() {
        OpenSample();
        QTreeWidgetItem* banks = tree_.FindNode("C2");
        QCOMPARE(tree_.AddTreeNode("C2", "Again", tree_.FindNode("R")), nullptr);
        QCOMPARE(tree_.AddTreeNode("S1C2", "Again", banks), nullptr);
        QCOMPARE(tree_.AddTreeNode("R", "Again", nullptr), nullptr);
        QCOMPARE(banks->childCount(), 3);
        QCOMPARE(tree_.topLevelItemCount(), 7);
        QTreeWidgetItem* shops = tree_.FindNode("C3");
        QVERIFY(tree_.AddTreeNode(SubCategoryNodeKey(kShops, 9), "New", shops));
        QCOMPARE(ChildKeys(shops), QStringList({"S0C3", "S9C3"}));
        QCOMPARE(tree_.Number("S0C3"), 1);
    }

    void selectionIsReportedOnlyWhenItChanges() {
        OpenSample();
        QSignalSpy activated(&tree_, &CategoryTree::nodeActivated);
        QSignalSpy caption(&tree_, &CategoryTree::favouriteCaptionChanged);
        QCOMPARE(tree_.ShownKey(), QString());
        QVERIFY(tree_.SelectNode(tree_.SelectedKey())); // what the host does after a rebuild
        QVERIFY(tree_.SelectNode("R"));
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.at(0).at(0).toString(), QStringLiteral("R"));
        QCOMPARE(caption.at(0).at(0).toInt(), 440);

        QTreeWidgetItem* banks = ShowAndFind("C2");
        QVERIFY(banks);
        const QPoint at = tree_.visualItemRect(banks).center();
        QTest::mouseClick(tree_.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseClick(tree_.viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(activated.count(), 2);
        QCOMPARE(activated.at(1).at(0).toString(), QStringLiteral("C2"));

        QVERIFY(tree_.SelectNode("P"));
        QCOMPARE(activated.count(), 3);
        QCOMPARE(caption.last().at(0).toInt(), 441);
        QCOMPARE(tree_.FavouriteCaptionId(), 441);
        tree_.ResetShownNode();
        QVERIFY(tree_.SelectNode("P"));
        QCOMPARE(activated.count(), 4);
        QVERIFY(!tree_.SelectNode("C99"));

        tree_.LoadTree();
        QCOMPARE(activated.count(), 4);
        QCOMPARE(tree_.ShownKey(), QString());
        QCOMPARE(tree_.FavouriteCaptionId(), 440);
    }

    void rightButtonSelectsTheNodeUnderThePointer() {
        OpenSample();
        QTreeWidgetItem* mail = ShowAndFind("C1");
        QVERIFY(mail);
        QSignalSpy menu(&tree_, &CategoryTree::contextMenuRequested);
        QSignalSpy activated(&tree_, &CategoryTree::nodeActivated);
        const QPoint at = tree_.visualItemRect(mail).center();
        QCOMPARE(tree_.KeyAt(at), QStringLiteral("C1"));
        QTest::mouseClick(tree_.viewport(), Qt::RightButton, {}, at);
        QCOMPARE(tree_.currentItem(), mail);
        QCOMPARE(menu.count(), 1);
        QCOMPARE(menu.at(0).at(0).toString(), QStringLiteral("C1"));
        QCOMPARE(menu.at(0).at(1).toPoint(), tree_.viewport()->mapToGlobal(at));
        QCOMPARE(activated.count(), 1); // the grid follows the selection

        const QPoint empty(at.x(), tree_.viewport()->height() - 2);
        QCOMPARE(tree_.KeyAt(empty), QString());
        QTest::mouseClick(tree_.viewport(), Qt::RightButton, {}, empty);
        QCOMPARE(menu.count(), 1);
        QCOMPARE(tree_.currentItem(), mail);

        QTest::keyClick(&tree_, Qt::Key_Menu);
        QCOMPARE(menu.count(), 2);
        QCOMPARE(menu.at(1).at(0).toString(), QStringLiteral("C1"));
    }
};

QTEST_MAIN(TestCategoryTree)
#include "tst_category_tree.moc"
