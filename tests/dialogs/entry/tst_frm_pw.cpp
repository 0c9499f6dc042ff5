// The entry editor: adding, editing, pasting, its checks, the keys, and the
// dates that follow each other.
#include "tests/dialogs/entry/editor_fixture.h"
#include "tests/frame/store_fixture.h"

#include "autotype/key_pair.h"
#include "frame/frm_calendar.h"
#include "frame/modal_stack.h"
#include "store/pw.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QPlainTextEdit>
#include <QSet>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

using qvs::frmPW;
using qvs::Store;

namespace {

std::int16_t CatCode(const char* name) {
    return Store().Category().Find(name)->Codcat;
}

std::int16_t SubCode(const char* cat, const char* name) {
    return Store().SubCategory().Find(ardeko::SubCategoryKey(CatCode(cat), name))->CodSCat;
}

const ardeko::T_Password* Entry(const char* service) {
    return Store().Password().Find(service);
}

QDate Today() {
    return QDate(1899, 12, 30).addDays(static_cast<qint64>(kToday));
}

} // namespace

class TestFrmPW : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(LoadShippedLanguage()); }
    void init() {
        FreshStore().SetClock([] { return kNow; });
        QVERIFY(Store().CatAdd("Banks") && Store().CatAdd("Mail"));
        QVERIFY(Store().SubCatAdd(CatCode("Banks"), "Savings"));
        ardeko::T_Password p;
        p.service = "Bank A";
        p.Codcat = CatCode("Banks");
        p.User = "anna";
        p.pw = "old";
        p.Dt_Insert = 40000;
        p.stringa3 = "kept";
        QVERIFY(Store().PWAdd(p));
        p.service = "Mail B";
        p.Codcat = CatCode("Mail");
        QVERIFY(Store().PWAdd(p));
        qvs::Opt() = qvs::DefaultOptions();
        main_ = std::make_unique<RecordingMain>();
        qvs::SetCurrentMainWindow(main_.get());
    }
    void cleanup() { CloseEditors(); }

    void addsAnEntryInTheProposedNode();
    void anotherSavesAndStartsOver();
    void editsAndRenames();
    void pastesWithoutTheServiceName();
    void refusesWhatItCannotSave_data();
    void refusesWhatItCannotSave();
    void passwordsMustMatchOnlyWhenHidden();
    void addsCategoriesOnRequest();
    void refusesTextTheFileCannotHold();
    void keyPairRoundTrip();
    void dayCountAndDateFollowEachOther();
    void calendarFillsTheDateBox();
    void cancelAsksOnlyAfterChanges();
    void okWithoutChangesLeavesTheEntryAsStored();
    void editsKeepTheNotesLineEnds();
    void mnemonicsAreUniqueInBothLanguages();

private:
    std::unique_ptr<RecordingMain> main_;
};

void TestFrmPW::addsAnEntryInTheProposedNode() {
    const auto banks = CatCode("Banks"), savings = SubCode("Banks", "Savings");
    QPointer<frmPW> w = qvs::PasswordAdd(banks, savings);
    QCOMPARE(qvs::ModalDepth(), 1);
    QVERIFY(!main_->widget.isEnabled());
    QCOMPARE(Combo(w, "cboCateg")->currentText(), QStringLiteral("Banks"));
    QCOMPARE(Combo(w, "cboSCateg")->currentText(), QStringLiteral("Savings"));
    QVERIFY(Child(w, "cmdAnother")->isVisibleTo(w));
    QCOMPARE(Child<QDateEdit>(w, "txtExpDate")->date(), Today().addDays(60));
    QCOMPARE(Child<QSpinBox>(w, "txtDChange")->value(), 30);
    QVERIFY(!Child<QCheckBox>(w, "chkExpire")->isChecked());
    QVERIFY(!Child(w, "txtExpDate")->isEnabled());

    Box(w, "txtService")->setText(QStringLiteral("  Bank C "));
    Box(w, "txtName")->setText(QStringLiteral("carla"));
    Box(w, "txtPw")->setText(QStringLiteral("pässword"));
    Child<QCheckBox>(w, "chkExpire")->click();
    QVERIFY(Child(w, "txtExpDate")->isEnabled());
    QTest::keyClick(Box(w, "txtName"), Qt::Key_Return); // Enter confirms
    Settle();
    QVERIFY(!w);

    const ardeko::T_Password* saved = Entry("Bank C");
    QVERIFY(saved);
    QCOMPARE(saved->Codcat, banks);
    QCOMPARE(saved->CodSCat, savings);
    QCOMPARE(saved->User, std::string("carla"));
    QCOMPARE(saved->pw, std::string("pässword"));
    QCOMPARE(saved->Dt_Insert, kNow);
    QCOMPARE(saved->Dt_Modif, kNow);
    QCOMPARE(saved->Dt_Expire, kToday + 60);
    QVERIFY(saved->blExpire && saved->blNotExpire && !saved->blChange);
    QCOMPARE(saved->ggNotExpire, std::int16_t(5));
    QCOMPARE(saved->Keyaftbef, qvs::DefaultKeyVal());
    QCOMPARE(main_->counted, (std::vector<std::pair<int, int>>{{banks, savings}}));
    QCOMPARE(main_->updates, QStringList{QStringLiteral("Bank C")});
    QVERIFY(main_->widget.isEnabled());
}

