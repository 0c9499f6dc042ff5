// The entry grid: which entries each tree node lists, how cells are shown
// (dates, states, masking, notes, orphans), sorting, and the signals by which
// the main window runs its commands. The store's clock is fixed.
#include "tests/frame/test_language.h"

#include "frame/image_list.h"
#include "frame/options.h"
#include "mainwin/entry_grid.h"
#include "mainwin/entry_grid_cells.h"
#include "mainwin/entry_grid_view.h"
#include "store/pw.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

using namespace qvs;
using ardeko::T_Password;
namespace Col = GridColumn;

namespace {

const double kToday = ardeko::VbDateFromParts({2024, 6, 15, 0, 0, 0});

struct Dates {
    bool inForce = false;
    int offset = 0; // days from today
    int warnDays = 0;
    bool warnAhead = true;
};

T_Password Entry(const std::string& name, std::int16_t cat, std::int16_t scat, Dates expiry = {},
                 Dates change = {}) {
    T_Password p;
    p.service = name;
    p.Codcat = cat;
    p.CodSCat = scat;
    p.User = "user-" + name;
    p.pw = "pw-" + name;
    p.Descr = "notes of " + name;
    p.blExpire = expiry.inForce;
    p.Dt_Expire = kToday + expiry.offset;
    p.ggNotExpire = static_cast<std::int16_t>(expiry.warnDays);
    p.blNotExpire = expiry.warnAhead;
    p.blChange = change.inForce;
    p.Dt_Change = kToday + change.offset;
    p.ggNotChange = static_cast<std::int16_t>(change.warnDays);
    p.blNotChange = change.warnAhead;
    return p;
}

// Store order is ordinal name order: upper case before lower case.
void FillSample(ardeko::clsPW& s) {
    s.InsertCategory({1, "Banks", true});
    s.InsertCategory({2, "Mail", true});
    s.InsertSubCategory({1, 1, "Cards"});
    s.InsertPassword(Entry("Alpha", 1, 1, {true, -1, 5}, {true, 3, 7}));
    T_Password bravo = Entry("bravo", 1, 0, {true, 0, 5}, {true, 0, 0});
    bravo.Favourites = true;
    s.InsertPassword(bravo);
    s.InsertPassword(Entry("Charlie", 2, 0, {true, 5, 5}, {true, -10, 0}));
    s.InsertPassword(Entry("Delta", 0, 0, {false, -30, 5}));
    s.InsertPassword(Entry("Echo", 9, 7)); // filed under codes no category has
}

QStringList Column(const EntryGrid& g, int column) {
    QStringList texts;
    for (int row = 0; row < g.model()->rowCount(); ++row)
        texts << g.model()->index(row, column).data().toString();
    return texts;
}

QImage Picture(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage();
}

} // namespace

class TestEntryGrid : public QObject {
    Q_OBJECT

    TestLanguage language_{50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61};
    std::unique_ptr<ardeko::clsPW> store_;
    std::unique_ptr<EntryGrid> grid_;
    // Checks every fill, narrowing and sort of the model as it happens.
    std::unique_ptr<QAbstractItemModelTester> tester_;

    EntryGrid& Grid() { return *grid_; }
    EntryGridView* View() { return grid_->grdpw(); }
    QString Cell(int row, int column, int role = Qt::DisplayRole) {
        return grid_->model()->index(row, column).data(role).toString();
    }
    int RowOf(const char* service) { return grid_->model()->RowOfService(service); }
    void Click(int row, Qt::MouseButton button = Qt::LeftButton) {
        const QRect r = View()->visualRect(grid_->model()->index(row, Col::Service));
        QTest::mouseClick(View()->viewport(), button, {}, r.center());
    }
    void Show() {
        grid_->resize(900, 500);
        grid_->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid_.get()));
    }

