// The password health window through its widgets: the lines of a file with
// something to find, a breached-password list chosen in the file chooser,
// lists that cannot be used, the list kept for the next start, opening
// entries, and both languages.
#include "tests/frame/modal_script.h"
#include "tests/frame/store_fixture.h"

#include "dialogs/frm_health.h"
#include "frame/frm_message.h"
#include "frame/language.h"
#include "frame/modal_stack.h"
#include "frame/option_table.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "store/vbdate.h"

#include <QAbstractItemModelTester>
#include <QCryptographicHash>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using qvs::frmHealth;

namespace {

const double kToday = ardeko::VbDateFromParts({2026, 3, 10, 0, 0, 0});
const char* const kWeak = "password1";
const char* const kShared = "Tz8!mQ4@vL2#xR7$";

void AddEntry(const std::string& service, const std::string& pw, bool expired = false) {
    ardeko::T_Password p;
    p.service = service;
    p.pw = pw;
    p.Dt_Insert = p.Dt_Modif = kToday - 5;
    p.blExpire = expired;
    p.Dt_Expire = kToday - 2;
    QVERIFY(qvs::Store().PWAdd(p));
}

QTableView* Grid(QWidget* w) {
    return w->findChild<QTableView*>(QStringLiteral("grid"));
}

QString LabelText(QWidget* w, const char* name) {
    return w->findChild<QLabel*>(QString::fromLatin1(name))->text();
}

void Click(QWidget* w, const char* name) {
    w->findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

// Every line as "entry|issue|detail".
QStringList Lines(QWidget* w) {
    const QAbstractItemModel* m = Grid(w)->model();
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r)
        out << QStringList{m->index(r, 0).data().toString(), m->index(r, 1).data().toString(),
                           m->index(r, 2).data().toString()}
                   .join(QLatin1Char('|'));
    return out;
}

QString MessageDuring(const std::function<void()>& action) {
    ModalScript script;
    QString said;
    script.On<qvs::frmMessage>([&](qvs::frmMessage* m) {
        said = m->findChild<QLabel*>(QStringLiteral("lblMsg"))->text();
        m->accept();
    });
    script.Start();
    action();
    return said;
}

// The window, its model checked at every report it is given.
QPointer<frmHealth> Show() {
    QPointer<frmHealth> w = qvs::ShowPasswordHealth();
    if (!w) return w;
    QAbstractItemModel* model = Grid(w)->model();
    new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::QtTest,
                                 model);
    return w;
}