void TestFrmPW::anotherSavesAndStartsOver() {
    QPointer<frmPW> w = qvs::PasswordAdd(CatCode("Mail"), 0);
    Box(w, "txtService")->setText(QStringLiteral("Mail C"));
    Box(w, "txtName")->setText(QStringLiteral("carla"));
    Child<QPushButton>(w, "cmdAnother")->click();
    QVERIFY(Entry("Mail C"));
    QVERIFY(w && w->isVisible());
    QVERIFY(Box(w, "txtService")->text().isEmpty() && Box(w, "txtName")->text().isEmpty());
    QCOMPARE(Combo(w, "cboCateg")->currentText(), QStringLiteral("Mail"));
    QVERIFY(!w->HasChanges());
    Child<QPushButton>(w, "cmdCancel")->click();
    Settle();
    QVERIFY(!w);
}

void TestFrmPW::editsAndRenames() {
    QVERIFY(!qvs::PasswordEdit(QStringLiteral("Nobody")));
    QCOMPARE(qvs::ModalDepth(), 0);
    QPointer<frmPW> w = qvs::PasswordEdit(QStringLiteral("bank a"));
    QCOMPARE(w->CurrentMode(), frmPW::Mode::Modify);
    QVERIFY(!Child(w, "cmdAnother")->isVisibleTo(w));
    QCOMPARE(Box(w, "txtName")->text(), QStringLiteral("anna"));
    QCOMPARE(Combo(w, "cboCateg")->currentText(), QStringLiteral("Banks"));
    QVERIFY(Child<QLabel>(w, "lblInsert")->text().endsWith(QStringLiteral("06/07/2009 00:00")));
    // Dates the entry never had are proposed as for a new entry, not 1899.
    QCOMPARE(Child<QDateEdit>(w, "txtExpDate")->date(), Today().addDays(60));
    QVERIFY(!w->HasChanges());

    // A name another entry has: the store's refusal is shown, nothing changes.
    Box(w, "txtService")->setText(QStringLiteral("MAIL b"));
    Combo(w, "cboCateg")->setCurrentIndex(Combo(w, "cboCateg")->findText(QStringLiteral("Mail")));
    QCOMPARE(Answering({true}, [&] { Confirm(w); }),
             QStringList{qvs::GetLocalText(33504)}); // in the user's language
    QVERIFY(w);
    QCOMPARE(Entry("Bank A")->Codcat, CatCode("Banks"));
    QCOMPARE(Entry("Mail B")->User, std::string("anna"));
    QVERIFY(!Store().NotSaved() || Store().Password().Count() == 2);

    Box(w, "txtService")->setText(QStringLiteral("Bank Z"));
    Confirm(w);
    QVERIFY(!w);
    QVERIFY(!Entry("Bank A"));
    const ardeko::T_Password* renamed = Entry("Bank Z");
    QCOMPARE(renamed->Codcat, CatCode("Mail"));
    QCOMPARE(renamed->Dt_Insert, 40000.0);
    QCOMPARE(renamed->Dt_Modif, kNow);
    QCOMPARE(renamed->stringa3, std::string("kept")); // fields the window does not show
    // Both the new and the former node are recounted.
    QCOMPARE(main_->counted,
             (std::vector<std::pair<int, int>>{{CatCode("Mail"), 0}, {CatCode("Banks"), 0}}));
}