private slots:
    void init() {
        Opt().SecurityLevel = 0;
        Opt().ShowNotes = false;
        Opt().DefaultGridAction = 1;
        store_ = std::make_unique<ardeko::clsPW>();
        store_->SetClock([] { return kToday + 0.4; });
        FillSample(*store_);
        grid_ = std::make_unique<EntryGrid>([this]() -> const ardeko::clsPW& { return *store_; });
        tester_ = std::make_unique<QAbstractItemModelTester>(
            grid_->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    void cleanup() {
        tester_.reset();
        grid_.reset();
        store_.reset();
    }

    void columnsKeysAndHeaders() {
        const QStringList keys = {"group1",   "group2", "group3",     "Service",   "UserName",
                                  "Password", "Email",  "URL",        "Expire",    "ExpDate",
                                  "ExpURL",   "Change", "ChangeDate", "ChangeURL", "Cat",
                                  "SubCat",   "Notes"};
        QCOMPARE(Grid().model()->columnCount(), keys.size());
        for (int c = 0; c < keys.size(); ++c) {
            QCOMPARE(GridColumnKey(c), keys[c]);
            QCOMPARE(GridColumnOfKey(keys[c].toUpper()), c);
            QCOMPARE(Grid().ColumnVisible(c), c >= Col::Service);
        }
        QCOMPARE(GridColumnOfKey("nothing"), -1);
        auto header = [this](int c, int role) {
            return Grid().model()->headerData(c, Qt::Horizontal, role);
        };
        QCOMPARE(header(Col::Service, Qt::DisplayRole).toString(), TestLanguage::Text(50));
        QCOMPARE(header(Col::Email, Qt::DisplayRole).toString(), TestLanguage::Text(60));
        QCOMPARE(header(Col::Notes, Qt::DisplayRole).toString(), TestLanguage::Text(61));
        QCOMPARE(header(Col::SubCat, TextIdRole).toInt(), 59);
        QVERIFY(header(Col::Expire, Qt::DisplayRole).toString().isEmpty());
        QCOMPARE(Picture(header(Col::Expire, Qt::DecorationRole).value<QIcon>()),
                 Picture(KeyIcon("PDELETE")));
        QCOMPARE(Picture(header(Col::Change, Qt::DecorationRole).value<QIcon>()),
                 Picture(KeyIcon("PEDIT")));
        // The grouping columns cannot be shown.
        Grid().SetColumnVisible(Col::Group2, true);
        QVERIFY(!Grid().ColumnVisible(Col::Group2));
    }

    void nodeLists_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("services");
        const QStringList all = {"Alpha", "Charlie", "Delta", "Echo", "bravo"};
        QTest::newRow("root") << "R" << all;
        QTest::newRow("empty key is the root") << "" << all;
        QTest::newRow("no category") << "C0" << QStringList{"Delta"};
        QTest::newRow("category with its subcategories") << "C1" << QStringList{"Alpha", "bravo"};
        QTest::newRow("category without subcategory") << "S0C1" << QStringList{"bravo"};
        QTest::newRow("subcategory") << "S1C1" << QStringList{"Alpha"};
        QTest::newRow("orphan category code") << "C9" << QStringList{"Echo"};
        QTest::newRow("favourites") << "P" << QStringList{"bravo"};
        // bravo expires today: past for the counters though not yet red.
        QTest::newRow("expiring") << "E1" << QStringList{"Charlie"};
        QTest::newRow("expired") << "E2" << QStringList{"Alpha", "bravo"};
        QTest::newRow("to change soon") << "X1" << QStringList{"Alpha"};
        QTest::newRow("to change now") << "X2" << QStringList{"Charlie", "bravo"};
        QTest::newRow("unknown category") << "C42" << QStringList{};
    }
    void nodeLists() {
        QFETCH(QString, key);
        QFETCH(QStringList, services);
        Grid().ShowNode(key);
        QCOMPARE(Grid().ShownNode(), key);
        QCOMPARE(Column(Grid(), Col::Service), services);
    }

    void stateFoldersListAsManyAsTheirCounters() {
        const std::pair<const char*, std::int32_t> folders[] = {
            {"E1", store_->InExpirationNumber()},
            {"E2", store_->ExpiredNumber()},
            {"X1", store_->InChangeNumber()},
            {"X2", store_->ChangedNumber()},
            {"P", store_->FavouriteNumber()}};
        for (const auto& [key, count] : folders) {
            Grid().ShowNode(key);
            QCOMPARE(Grid().model()->rowCount(), count);
        }
    }

    void cellTexts() {
        Grid().ShowNode("R");
        const int alpha = RowOf("alpha");
        QCOMPARE(Cell(alpha, Col::UserName), QString("user-Alpha"));
        QCOMPARE(Cell(alpha, Col::ExpDate), QString("14/06/2024"));
        QCOMPARE(Cell(alpha, Col::ChangeDate), QString("18/06/2024"));
        QCOMPARE(Cell(alpha, Col::Cat), QString("Banks"));
        QCOMPARE(Cell(alpha, Col::SubCat), QString("Cards"));
        QCOMPARE(Cell(alpha, Col::Notes), QString("notes of Alpha"));
        QCOMPARE(Grid().model()->index(alpha, Col::Notes).data(Qt::ForegroundRole).value<QBrush>(),
                 QBrush(QColor(128, 128, 128)));
        QCOMPARE(Cell(alpha, Col::Group1), QString());
        // A date not in force is not shown, whatever it holds.
        QCOMPARE(Cell(RowOf("Delta"), Col::ExpDate), QString());
        QCOMPARE(Cell(RowOf("Delta"), Col::Expire, Qt::DecorationRole), QString());
        // Orphans: no category names, everything else as usual.
        const int echo = RowOf("Echo");
        QCOMPARE(Cell(echo, Col::Cat), QString());
        QCOMPARE(Cell(echo, Col::SubCat), QString());
        QCOMPARE(Cell(echo, Col::UserName), QString("user-Echo"));
        QCOMPARE(Grid().model()->index(echo, 0).data(EntryGridModel::ServiceRole).toString(),
                 QString("Echo"));
    }

    // Due rows are tinted over the theme's background, by the same rule as
    // the expiry list and the counters: a near date only for an entry that
    // asks to be warned ahead. The text keeps the theme's colour.
    void dueRowsTintedWithIcons_data() {
        QTest::addColumn<bool>("inForce");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("warnDays");
        QTest::addColumn<bool>("warnAhead");
        QTest::addColumn<QColor>("tint");
        QTest::addColumn<QString>("icon");
        const QColor alert = DateLevelTint(DateLevel::Alert);
        const QColor warning = DateLevelTint(DateLevel::Warning);
        QTest::newRow("not in force, past") << false << -3 << 5 << true << QColor() << "";
        QTest::newRow("yesterday") << true << -1 << 5 << true << alert << "ALERT";
        // A date that has come is due, today included, as the counters have it.
        QTest::newRow("today with 5 days") << true << 0 << 5 << true << alert << "ALERT";
        QTest::newRow("today, no warning asked") << true << 0 << 5 << false << alert << "ALERT";
        QTest::newRow("in 4 days with 5 days") << true << 4 << 5 << true << warning << "WARNING";
        QTest::newRow("in 5 days with 5 days") << true << 5 << 5 << true << warning << "WARNING";
        QTest::newRow("in 4 days, no warning asked") << true << 4 << 5 << false << QColor() << "";
        QTest::newRow("in 6 days with 5 days") << true << 6 << 5 << true << QColor() << "";
        QTest::newRow("today with 0 days") << true << 0 << 0 << true << alert << "ALERT";
    }
    void dueRowsTintedWithIcons() {
        QFETCH(bool, inForce);
        QFETCH(int, offset);
        QFETCH(int, warnDays);
        QFETCH(bool, warnAhead);
        QFETCH(QColor, tint);
        QFETCH(QString, icon);
        // The same rule on both dates, each with its own fields.
        const Dates dates{inForce, offset, warnDays, warnAhead};
        store_->SetPassword(ardeko::MakePasswordCollection());
        store_->InsertPassword(Entry("Expiring", 0, 0, dates, {}));
        store_->InsertPassword(Entry("Changing", 0, 0, {}, dates));
        Grid().ShowNode("R");
        const std::pair<int, int> pairs[] = {{RowOf("Expiring"), Col::ExpDate},
                                             {RowOf("Changing"), Col::ChangeDate}};
        for (const auto& [row, dateColumn] : pairs) {
            for (int column : {int(Col::Service), dateColumn}) {
                const QModelIndex cell = Grid().model()->index(row, column);
                const QVariant background = cell.data(Qt::BackgroundRole);
                QCOMPARE(background.isValid(), tint.isValid());
                if (tint.isValid()) QCOMPARE(background.value<QBrush>().color(), tint);
                QVERIFY(!cell.data(Qt::ForegroundRole).isValid());
            }
            const QVariant image =
                Grid().model()->index(row, dateColumn - 1).data(Qt::DecorationRole);
            QCOMPARE(image.isValid(), !icon.isEmpty());
            if (!icon.isEmpty()) QCOMPARE(Picture(image.value<QIcon>()), Picture(KeyIcon(icon)));
        }
    }

    // The notes' tool tip shows mark-up from a file as the text it is.
    void notesTipIsPlainText() {
        const char* notes = "<img src=\"http://x.example/p.png\"><table><tr><td>a</td></tr>"
                            "</table> <a href=\"file:///etc\">b</a> &amp; <b>c</b>";
        store_->InsertPassword([&] {
            T_Password p = Entry("Marked", 0, 0);
            p.Descr = notes;
            return p;
        }());
        Grid().ShowNode("R");
        QTextDocument shown;
        shown.setHtml(Cell(RowOf("Marked"), Col::Notes, Qt::ToolTipRole));
        QCOMPARE(shown.toPlainText(), QString::fromUtf8(notes));
    }

    // A tab or another control character in a one-line cell shows as one
    // blank, not as a wide gap.
    void controlCharactersShowAsBlanks() {
        store_->InsertPassword([] {
            T_Password p = Entry("Tabbed", 0, 0);
            p.User = "first\tsecond\x01";
            p.pw = "p\tw";
            return p;
        }());
        Grid().ShowNode("R");
        const int row = RowOf("Tabbed");
        QCOMPARE(Cell(row, Col::UserName), QString("first second "));
        QCOMPARE(Cell(row, Col::Password), QString("p w"));
    }

    void passwordsMaskedBySecurityLevel() {
        store_->InsertPassword([] {
            T_Password p = Entry("Umlaut", 0, 0);
            p.pw = "p\xC3\xA4sswort"; // 8 characters, 9 bytes
            return p;
        }());
        Grid().ShowNode("R");
        const int row = RowOf("Umlaut");
        QVERIFY(Cell(row, Col::Password) == QString::fromUtf8("p\xC3\xA4sswort"));
        Opt().SecurityLevel = 2;
        QCOMPARE(Cell(row, Col::Password), QString("********"));
        QCOMPARE(Cell(RowOf("Alpha"), Col::Password), QString("********"));
        QCOMPARE(MaskedText(""), QString());
    }

    void sortsByTextAndDateBothWays() {
        Grid().ShowNode("R");
        QSignalSpy sorted(&Grid(), &EntryGrid::sortChanged);
        Grid().SortGrid(Col::Service, Qt::AscendingOrder);
        QCOMPARE(Column(Grid(), Col::Service),
                 QStringList({"Alpha", "bravo", "Charlie", "Delta", "Echo"}));
        Grid().SortGrid(Col::Service, Qt::DescendingOrder);
        QCOMPARE(Column(Grid(), Col::Service),
                 QStringList({"Echo", "Delta", "Charlie", "bravo", "Alpha"}));
        // Unused dates first, equal keys in store order both ways.
        Grid().SortGrid(Col::ExpDate, Qt::AscendingOrder);
        QCOMPARE(Column(Grid(), Col::Service),
                 QStringList({"Delta", "Echo", "Alpha", "bravo", "Charlie"}));
        Grid().SortGrid(Col::ExpDate, Qt::DescendingOrder);
        QCOMPARE(Column(Grid(), Col::Service),
                 QStringList({"Charlie", "bravo", "Alpha", "Delta", "Echo"}));
        QCOMPARE(sorted.count(), 4);
        QCOMPARE(sorted.last().at(0).toInt(), int(Col::ExpDate));
        QVERIFY(Grid().IsSorted());
        QCOMPARE(View()->horizontalHeader()->sortIndicatorSection(), int(Col::ExpDate));
        QCOMPARE(View()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        // A refill keeps the sort.
        Grid().ShowNode("C1");
        QCOMPARE(Column(Grid(), Col::Service), QStringList({"bravo", "Alpha"}));
        // The grouping columns do not sort.
        Grid().SortGrid(Col::Group1, Qt::AscendingOrder);
        QCOMPARE(Grid().SortColumn(), int(Col::ExpDate));
    }

    void sortByCategoryPutsOrphansFirst() {
        Grid().ShowNode("R");
        Grid().SortGrid(Col::Cat, Qt::AscendingOrder);
        QCOMPARE(Column(Grid(), Col::Cat), QStringList({"", "", "Banks", "Banks", "Mail"}));
        QCOMPARE(Column(Grid(), Col::Service).first(2), QStringList({"Delta", "Echo"}));
    }

    void damagedDatesShowEmptyAndSortFirst() {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        for (const char* name : {"Broken1", "Broken2"}) {
            T_Password p = Entry(name, 0, 0, {true, 0, 5});
            p.Dt_Expire = nan;
            store_->InsertPassword(p);
        }
        Grid().ShowNode("R");
        QCOMPARE(Cell(RowOf("Broken1"), Col::ExpDate), QString());
        Grid().SortGrid(Col::ExpDate, Qt::AscendingOrder);
        QCOMPARE(Column(Grid(), Col::Service).first(4),
                 QStringList({"Broken1", "Broken2", "Delta", "Echo"}));
    }

    void headerClickSortsThenFlipsKeepingTheSelection() {
        Show();
        Grid().ShowNode("R");
        QVERIFY(Grid().SelectService("Charlie"));
        QHeaderView* header = View()->horizontalHeader();
        auto clickHeader = [header](int column) {
            const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
        };
        clickHeader(Col::UserName);
        QCOMPARE(Grid().SortColumn(), int(Col::UserName));
        QCOMPARE(Grid().SortOrder(), Qt::AscendingOrder);
        clickHeader(Col::UserName);
        QCOMPARE(Grid().SortOrder(), Qt::DescendingOrder);
        QCOMPARE(Column(Grid(), Col::Service).first(), QString("Echo"));
        QCOMPARE(Grid().SelectedService(), QString("Charlie"));
    }

    void defaultActionOnEnterAndDoubleClick() {
        Show();
        Grid().ShowNode("R");
        QSignalSpy action(&Grid(), &EntryGrid::defaultActionRequested);
        QTest::keyClick(View(), Qt::Key_Return);
        QCOMPARE(action.count(), 1); // nothing selected: the receiver says so
        QCOMPARE(action.last(), QVariantList({1, QString()}));
        Opt().DefaultGridAction = 3;
        Click(RowOf("Delta"));
        QTest::keyClick(View(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(action.last(), QVariantList({3, QString("Delta")}));
        const QRect r = View()->visualRect(Grid().model()->index(RowOf("Echo"), Col::URL));
        QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(View()->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(action.last(), QVariantList({3, QString("Echo")}));
        const auto before = action.count();
        Opt().DefaultGridAction = 0; // no action
        QTest::keyClick(View(), Qt::Key_Return);
        QCOMPARE(action.count(), before);
    }

    void editAndDeleteKeys() {
        Show();
        QSignalSpy edit(&Grid(), &EntryGrid::editRequested);
        QSignalSpy del(&Grid(), &EntryGrid::deleteRequested);
        QSignalSpy unfavour(&Grid(), &EntryGrid::favouriteRemoveRequested);
        Grid().ShowNode("R");
        QTest::keyClick(View(), Qt::Key_Delete); // nothing selected
        QTest::keyClick(View(), Qt::Key_F4);
        QCOMPARE(edit.last(), QVariantList({QString()}));
        Grid().SelectService("bravo");
        QTest::keyClick(View(), Qt::Key_F4);
        QCOMPARE(edit.last(), QVariantList({QString("bravo")}));
        QTest::keyClick(View(), Qt::Key_Delete);
        QCOMPARE(del.count(), 1);
        QCOMPARE(del.last(), QVariantList({QString("bravo")}));
        Grid().ShowNode("P");
        Grid().SelectService("bravo");
        QTest::keyClick(View(), Qt::Key_Delete);
        QCOMPARE(unfavour.last(), QVariantList({QString("bravo")}));
        Grid().ShowNode("E2");
        Grid().SelectService("bravo");
        QTest::keyClick(View(), Qt::Key_Delete);
        QCOMPARE(del.count(), 1);
        QCOMPARE(unfavour.count(), 1);
        // With a modifier the key is the table's own.
        QTest::keyClick(View(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(del.count() + unfavour.count(), 2);
    }

    void notesBoxFollowsTheSelectedRow() {
        Show();
        Grid().ShowNode("R");
        QSignalSpy selected(&Grid(), &EntryGrid::selectedServiceChanged);
        Click(RowOf("Charlie"));
        QCOMPARE(Grid().txtNotes()->toPlainText(), QString("notes of Charlie"));
        QCOMPARE(selected.last(), QVariantList({QString("Charlie")}));
        Click(RowOf("Alpha"));
        QCOMPARE(Grid().txtNotes()->toPlainText(), QString("notes of Alpha"));
        QVERIFY(Grid().txtNotes()->isReadOnly());
        // Another node keeps the notes; a refill shows them as edited.
        T_Password alpha = *store_->Password().Find("Alpha");
        alpha.Descr = "edited";
        QVERIFY(store_->PWEdit(alpha, "Alpha"));
        Grid().ShowNode("C2");
        QCOMPARE(Grid().txtNotes()->toPlainText(), QString("edited"));
        QCOMPARE(selected.last(), QVariantList({QString()}));
        // The entry gone from the store: its notes go from the box.
        QVERIFY(store_->PWDel("Alpha"));
        Grid().ShowNode("R");
        QCOMPARE(Grid().txtNotes()->toPlainText(), QString());
    }

    void rightClickSelectsTheRow() {
        Show();
        Grid().ShowNode("R");
        QSignalSpy menu(&Grid(), &EntryGrid::rowContextMenuRequested);
        const QRect r = View()->visualRect(Grid().model()->index(RowOf("Delta"), Col::Service));
        emit View()->customContextMenuRequested(r.center());
        QCOMPARE(Grid().SelectedService(), QString("Delta"));
        QCOMPARE(menu.count(), 1);
        QCOMPARE(menu.last().at(0).toString(), QString("Delta"));
        emit View()->customContextMenuRequested(QPoint(5, View()->viewport()->height() - 2));
        QCOMPARE(menu.count(), 1); // below the last row
    }

    void multiLineNotesMakeTallRowsWhenShown() {
        T_Password p = Entry("Notes", 0, 0);
        p.Descr = "one\r\ntwo\rthree\nfour";
        store_->InsertPassword(p);
        Grid().ShowNode("R");
        const int row = RowOf("Notes");
        const int oneLine = View()->OneLineHeight();
        QCOMPARE(Cell(row, Col::Notes), QString("one two three four"));
        QCOMPARE(View()->rowHeight(row), oneLine);
        Opt().ShowNotes = true;
        Grid().ShowNode("R");
        QCOMPARE(Cell(row, Col::Notes), QString("one\ntwo\nthree\nfour"));
        const int tall = oneLine + 3 * View()->LineSpacing();
        QCOMPARE(View()->rowHeight(row), tall);
        QCOMPARE(View()->rowHeight(RowOf("Alpha")), oneLine);
        // The height follows its row through a sort.
        Grid().SortGrid(Col::Service, Qt::DescendingOrder);
        QCOMPARE(View()->rowHeight(RowOf("Notes")), tall);
        QCOMPARE(View()->rowHeight(row), oneLine);
        // Nothing to show with the notes column hidden.
        Grid().SetColumnVisible(Col::Notes, false);
        QCOMPARE(View()->rowHeight(RowOf("Notes")), oneLine);
    }

    void rowOfADeletedEntryIsEmpty() {
        Grid().ShowNode("R");
        const int row = RowOf("Charlie");
        QVERIFY(store_->PWDel("Charlie"));
        for (int c = 0; c < Col::Count; ++c)
            for (int role : {Qt::DisplayRole, Qt::ForegroundRole, Qt::DecorationRole})
                QVERIFY(Cell(row, c, role).isEmpty());
        Grid().SortGrid(Col::Cat, Qt::AscendingOrder); // the gone row sorts too
        QCOMPARE(Grid().model()->rowCount(), 5);
        QCOMPARE(RowOf("Charlie"), -1);
    }

    void columnWidthsSurviveHiding() {
        Grid().SetColumnWidth(Col::Email, 140);
        Grid().SetColumnVisible(Col::Email, false);
        QVERIFY(!Grid().ColumnVisible(Col::Email));
        QCOMPARE(Grid().ColumnWidth(Col::Email), 140);
        Grid().SetColumnWidth(Col::Email, 90);
        Grid().SetColumnWidth(Col::Email, 0); // would hide it behind our back
        Grid().SetColumnVisible(Col::Email, true);
        QCOMPARE(Grid().ColumnWidth(Col::Email), 90);
        QCOMPARE(View()->columnWidth(Col::Email), 90);
    }

    void cellHelpers() {
        QCOMPARE(GridDateText(ardeko::VbDateFromParts({2024, 3, 5, 13, 0, 0})),
                 QString("05/03/2024"));
        QCOMPARE(GridDateText(1e12), QString());
        QCOMPARE(GridDateText(std::numeric_limits<double>::quiet_NaN()), QString());
        QCOMPARE(NoteLineCount(""), 1);
        QCOMPARE(NoteLineCount("a\r\nb\n\nc\r"), 5);
    }
};

QTEST_MAIN(TestEntryGrid)
#include "tst_entry_grid.moc"