void Close(QPointer<frmHealth>& w) {
    Click(w, "cmdClose");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestFrmHealth : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString WriteList(const QList<QPair<QByteArray, int>>& seen) {
        QByteArrayList lines;
        for (const auto& [pw, count] : seen)
            lines << QCryptographicHash::hash(pw, QCryptographicHash::Sha1).toHex().toUpper() +
                         ':' + QByteArray::number(count);
        std::sort(lines.begin(), lines.end());
        QFile f(dir_.filePath(QStringLiteral("breached.txt")));
        if (!f.open(QIODevice::WriteOnly)) return {};
        f.write(lines.join("\r\n") + "\r\n");
        return f.fileName();
    }

private slots:
    void init() {
        QVERIFY(LoadShippedLanguage("ENG"));
        FreshStore().SetClock([] { return kToday + 0.5; });
        AddEntry("Mail", kWeak);
        AddEntry("Bank", kShared, true);
        AddEntry("Shop", kShared);
        // No list chosen at an earlier start.
        qvs::Opt().BreachedList.clear();
        QVERIFY(qvs::SaveOption(&qvs::Options::BreachedList));
    }
    void cleanup() { QCOMPARE(qvs::ModalDepth(), 0); }

    void listsWhatItFindsAndNeverAPassword() {
        QPointer<frmHealth> w = Show();
        QVERIFY(w->isVisible());
        QCOMPARE(qvs::TopModal(), w.data());
        QCOMPARE(w->windowTitle(), QStringLiteral("Password health"));
        const QStringList lines = Lines(w);
        QCOMPARE(lines.size(), 4);
        QVERIFY2(lines[0].startsWith("Mail|Weak|Very weak \u00b7 "), qPrintable(lines[0]));
        QCOMPARE(lines.mid(1), (QStringList{"Bank|Reused|Group 1: 2 entries share this password",
                                            "Shop|Reused|Group 1: 2 entries share this password",
                                            "Bank|Expired|On 08/03/2026"}));
        QCOMPARE(LabelText(w, "lblSummary"),
                 QStringLiteral("3 entries checked. Weak: 1 \u00b7 Reused: 2 \u00b7 Expired: 1"));
        QVERIFY(LabelText(w, "lblList").startsWith("Not checked against a breached"));
        for (const QString& line : lines)
            QVERIFY(!line.contains(kWeak) && !line.contains(kShared));
        Close(w);
        QVERIFY(!w);
    }

    // Chosen in the file chooser; found passwords come first, the most often
    // seen first, and the list stays chosen for the next analysis.
    void checksAgainstAChosenList() {
        const QString list = WriteList({{kShared, 3}, {kWeak, 900}, {"unrelated", 1}});
        QPointer<frmHealth> w = Show();
        ModalScript script;
        script.On<QFileDialog>([&](QFileDialog* d) {
            d->selectFile(list);
            static_cast<QDialog*>(d)->accept(); // the chooser's own check of the name runs
        });
        script.Start();
        Click(w, "cmdBreached");
        QVERIFY(script.Done());
        const QStringList lines = Lines(w);
        QCOMPARE(lines.mid(0, 3), (QStringList{"Mail|Breached|Seen 900 times in breaches",
                                               "Bank|Breached|Seen 3 times in breaches",
                                               "Shop|Breached|Seen 3 times in breaches"}));
        QVERIFY(LabelText(w, "lblList").contains(QDir::toNativeSeparators(list)));
        QVERIFY(w->Analyse());
        QCOMPARE(Lines(w), lines);
        Close(w);
    }

    // A file that is no list, or not in hash order, is refused with why; the
    // list chosen before stays in use.
    void refusesListsItCannotSearch() {
        const QString good = WriteList({{kWeak, 4}});
        QPointer<frmHealth> w = Show();
        QVERIFY(w->UseBreachedList(good));
        QFile text(dir_.filePath(QStringLiteral("notes.txt")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("shopping: milk, bread\n");
        text.close();
        QString said = MessageDuring([&] { QVERIFY(!w->UseBreachedList(text.fileName())); });
        QVERIFY2(said.contains("is not a list of password hashes"), qPrintable(said));
        said = MessageDuring([&] { QVERIFY(!w->UseBreachedList(dir_.filePath("gone.txt"))); });
        QVERIFY2(said.contains("cannot be read"), qPrintable(said));
        QVERIFY(LabelText(w, "lblList").contains(QDir::toNativeSeparators(good)));
        QVERIFY(Lines(w).front().startsWith("Mail|Breached|"));
        Close(w);
    }

    // Each line opens its entry; once the editor closes, the report follows
    // the change.
    void linesOpenTheirEntries() {
        QStringList edited;
        std::unique_ptr<QWidget> editor;
        QPointer<frmHealth> w = new frmHealth(qvs::Store(), [&](const QString& service) {
            edited << service;
            editor = std::make_unique<QWidget>();
            return editor.get();
        });
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->Analyse();
        w->ShowList();
        QTableView* grid = Grid(w);
        grid->selectRow(2);
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(edited, QStringList{"Shop"});
        ardeko::T_Password p = *qvs::Store().Password().Find("Shop");
        p.pw = "an0ther-Str0ng!pass-phrase";
        QVERIFY(qvs::Store().PWEdit(p, p.service));
        QCOMPARE(Lines(w).size(), 4);
        editor.reset();
        QCOMPARE(Lines(w).size(), 2);

        grid->clearSelection();
        QCOMPARE(MessageDuring([&] { Click(w, "cmdEdit"); }),
                 QStringLiteral("Select a line first."));
        QCOMPARE(edited.size(), 1);
        Close(w);
    }

    // The list chosen stays chosen at the next start, until the user forgets it.
    void keepsTheChosenListUntilForgotten() {
        const QString list = WriteList({{kWeak, 7}});
        QPointer<frmHealth> w = Show();
        QVERIFY(!w->findChild<QPushButton*>("cmdForgetList")->isEnabled());
        QVERIFY(w->UseBreachedList(list));
        Close(w);
        qvs::LoadOptions(); // as at the next start
        QCOMPARE(qvs::Opt().BreachedList, list);
        w = Show();
        QVERIFY(LabelText(w, "lblList").contains(QDir::toNativeSeparators(list)));
        QCOMPARE(Lines(w).front(), QStringLiteral("Mail|Breached|Seen 7 times in breaches"));
        auto* forget = w->findChild<QPushButton*>("cmdForgetList");
        QVERIFY(forget->isEnabled());
        forget->click();
        QVERIFY(LabelText(w, "lblList").startsWith("Not checked against a breached"));
        QVERIFY(!forget->isEnabled());
        QCOMPARE(Lines(w).size(), 4); // the breached line has gone
        Close(w);
        qvs::LoadOptions();
        QVERIFY(qvs::Opt().BreachedList.isEmpty());
    }

    // A kept list that has gone since is said once, in the window rather
    // than in a message before it, and is no longer used.
    void aKeptListGoneSinceIsSaidOnceInTheWindow() {
        const QString list = WriteList({{kWeak, 7}});
        QPointer<frmHealth> w = Show();
        QVERIFY(w->UseBreachedList(list));
        Close(w);
        QVERIFY(QFile::remove(list));
        qvs::LoadOptions();
        QCOMPARE(MessageDuring([&] { w = Show(); }), QString());
        const QString said = LabelText(w, "lblList");
        QVERIFY2(said.contains("chosen earlier") && said.contains(QDir::toNativeSeparators(list)),
                 qPrintable(said));
        QCOMPARE(Lines(w).size(), 4);
        QVERIFY(!w->findChild<QPushButton*>("cmdForgetList")->isEnabled());
        Close(w);
        qvs::LoadOptions();
        QVERIFY(qvs::Opt().BreachedList.isEmpty());
        w = Show();
        QVERIFY(LabelText(w, "lblList").startsWith("Not checked against a breached"));
        Close(w);
    }

    void speaksItalian() {
        QVERIFY(LoadShippedLanguage("ITA"));
        QPointer<frmHealth> w = Show();
        QCOMPARE(w->windowTitle(), QStringLiteral("Salute delle password"));
        QVERIFY(Lines(w).front().startsWith("Mail|Debole|Molto debole"));
        QCOMPARE(Grid(w)->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Problema"));
        QVERIFY(LabelText(w, "lblSummary").startsWith("Voci controllate: 3."));
        Close(w);
    }
};

QTEST_MAIN(TestFrmHealth)
#include "tst_frm_health.moc"