void TestFrmPW::pastesWithoutTheServiceName() {
    ardeko::T_Password copied = *Entry("Bank A");
    QPointer<frmPW> w = qvs::PasswordPasteNew(copied);
    QCOMPARE(w->CurrentMode(), frmPW::Mode::Paste);
    QVERIFY(Box(w, "txtService")->text().isEmpty());
    QVERIFY(!Child(w, "cmdAnother")->isVisibleTo(w));
    QCOMPARE(Answering({true}, [&] { Confirm(w); }), QStringList{Text(11012)});
    QVERIFY(w);
    Box(w, "txtService")->setText(QStringLiteral("Bank A copy"));
    Confirm(w);
    QVERIFY(!w);
    QCOMPARE(Entry("Bank A copy")->User, std::string("anna"));
    QCOMPARE(Entry("Bank A copy")->Dt_Insert, kNow);
    QVERIFY(Entry("Bank A"));
}

void TestFrmPW::refusesWhatItCannotSave_data() {
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("subcategory");
    QTest::addColumn<QString>("service");
    QTest::addColumn<QStringList>("messages");
    // Declining to add a typed category or subcategory.
    QTest::newRow("unknown category")
        << "Shops"
        << ""
        << "X" << QStringList{Text(11003, "Shops"), Text(11010, "Shops")};
    QTest::newRow("unknown subcategory")
        << "Banks"
        << "Cards"
        << "X" << QStringList{Text(11006, "Cards"), Text(11011, "Cards")};
    // Letter case makes another name, which the store will not add.
    QTest::newRow("category in other case")
        << "banks"
        << ""
        << "X" << QStringList{Text(11002, "banks"), Text(11010, "banks")};
    QTest::newRow("blank service") << "Banks"
                                   << ""
                                   << "   " << QStringList{Text(11012)};
}

void TestFrmPW::refusesWhatItCannotSave() {
    QFETCH(QString, category);
    QFETCH(QString, subcategory);
    QFETCH(QString, service);
    QFETCH(QStringList, messages);
    QPointer<frmPW> w = qvs::PasswordAdd(0, 0);
    Combo(w, "cboCateg")->setEditText(category);
    if (!subcategory.isEmpty()) Combo(w, "cboSCateg")->setEditText(subcategory);
    Box(w, "txtService")->setText(service);
    QCOMPARE(Answering(std::vector<bool>(messages.size(), false), [&] { Confirm(w); }), messages);
    QVERIFY(w && w->isVisible());
    QCOMPARE(Store().Password().Count(), 2u);
    QCOMPARE(Store().Category().Count(), 2u);
    QCOMPARE(Combo(w, "cboCateg")->currentText(), category);
}

void TestFrmPW::passwordsMustMatchOnlyWhenHidden() {
    QPointer<frmPW> w = qvs::PasswordAdd(0, 0);
    QVERIFY(!Box(w, "txtPW2")->isVisibleTo(w));
    QCOMPARE(Box(w, "txtPw")->echoMode(), QLineEdit::Normal);
    Box(w, "txtService")->setText(QStringLiteral("Plain"));
    Box(w, "txtPw")->setText(QStringLiteral("one"));
    Box(w, "txtPW2")->setText(QStringLiteral("two"));
    Confirm(w);
    QVERIFY(!w && Entry("Plain"));

    qvs::Opt().SecurityLevel = 1;
    w = qvs::PasswordAdd(0, 0);
    QVERIFY(Box(w, "txtPW2")->isVisibleTo(w));
    QCOMPARE(Box(w, "txtPw")->echoMode(), QLineEdit::Password);
    Box(w, "txtService")->setText(QStringLiteral("Hidden"));
    Box(w, "txtPw")->setText(QStringLiteral("Secret"));
    Box(w, "txtPW2")->setText(QStringLiteral("secret"));
    QCOMPARE(Answering({true}, [&] { Confirm(w); }), QStringList{Text(11013)});
    // Back in the editor, however late it is activated, the password is
    // ready to be typed over.
    QApplication::setActiveWindow(w);
    Settle();
    QVERIFY(Box(w, "txtPw")->hasFocus());
    QCOMPARE(Box(w, "txtPw")->selectedText(), QStringLiteral("Secret"));
    QVERIFY(!Entry("Hidden"));
    Box(w, "txtPW2")->setText(QStringLiteral("Secret"));
    Confirm(w);
    QCOMPARE(Entry("Hidden")->pw, std::string("Secret"));
}

