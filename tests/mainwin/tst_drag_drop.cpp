// Dragging grid rows and tree folders onto tree nodes: each kind of drop
// through the tree's own drop handling on a real main window, the store
// afterwards, and the drops that are refused or not taken at all.
#include "tests/mainwin/menus_fixture.h"

#include "mainwin/entry_drag.h"
#include "mainwin/entry_grid.h"
#include "mainwin/entry_grid_view.h"
#include "mainwin/node_key.h"

#include <QItemSelectionModel>
#include <QMimeData>

#include <memory>

using namespace qvs;

namespace {

void Settle() {
    QCoreApplication::processEvents(); // the drop runs once its event is over
    QCoreApplication::processEvents();
}

QModelIndex NodeIndex(const CategoryTree& tree, const QString& key) {
    const QModelIndexList found =
        tree.model()->match(tree.model()->index(0, 0), CategoryTree::KeyRole, key, 1,
                            Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? QModelIndex() : found.front();
}

// Drops data onto the node as the tree's model hands a drop to the tree.
bool Drop(MenuWindow& w, const QString& key, QMimeData* data) {
    const std::unique_ptr<QMimeData> owned(data);
    const QModelIndex target = NodeIndex(*w.window.Tree(), key);
    if (!target.isValid()) qFatal("no such node");
    const bool taken = w.window.Tree()->model()->dropMimeData(data, Qt::MoveAction, -1, -1, target);
    Settle();
    return taken;
}

// The rows of these services selected in the node's grid, as dragged.
QMimeData* DragRows(MenuWindow& w, const QString& node, const QStringList& services) {
    w.ShowNode(node);
    EntryGridView* view = w.window.Grid()->grdpw();
    EntryGridModel* model = w.window.Grid()->model();
    view->clearSelection();
    for (const QString& s : services)
        view->selectionModel()->select(model->index(model->RowOfService(s), 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    return model->mimeData(view->selectionModel()->selectedRows());
}

QMimeData* DragFolder(MenuWindow& w, const QString& key) {
    w.ShowNode(key);
    const QModelIndex node = NodeIndex(*w.window.Tree(), key);
    return w.window.Tree()->model()->mimeData({node});
}

const ardeko::T_Password& EntryOf(const char* service) {
    return *Store().Password().Find(service);
}

NodeCodes CodesOf(const char* service) {
    return {EntryOf(service).Codcat, EntryOf(service).CodSCat};
}

// Categories, subcategories and where every entry is filed.
QString Snapshot() {
    QString s;
    for (const auto& c : Store().Category())
        s += QStringLiteral("C%1 %2;").arg(c.Codcat).arg(QString::fromStdString(c.DescrCat));
    for (const auto& c : Store().SubCategory())
        s += QStringLiteral("S%1/%2 %3;")
                 .arg(c.Codcat)
                 .arg(c.CodSCat)
                 .arg(QString::fromStdString(c.DescrSCat));
    for (const auto& p : Store().Password())
        s += QStringLiteral("%1 %2/%3 %4;")
                 .arg(QString::fromStdString(p.service))
                 .arg(p.Codcat)
                 .arg(p.CodSCat)
                 .arg(p.Favourites);
    return s;
}

const QStringList kOnline = {"Alpha", "Beta", "Gamma"};

} // namespace

class TestDragDrop : public QObject {
    Q_OBJECT
    FakeMainWindow fake_;

    // Banks (1) with its subcategory Online (1) holding three entries and
    // one entry without subcategory; Cards (2) with one entry; one entry
    // without category.
    void FreshStore() {
        ResetProgram(fake_);
        Store().NewFile();
        QVERIFY(Store().CatAdd("Banks") && Store().CatAdd("Cards"));
        QVERIFY(Store().SubCatAdd(1, "Online"));
        for (const char* s : {"Alpha", "Beta", "Gamma"})
            AddEntry(s, 1, 1);
        AddEntry("Vault", 1, 0);
        AddEntry("Card", 2, 0);
        AddEntry("Loose", 0, 0);
    }

    // Runs a drop whose message script answers.
    void DropAnswered(MenuWindow& w, const QString& key, QMimeData* data, const QString& text) {
        ModalScript script;
        script.On<frmMessage>([text](frmMessage* m) {
            QCOMPARE(MessageText(m), text);
            m->accept();
        });
        script.Start();
        QVERIFY(Drop(w, key, data)); // taken, then refused
        QTRY_VERIFY(script.Done());
    }

private slots:
    void initTestCase() { LoadEnglish(); }
    void init() { FreshStore(); }
    void cleanup() { QCOMPARE(ModalDepth(), 0); }

    void rowsDroppedOntoANode_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("cat");
        QTest::addColumn<int>("scat");
        QTest::addColumn<bool>("favourite");
        QTest::newRow("favourites") << "P" << 1 << 1 << true;
        QTest::newRow("category drops the subcategory") << "C2" << 2 << 0 << false;
        QTest::newRow("own category") << "C1" << 1 << 0 << false;
        QTest::newRow("no-subcategory folder") << "S0C1" << 1 << 0 << false;
        QTest::newRow("subcategory") << "S2C2" << 2 << 2 << false;
        QTest::newRow("root") << "R" << 0 << 0 << false;
        QTest::newRow("no category") << "C0" << 0 << 0 << false;
    }
    void rowsDroppedOntoANode() {
        QFETCH(QString, target);
        QFETCH(int, cat);
        QFETCH(int, scat);
        QFETCH(bool, favourite);
        QVERIFY(Store().SubCatAdd(2, "Cash")); // code 2
        MenuWindow w;
        QVERIFY(Drop(w, target, DragRows(w, SubCategoryNodeKey(1, 1), kOnline)));
        for (const char* s : {"Alpha", "Beta", "Gamma"}) {
            QCOMPARE(CodesOf(s), (NodeCodes{std::int16_t(cat), std::int16_t(scat)}));
            QCOMPARE(EntryOf(s).Favourites, favourite);
        }
        QCOMPARE(CodesOf("Vault"), (NodeCodes{1, 0})); // not dragged
        QVERIFY(!EntryOf("Vault").Favourites);
        // The tree was rebuilt with the new numbers, and still shows the
        // node the rows were dragged from.
        QCOMPARE(w.window.Tree()->Number(SubCategoryNodeKey(1, 1)), cat == 1 && scat == 1 ? 3 : 0);
        QCOMPARE(w.window.Tree()->ShownKey(), SubCategoryNodeKey(1, 1));
    }

    void foldersDroppedOntoNodes() {
        {
            // A category onto another becomes its subcategory, with its entries.
            QVERIFY(Store().SubCatDel(1, "Online", true)); // Banks may move now
            MenuWindow w;
            QVERIFY(Drop(w, "C2", DragFolder(w, "C1")));
            QVERIFY(!Store().CatExist("Banks"));
            const std::int16_t code = *Store().NextSubCatCode() - 1;
            QVERIFY(Store().SubCatExist(2, "Banks"));
            QCOMPARE(CodesOf("Alpha"), (NodeCodes{2, code}));
            QCOMPARE(w.window.Tree()->ShownKey(), SubCategoryNodeKey(2, code)); // where it landed
        }
        FreshStore();
        {
            // A subcategory onto the root becomes a category of its name.
            MenuWindow w;
            QVERIFY(Drop(w, "R", DragFolder(w, "S1C1")));
            QVERIFY(Store().CatExist("Online"));
            QVERIFY(!Store().SubCatExist(1, "Online"));
            const std::int16_t online = Store().Category().Find("Online")->Codcat;
            for (const char* s : {"Alpha", "Beta", "Gamma"})
                QCOMPARE(CodesOf(s), (NodeCodes{online, 0}));
            QCOMPARE(w.window.Tree()->Number(CategoryNodeKey(online)), 3);
            QCOMPARE(w.window.Tree()->ShownKey(), CategoryNodeKey(online));
        }
        FreshStore();
        {
            // A subcategory onto another category moves there with its entries.
            MenuWindow w;
            QVERIFY(Drop(w, "C2", DragFolder(w, "S1C1")));
            QVERIFY(Store().SubCatExist(2, "Online") && !Store().SubCatExist(1, "Online"));
            QCOMPARE(CodesOf("Beta"), (NodeCodes{2, 1}));
            QCOMPARE(CodesOf("Vault"), (NodeCodes{1, 0}));
            QCOMPARE(w.window.Tree()->ShownKey(), SubCategoryNodeKey(2, 1));
        }
        FreshStore();
        {
            // A category onto the favourites: every entry in it, its
            // subcategories' too.
            MenuWindow w;
            QVERIFY(Drop(w, "P", DragFolder(w, "C1")));
            QCOMPARE(Store().FavouriteNumber(), 4);
            QVERIFY(!EntryOf("Card").Favourites && !EntryOf("Loose").Favourites);
            QCOMPARE(w.window.Tree()->Number("P"), 4);
            QCOMPARE(w.window.Tree()->ShownKey(), QStringLiteral("C1")); // nothing moved
        }
    }

    // Drops that would orphan subcategories or clash with a name are refused
    // with a message and leave the store as it was.
    void refusedDropsChangeNothing() {
        MenuWindow w;
        QVERIFY(Store().SubCatAdd(1, "Cards"));
        QVERIFY(Store().CatAdd("Online"));
        const QString before = Snapshot();
        DropAnswered(w, "C2", DragFolder(w, "C1"), GetLocalText(32100));
        DropAnswered(w, "C1", DragFolder(w, "C2"), GetLocalText(32101).replace("%s", "Banks"));
        // The store's own words for a category name in use.
        DropAnswered(w, "R", DragFolder(w, "S1C1"), GetLocalText(33504));
        QCOMPARE(Snapshot(), before);
    }

    // Nodes that take nothing, drags that start nowhere, and data not
    // dragged by this run.
    void dropsNotTaken() {
        MenuWindow w;
        const QString before = Snapshot();
        QVERIFY(!Drop(w, "E1", DragRows(w, "R", {"Loose"})));
        QVERIFY(!Drop(w, "X2", DragFolder(w, "C2")));
        QVERIFY(!Drop(w, "S1C1", DragFolder(w, "C2"))); // a category into a subcategory
        QVERIFY(!Drop(w, "C1", DragFolder(w, "S1C1"))); // its own category
        QVERIFY(!Drop(w, "C1", DragFolder(w, "C1")));
        for (const char* key : {"R", "P", "E2"})
            QVERIFY(!DragFolder(w, key));
        auto* foreign = new QMimeData;
        foreign->setData(QLatin1String(kDragMimeType), QByteArray("\x01\x02 not ours"));
        QVERIFY(!Drop(w, "C2", foreign));
        QCOMPARE(Snapshot(), before);
    }

    // The drag events as the tree receives them from the desktop: the
    // cursor's answer over each node, then the drop.
    void dragEventsOverTheTree() {
        MenuWindow w;
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        const std::unique_ptr<QMimeData> rows(DragRows(w, "R", {"Loose", "Card"}));
        CategoryTree* tree = w.window.Tree();
        const auto at = [tree](const char* key) {
            return QPointF(tree->visualItemRect(tree->FindNode(key)).center());
        };
        QDragEnterEvent enter(at("C1").toPoint(), Qt::MoveAction, rows.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(tree->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        for (const char* key : {"E1", "C1"}) {
            QDragMoveEvent move(at(key).toPoint(), Qt::MoveAction, rows.get(), Qt::LeftButton,
                                Qt::NoModifier);
            QCoreApplication::sendEvent(tree->viewport(), &move);
            QCOMPARE(move.isAccepted(), key[0] == 'C');
        }
        QDropEvent drop(at("C1"), Qt::MoveAction, rows.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree->viewport(), &drop);
        QVERIFY(drop.isAccepted());
        Settle();
        QCOMPARE(CodesOf("Loose"), (NodeCodes{1, 0}));
        QCOMPARE(CodesOf("Card"), (NodeCodes{1, 0}));
    }

    // Several rows selected: the commands on one entry take the focused row.
    void severalRowsSelectedOneServiceForCommands() {
        MenuWindow w;
        delete DragRows(w, SubCategoryNodeKey(1, 1), kOnline);
        EntryGridView* view = w.window.Grid()->grdpw();
        const int beta = w.window.Grid()->model()->RowOfService("Beta");
        view->selectionModel()->setCurrentIndex(w.window.Grid()->model()->index(beta, 3),
                                                QItemSelectionModel::NoUpdate);
        QCOMPARE(view->selectionModel()->selectedRows().size(), 3);
        QCOMPARE(w.window.SelectedService(), QStringLiteral("Beta"));
    }
};

QTEST_MAIN(TestDragDrop)
#include "tst_drag_drop.moc"
