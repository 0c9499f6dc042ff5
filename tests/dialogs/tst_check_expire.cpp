// The expiry check: which lines a fixed today gives, their texts and
// colours, and the window that lists them and opens entries for editing.
#include "tests/frame/modal_script.h"
#include "tests/frame/store_fixture.h"
#include "tests/frame/test_language.h"

#include "dialogs/expiry_lines.h"
#include "dialogs/frm_check_expire.h"
#include "frame/frm_message.h"
#include "frame/modal_stack.h"
#include "frame/program_state.h"
#include "store/vbdate.h"

#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <functional>

using qvs::DateLevel;
using qvs::ExpiryLine;
using qvs::frmCheckExpire;

namespace {

const double kToday = ardeko::VbDateFromParts({2026, 3, 10, 0, 0, 0});

struct Due {
    bool inForce = false;
    int inDays = 0;
    int warnDays = 0;
    bool warnAhead = false;
};

void AddEntry(const std::string& service, Due expiry, Due change = {}) {
    ardeko::T_Password p;
    p.service = service;
    p.blExpire = expiry.inForce;
    p.Dt_Expire = kToday + expiry.inDays;
    p.ggNotExpire = static_cast<std::int16_t>(expiry.warnDays);
    p.blNotExpire = expiry.warnAhead;
    p.blChange = change.inForce;
    p.Dt_Change = kToday + change.inDays;
    p.ggNotChange = static_cast<std::int16_t>(change.warnDays);
    p.blNotChange = change.warnAhead;
    QVERIFY(qvs::Store().PWAdd(p));
}

QString Line(const ExpiryLine& l) {
    const char* level = l.level == DateLevel::Alert ? "red" : "yellow";
    return QStringList{l.service, l.expDate, l.changeDate, l.status, QLatin1String(level)}.join(
        QLatin1Char('|'));
}

QTableView* Grid(QWidget* w) {
    return w->findChild<QTableView*>(QStringLiteral("grid"));
}

void Click(QWidget* w, const char* name) {
    w->findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

QString MessageText(qvs::frmMessage* m) {
    return m->findChild<QLabel*>(QStringLiteral("lblMsg"))->text();
}

// The text of the message box that action brings up, answered with OK.
QString MessageDuring(const std::function<void()>& action) {
    ModalScript script;
    QString said;
    script.On<qvs::frmMessage>([&](qvs::frmMessage* m) {
        said = MessageText(m);
        m->accept();
    });
    script.Start();
    action();
    return said;
}

void Close(QPointer<frmCheckExpire>& w) {
    Click(w, "cmdcancel");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestCheckExpire : public QObject {
    Q_OBJECT
private slots:
    void init() {
        FreshStore().SetClock([] { return kToday + 0.6; });
        qvs::SetExpiryEntryEditor({});
    }
    void cleanup() { QCOMPARE(qvs::ModalDepth(), 0); }

    void linesWithAFixedToday() {
        AddEntry("Alpha", {true, 0, 0}); // today counts as expired
        AddEntry("Bravo", {true, 8, 8, true});
        AddEntry("Charlie", {true, 3, 8, false}); // no warning asked for
        AddEntry("Delta", {true, -2, 0}, {true, 1, 5, true});
        AddEntry("Echo", {false, -30, 0}, {false, -30, 0});
        AddEntry("Foxtrot", {true, 9, 8, true}, {true, 0, 0});
        AddEntry("Golf", {true, 1, 3, true}); // one day: no plural
        const QStringList lines = [] {
            QStringList out;
            for (const ExpiryLine& l : qvs::ExpiryLines(qvs::Store()))
                out << Line(l);
            return out;
        }();
        const QStringList expected{
            "Alpha|10/03/2026||txt500210/03/2026|red",   "Bravo|18/03/2026||8txt5003|yellow",
            "Delta|08/03/2026||txt500208/03/2026|red",   "Delta||11/03/2026|1txt33501|yellow",
            "Foxtrot||10/03/2026|txt500410/03/2026|red", "Golf|11/03/2026||1txt33500|yellow",
        };
        QCOMPARE(lines, expected);
    }

    void windowShowsTheLinesInTheGridsColours() {
        AddEntry("Alpha", {true, -1, 0});
        AddEntry("Bravo", {}, {true, 2, 5, true});
        QPointer<frmCheckExpire> w = qvs::View_Expires(false);
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(qvs::TopModal(), w.data());
        QCOMPARE(w->windowTitle(), TestLanguage::Text(5000));
        QAbstractItemModel* model = Grid(w)->model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), TestLanguage::Text(5011));
        const QModelIndex red = model->index(0, 3), yellow = model->index(1, 3);
        QCOMPARE(red.data().toString(), TestLanguage::Text(5002) + QStringLiteral("09/03/2026"));
        QCOMPARE(red.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 0, 0));
        QCOMPARE(yellow.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 255, 0));
        QVERIFY(!(model->flags(red) & Qt::ItemIsEditable));
        Close(w);
        QVERIFY(!w);
    }

    void nothingDueShowsNothingOrSaysSo() {
        AddEntry("Alpha", {true, 30, 8, true});
        QVERIFY(!qvs::View_Expires(false));
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(MessageDuring([] { QVERIFY(!qvs::View_Expires(true)); }),
                 TestLanguage::Text(5006));
    }

    void editOpensTheSelectedEntryAndRefreshes() {
        AddEntry("Alpha", {true, -1, 0});
        AddEntry("Bravo", {true, -1, 0});
        QStringList edited;
        std::unique_ptr<QWidget> editor;
        qvs::SetExpiryEntryEditor([&](const QString& service) {
            edited << service;
            editor = std::make_unique<QWidget>();
            return editor.get();
        });
        QPointer<frmCheckExpire> w = qvs::View_Expires(true);
        QTableView* grid = Grid(w);
        grid->selectRow(1);
        Click(w, "cmdEdit");
        QCOMPARE(edited, QStringList{QStringLiteral("Bravo")});
        // The user moves the date out of reach and saves: the list follows
        // once the editor has closed, not when it opened.
        ardeko::T_Password p = *qvs::Store().Password().Find("Bravo");
        p.Dt_Expire = kToday + 100;
        QVERIFY(qvs::Store().PWEdit(p, p.service));
        QCOMPARE(grid->model()->rowCount(), 2);
        editor.reset();
        QCOMPARE(grid->model()->rowCount(), 1);

        const QModelIndex alpha = grid->model()->index(0, 2);
        grid->selectRow(0);
        emit grid->doubleClicked(alpha);
        QCOMPARE(edited.back(), QStringLiteral("Alpha"));
        editor.reset();
        Close(w);
    }

    // A line whose entry went meanwhile (renamed or deleted): the user is
    // told, and the list shows what is due now.
    void editOfAnEntryGoneSaysSo() {
        AddEntry("Alpha", {true, -1, 0});
        AddEntry("Bravo", {true, -1, 0});
        qvs::SetExpiryEntryEditor([](const QString&) -> QWidget* { return nullptr; });
        QPointer<frmCheckExpire> w = qvs::View_Expires(true);
        QVERIFY(qvs::Store().PWRen("Bravo", "Charlie"));
        Grid(w)->selectRow(1);
        QCOMPARE(MessageDuring([&] { Click(w, "cmdEdit"); }),
                 TestLanguage::Text(33506).replace(QLatin1String("%s"), QStringLiteral("Bravo")));
        QCOMPARE(Grid(w)->model()->index(1, 0).data().toString(), QStringLiteral("Charlie"));
        Close(w);
    }

    void editWithoutSelectionAsksForOne() {
        AddEntry("Alpha", {true, -1, 0});
        bool editorCalled = false;
        qvs::SetExpiryEntryEditor([&](const QString&) -> QWidget* {
            editorCalled = true;
            return nullptr;
        });
        QPointer<frmCheckExpire> w = qvs::View_Expires(true);
        Grid(w)->clearSelection();
        QCOMPARE(MessageDuring([&] { Click(w, "cmdEdit"); }), TestLanguage::Text(5007));
        QVERIFY(!editorCalled);
        Close(w);
    }

private:
    TestLanguage language_{{10, 11, 5000, 5001, 5002, 5003, 5004, 5005, 5006, 5007, 5008, 5009,
                            5010, 5011, 33500, 33501, 33506}};
};

QTEST_MAIN(TestCheckExpire)
#include "tst_check_expire.moc"