void TestFrmPW::addsCategoriesOnRequest() {
    QPointer<frmPW> w = qvs::PasswordAdd(0, 0);
    Combo(w, "cboCateg")->setEditText(QStringLiteral("Shops"));
    Combo(w, "cboSCateg")->setEditText(QStringLiteral("Online"));
    Box(w, "txtService")->setText(QStringLiteral("Shop"));
    QCOMPARE(Answering({true, true}, [&] { Confirm(w); }),
             (QStringList{Text(11003, "Shops"), Text(11006, "Online")}));
    QVERIFY(!w);
    QCOMPARE(Entry("Shop")->Codcat, CatCode("Shops"));
    QCOMPARE(Entry("Shop")->CodSCat, SubCode("Shops", "Online"));
    // New categories need the whole tree rebuilt.
    QCOMPARE(main_->updates, QStringList{QString()});

    // Adding an existing subcategory is refused with its own message.
    w = qvs::PasswordAdd(CatCode("Banks"), 0);
    QVERIFY(!Child(w, "cmdAddSubCat")->isEnabled()); // until a name is typed
    Combo(w, "cboSCateg")->lineEdit()->clear();
    QTest::keyClicks(Combo(w, "cboSCateg")->lineEdit(), QStringLiteral("savings"));
    QVERIFY(Child(w, "cmdAddSubCat")->isEnabled());
    QCOMPARE(Answering({true}, [&] { Child<QPushButton>(w, "cmdAddSubCat")->click(); }),
             QStringList{Text(11005, "savings")});
}

void TestFrmPW::refusesTextTheFileCannotHold() {
    struct Case {
        const char* box;
        QString text;
        QString message;
        int page;
    };
    const QString longText(43690, QLatin1Char('x'));
    const QString prefix = QStringLiteral("The field \"");
    const Case cases[] = {
        {"txtName", QStringLiteral("Иван"), prefix + "User name\" holds the character И", 0},
        {"txtPw", QStringLiteral("pass€Ж"), Text(31101, "Password"), 0},
        {"txtSentence", QStringLiteral("日本"), prefix + "Reminder sentence\" holds", 1},
        {"txtNotes", longText, Text(31102, "Notes").replace("%n", "43690").replace("%m", "43689"),
         4},
    };
    Store().SetFormat(ardeko::FileFormat::Legacy);
    QPointer<frmPW> w = qvs::PasswordAdd(0, 0);
    Box(w, "txtService")->setText(QStringLiteral("Refused"));
    for (const Case& c : cases) {
        QWidget* control = Child(w, c.box);
        if (auto* notes = qobject_cast<QPlainTextEdit*>(control))
            notes->setPlainText(c.text);
        else
            static_cast<QLineEdit*>(control)->setText(c.text);
        const QStringList shown = Answering({true}, [&] { Confirm(w); });
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith(c.message), qPrintable(shown[0]));
        QVERIFY(!shown[0].contains(QStringLiteral("Ж"))); // never a password's character
        QCOMPARE(Child<QTabWidget>(w, "sstPassword")->currentIndex(), c.page);
        QCOMPARE(Store().Password().Count(), 2u);
        QVERIFY(!Store().NotSaved() || !Entry("Refused"));
        if (auto* notes = qobject_cast<QPlainTextEdit*>(control))
            notes->clear();
        else
            static_cast<QLineEdit*>(control)->clear();
    }
    // A category name is refused before the store takes it.
    Combo(w, "cboCateg")->setEditText(QStringLiteral("Ωmega"));
    QVERIFY(Answering({true, false}, [&] { Confirm(w); })
                .first()
                .startsWith(prefix + QStringLiteral("Category\" holds the character Ω")));
    QVERIFY(!Store().CatExist("Ωmega"));
    // A format-2 file takes the same texts.
    Store().SetFormat(ardeko::FileFormat::Two);
    Combo(w, "cboCateg")->setEditText(QStringLiteral("Banks"));
    Box(w, "txtName")->setText(QStringLiteral("Иван 日本"));
    const QStringList shown = Answering({true}, [&] { Confirm(w); });
    QVERIFY2(Entry("Refused"), qPrintable(shown.join('|')));
    QCOMPARE(Entry("Refused")->User, std::string("Иван 日本"));
}

void TestFrmPW::keyPairRoundTrip() {
    QPointer<frmPW> w = qvs::PasswordAdd(0, 0);
    Box(w, "txtService")->setText(QStringLiteral("Keys"));
    QComboBox* before = Combo(w, "cbBefore");
    QComboBox* after = Combo(w, "cbAfter");
    before->setCurrentIndex(before->findData(-1));
    QVERIFY(Box(w, "txtbefore")->isEnabled());
    // "Other" with no character is refused.
    Box(w, "txtbefore")->clear();
    QCOMPARE(Answering({true}, [&] { Confirm(w); }),
             QStringList{Text(31103, "Key between user name and password")});
    Box(w, "txtbefore")->setText(QStringLiteral("È")); // code 200
    after->setCurrentIndex(after->findData(13));
    QVERIFY(!Box(w, "txtAfter")->isEnabled());
    Confirm(w);
    QVERIFY(!w);
    QVERIFY(Entry("Keys")->Keyaftbef < 0);
    QCOMPARE(Entry("Keys")->Keyaftbef, qvs::PackKeyPair(200, 13));

    w = qvs::PasswordEdit(QStringLiteral("Keys"));
    QCOMPARE(Combo(w, "cbBefore")->currentData().toInt(), -1);
    QCOMPARE(Box(w, "txtbefore")->text(), QStringLiteral("È"));
    QCOMPARE(Combo(w, "cbAfter")->currentData().toInt(), 13);
    QVERIFY(Box(w, "txtAfter")->text().isEmpty());
    QVERIFY(!w->HasChanges());
    for (const char* name : {"cbBefore", "cbAfter"})
        Combo(w, name)->setCurrentIndex(Combo(w, name)->findData(0));
    Confirm(w);
    QCOMPARE(Entry("Keys")->Keyaftbef, std::int16_t(0));
}

void TestFrmPW::dayCountAndDateFollowEachOther() {
    QPointer<frmPW> w = qvs::PasswordAdd(0, 0);
    for (const auto& [days, date] :
         {std::pair{"txtDExp", "txtExpDate"}, std::pair{"txtDChange", "TxtChgDate"}}) {
        auto* count = Child<QSpinBox>(w, days);
        auto* box = Child<QDateEdit>(w, date);
        count->setValue(-5);
        QCOMPARE(box->date(), Today().addDays(-5));
        box->setDate(Today().addDays(400));
        QCOMPARE(count->value(), 400);
        QTest::keyClicks(count->findChild<QLineEdit*>(), QStringLiteral("x")); // not a number
        QCOMPARE(count->value(), 400);
    }
    // A stored date follows into the day count when the entry is opened.
    ardeko::T_Password p = *Entry("Bank A");
    p.service = "Dated";
    p.Dt_Expire = kToday - 3 + 0.75; // the time of day does not count
    p.blExpire = p.blNotExpire = true;
    QVERIFY(Store().PWAdd(p));
    QPointer<frmPW> e = qvs::PasswordEdit(QStringLiteral("Dated"));
    QCOMPARE(Child<QSpinBox>(e, "txtDExp")->value(), -3);
    QVERIFY(Child<QSpinBox>(e, "txtDExp")->isEnabled() && Child(e, "txtNExp")->isEnabled());
    Child<QCheckBox>(e, "chkNExpire")->click();
    QVERIFY(!Child(e, "txtNExp")->isEnabled());
}

void TestFrmPW::calendarFillsTheDateBox() {
    QPointer<frmPW> w = qvs::PasswordAdd(0, 0);
    Child<QCheckBox>(w, "chkChange")->click();
    auto* toggle = Child<QToolButton>(w, "chkDDChgDate");
    toggle->click();
    auto* picker = Child<qvs::frmCalendar>(w, "frmCalendar");
    QVERIFY(picker->isVisible() && toggle->isChecked());
    QCOMPARE(picker->Value(), Today().addDays(30));
    picker->Calendar()->setSelectedDate(Today().addDays(7));
    QCOMPARE(Child<QDateEdit>(w, "TxtChgDate")->date(), Today().addDays(7));
    QCOMPARE(Child<QSpinBox>(w, "txtDChange")->value(), 7);
    QCOMPARE(Child<QDateEdit>(w, "txtExpDate")->date(), Today().addDays(60)); // the other box stays
    picker->close();
    QVERIFY(!toggle->isChecked());
}

void TestFrmPW::cancelAsksOnlyAfterChanges() {
    QPointer<frmPW> w = qvs::PasswordEdit(QStringLiteral("Bank A"));
    QTest::keyClick(w, Qt::Key_Escape);
    Settle();
    QVERIFY(!w); // nothing changed: no question

    w = qvs::PasswordEdit(QStringLiteral("Bank A"));
    Box(w, "txtName")->setText(QStringLiteral("changed"));
    QCOMPARE(Answering({false}, [&] { QTest::keyClick(w, Qt::Key_Escape); }),
             QStringList{Text(31104)});
    Settle();
    QVERIFY(w);
    QCOMPARE(Answering({true}, [&] { w->close(); }), QStringList{Text(31104)});
    Settle();
    QVERIFY(!w);
    QCOMPARE(Entry("Bank A")->User, std::string("anna"));
    QVERIFY(main_->updates.isEmpty());
}

// Notes with CR LF, blanks around the name, unused dates of 0: what the
// controls would tidy up must stay as the file has it.
void TestFrmPW::okWithoutChangesLeavesTheEntryAsStored() {
    ardeko::T_Password p;
    p.service = " Spaced ";
    p.Codcat = CatCode("Banks");
    p.User = "ulla";
    p.Descr = "line one\r\nline two";
    p.Dt_Insert = 40000;
    p.Dt_Modif = 40001;
    QVERIFY(Store().PWAdd(p));
    const ardeko::T_Password before = *Entry(" Spaced ");
    QVERIFY(before.Dt_Expire == 0 && before.Dt_Change == 0);
    QPointer<frmPW> w = qvs::PasswordEdit(QStringLiteral(" Spaced "));
    QVERIFY(w);
    QVERIFY(!w->HasChanges());
    Confirm(w);
    Settle();
    QVERIFY(!w);
    QVERIFY(Entry(" Spaced ") && *Entry(" Spaced ") == before);
}

// The notes box knows only LF: an edit elsewhere leaves the notes' bytes
// alone, and edited notes go on using CR LF when they had it.
void TestFrmPW::editsKeepTheNotesLineEnds() {
    const auto editNotes = [](const char* service, const std::string& notes, auto change) {
        ardeko::T_Password p = *Entry(service);
        p.Descr = notes;
        QVERIFY(Store().PWEdit(p, p.service, p.Codcat, p.CodSCat));
        QPointer<frmPW> w = qvs::PasswordEdit(QString::fromLatin1(service));
        change(w);
        QVERIFY(w->HasChanges());
        Confirm(w);
        QVERIFY(!w);
    };
    const auto renameUser = [](QPointer<frmPW>& w) {
        Box(w, "txtName")->setText(QStringLiteral("ulla"));
    };
    editNotes("Bank A", "one\r\ntwo\rthree\nfour", renameUser);
    QCOMPARE(Entry("Bank A")->Descr, std::string("one\r\ntwo\rthree\nfour"));
    editNotes("Bank A", "one\r\ntwo", [](QPointer<frmPW>& w) {
        Child<QPlainTextEdit>(w, "txtNotes")->appendPlainText(QStringLiteral("three"));
    });
    QCOMPARE(Entry("Bank A")->Descr, std::string("one\r\ntwo\r\nthree"));
    editNotes("Mail B", "one\ntwo", [](QPointer<frmPW>& w) {
        Child<QPlainTextEdit>(w, "txtNotes")->appendPlainText(QStringLiteral("three"));
    });
    QCOMPARE(Entry("Mail B")->Descr, std::string("one\ntwo\nthree"));
}

// Every Alt key of the editor's general page reaches one control only.
void TestFrmPW::mnemonicsAreUniqueInBothLanguages() {
    for (const char* language : {"ITA", "ENG"}) {
        QString code = QString::fromLatin1(language);
        QVERIFY(qvs::LoadLanguage(code));
        QPointer<frmPW> w = qvs::PasswordAdd(-1, -1);
        auto* tabs = Child<QTabWidget>(w, "sstPassword");
        // The tabs and the window's buttons, with the buttons of each page.
        for (int page = 0; page < tabs->count(); ++page) {
            QStringList texts;
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
            for (QAbstractButton* b : tabs->widget(page)->findChildren<QAbstractButton*>())
                texts << b->text();
            for (QAbstractButton* b : w->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
                texts << b->text();
            QSet<QChar> keys;
            for (const QString& text : texts) {
                const int at = text.indexOf(QLatin1Char('&'));
                if (at < 0 || at + 1 >= text.size()) continue;
                const QChar key = text.at(at + 1).toLower();
                QVERIFY2(!keys.contains(key), qPrintable(code + QStringLiteral(": ") + text));
                keys.insert(key);
            }
        }
        w->reject();
        Settle();
    }
}

QTEST_MAIN(TestFrmPW)
#include "tst_frm_pw.moc"
