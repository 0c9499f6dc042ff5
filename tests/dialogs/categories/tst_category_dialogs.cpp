// The category, subcategory and category-choice windows driven as a user
// would: each button, the questions and refusals it shows, and what the store
// holds afterwards.
#include "dialogs/categories/frm_category.h"
#include "dialogs/categories/frm_change_cat.h"
#include "dialogs/categories/frm_sub_category.h"
#include "frame/frm_message.h"
#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/program_state.h"
#include "tests/frame/store_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <deque>

using qvs::frmCategory;
using qvs::frmChangeCat;
using qvs::frmSubCategory;
using qvs::Store;

namespace {

template <class W = QWidget> W* Child(QWidget* w, const char* name) {
    W* child = w->findChild<W*>(QString::fromLatin1(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

// Answers every modal window the code under test opens: messages with the
// next queued button (OK once the queue is empty), the category chooser with
// the next queued position (-1 cancels). Never leaves a test hanging.
class Answerer {
public:
    Answerer() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start();
    }
    std::deque<const char*> buttons;
    std::deque<int> choices;
    QStringList messages;
    QStringList chooserTitles;

private:
    void Tick() {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* m = qobject_cast<qvs::frmMessage*>(w)) {
            messages << Child<QLabel>(m, "lblMsg")->text();
            const char* button = buttons.empty() ? "cmdOK" : buttons.front();
            if (!buttons.empty()) buttons.pop_front();
            Child<QPushButton>(m, button)->click();
        } else if (auto* c = qobject_cast<frmChangeCat*>(w)) {
            chooserTitles << c->windowTitle();
            const int choice = choices.empty() ? -1 : choices.front();
            if (!choices.empty()) choices.pop_front();
            if (choice < 0) return Child<QPushButton>(c, "cmdCancel")->click();
            c->cboCategorie()->setCurrentIndex(choice);
            Child<QPushButton>(c, "cmdOK")->click();
        }
    }
    QTimer timer_;
};

struct RecordingMain : qvs::IMainWindow {
    QWidget* MainWidget() override { return nullptr; }
    void UpdateView(const QString& selection) override { updates << selection; }
    QStringList updates;
};

QString Text(int id) {
    return qvs::GetLocalText(id);
}

QString Question(int first, int second, int entries) {
    QString question = Text(first) + QLatin1Char('\n') + Text(second);
    return question.replace(QLatin1String("%n"), QString::number(entries));
}

// The store's reason comes in the user's language, never in its own words.
QString Refusal(int id, int reasonId = 0) {
    return reasonId ? Text(id) + QLatin1Char('\n') + Text(reasonId) : Text(id);
}

std::int16_t CatCode(const std::string& name) {
    const ardeko::T_Categ* c = Store().Category().Find(name);
    return c ? c->Codcat : std::int16_t(-1);
}

std::int16_t SubCode(const std::string& cat, const std::string& name) {
    const ardeko::T_SCateg* s =
        Store().SubCategory().Find(ardeko::SubCategoryKey(CatCode(cat), name));
    return s ? s->CodSCat : std::int16_t(-1);
}

void AddEntry(const std::string& service, std::int16_t cat, std::int16_t scat = 0) {
    ardeko::T_Password p;
    p.service = service;
    p.Codcat = cat;
    p.CodSCat = scat;
    QVERIFY(Store().PWAdd(p));
}

// Where an entry is filed, "cat/scat" by name; "gone" when deleted.
QString FiledAt(const std::string& service) {
    const ardeko::T_Password* p = Store().Password().Find(service);
    if (!p) return QStringLiteral("gone");
    return QString::fromStdString(Store().CatValue(p->Codcat) + "/" +
                                  Store().SubCatValue(p->CodSCat));
}

QStringList Items(QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

void Select(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    list->setCurrentItem(found.front());
}

void Click(QWidget* w, const char* name) {
    Child<QPushButton>(w, name)->click();
}

void Type(QWidget* w, const char* box, const QString& text) {
    Child<QLineEdit>(w, box)->setText(text);
}

} // namespace

class TestCategoryDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(LoadShippedLanguage()); }

    void init() {
        FreshStore().NewFile();
        for (const char* name : {"Bank", "Mail", "Work"})
            QVERIFY(Store().CatAdd(name));
        QVERIFY(Store().SubCatAdd(CatCode("Bank"), "Cards"));
        QVERIFY(Store().SubCatAdd(CatCode("Bank"), "Loans"));
        QVERIFY(Store().SubCatAdd(CatCode("Work"), "Cards"));
        AddEntry("visa", CatCode("Bank"), SubCode("Bank", "Cards"));
        AddEntry("mortgage", CatCode("Bank"), SubCode("Bank", "Loans"));
        AddEntry("bank-site", CatCode("Bank"));
        AddEntry("gmail", CatCode("Mail"));
        // Saved, so that NotSaved tells whether a step changed the store.
        QVERIFY(Store().SaveFile(dir_.filePath(QStringLiteral("t.QVS")).toStdString(), false));
        QVERIFY(!Store().NotSaved());
    }

    // Adding trims blanks and ignores an empty name without a word; a name
    // taken in any letter case is refused with the store's reason. Renaming
    // needs a selection and a name, keeps the code (and so the entries), and
    // an unchanged name is no change.
    void categoryAddAndRename() {
        Answerer answer;
        frmCategory form(Store());
        auto* list = Child<QListWidget>(&form, "lstCategorie");
        Type(&form, "txtcateg", QStringLiteral("   "));
        Click(&form, "cmdAdd");
        QVERIFY(answer.messages.isEmpty() && !Store().NotSaved());
        Type(&form, "txtcateg", QStringLiteral("  Shops  "));
        Click(&form, "cmdAdd");
        Type(&form, "txtcateg", QStringLiteral("mail"));
        Click(&form, "cmdAdd");
        QCOMPARE(answer.messages, QStringList{Refusal(3005, 33504)});
        QCOMPARE(Items(list), QStringList({"Bank", "Mail", "Work", "Shops"}));
        QVERIFY(Store().CatExist("Shops") && !Store().CatExist("  Shops  "));
        QVERIFY(Child<QLineEdit>(&form, "txtcateg")->text() == QStringLiteral("mail"));

        list->clearSelection();
        Type(&form, "txtcateg", QStringLiteral("Money"));
        Click(&form, "cmdRen");
        Select(list, QStringLiteral("Bank"));
        Type(&form, "txtcateg", QStringLiteral("Work"));
        Click(&form, "cmdRen");
        const std::int16_t code = CatCode("Bank");
        Type(&form, "txtcateg", QStringLiteral(" Money "));
        Click(&form, "cmdRen");
        QCOMPARE(answer.messages.mid(1), QStringList({Text(1), Refusal(3009)}));
        QCOMPARE(CatCode("Money"), code);
        QCOMPARE(Items(list), QStringList({"Money", "Mail", "Work", "Shops"}));
        QCOMPARE(FiledAt("visa"), QStringLiteral("Money/Cards"));
        QVERIFY(form.Changed());
    }

    void unchangedNameIsNoChange() {
        frmCategory categories(Store());
        Select(Child<QListWidget>(&categories, "lstCategorie"), QStringLiteral("Bank"));
        Type(&categories, "txtcateg", QStringLiteral(" Bank"));
        Click(&categories, "cmdRen");
        frmSubCategory subs(Store());
        Select(Child<QListWidget>(&subs, "lstSubCateg"), QStringLiteral("Cards"));
        Type(&subs, "txtSubCateg", QStringLiteral("Cards "));
        Click(&subs, "cmdRename");
        QVERIFY(!Store().NotSaved());
        QVERIFY(!categories.Changed() && !subs.Changed());
    }

    void categoryDelete_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("button"); // "" when no question may come
        QTest::addColumn<QString>("visa");
        QTest::addColumn<QString>("bankSite");
        QTest::newRow("keep entries") << "Bank"
                                      << "cmdOK"
                                      << "/"
                                      << "/";
        QTest::newRow("delete entries") << "Bank"
                                        << "cmdNo"
                                        << "gone"
                                        << "gone";
        QTest::newRow("cancel") << "Bank"
                                << "cmdCancel"
                                << "Bank/Cards"
                                << "Bank/";
        QTest::newRow("no entries, no question") << "Work"
                                                 << ""
                                                 << "Bank/Cards"
                                                 << "Bank/";
    }

    // The question counts every entry of the category, its subcategories'
    // included; the subcategories go with the category.
    void categoryDelete() {
        QFETCH(QString, category);
        QFETCH(QString, button);
        QFETCH(QString, visa);
        QFETCH(QString, bankSite);
        const bool deleted = button != QStringLiteral("cmdCancel");
        Answerer answer;
        const QByteArray name = button.toLatin1();
        if (!button.isEmpty()) answer.buttons.push_back(name.constData());
        const std::int16_t code = CatCode(category.toStdString());
        frmCategory form(Store());
        auto* list = Child<QListWidget>(&form, "lstCategorie");
        Select(list, category);
        Click(&form, "cmdDel");

        QCOMPARE(answer.messages,
                 button.isEmpty() ? QStringList() : QStringList{Question(3006, 3007, 3)});
        QCOMPARE(Store().CatExist(category.toStdString()), !deleted);
        QCOMPARE(Items(list).contains(category), !deleted);
        QCOMPARE(Store().SubCatNumber(code) == 0, deleted);
        QCOMPARE(FiledAt("visa"), visa);
        QCOMPARE(FiledAt("bank-site"), bankSite);
        QCOMPARE(FiledAt("gmail"), QStringLiteral("Mail/"));
        QCOMPARE(form.Changed(), deleted);
    }

    // Choosing a category lists its subcategories; adding goes to the chosen
    // one; the same name may live in two categories but not twice in one.
    // Renaming keeps the code and leaves the namesake elsewhere alone.
    void subCategoryAddAndRename() {
        Answerer answer;
        frmSubCategory form(Store());
        auto* categories = Child<QComboBox>(&form, "cboCategorie");
        auto* list = Child<QListWidget>(&form, "lstSubCateg");
        QCOMPARE(Items(list), QStringList({"Cards", "Loans"}));
        categories->setCurrentIndex(categories->findText(QStringLiteral("Mail")));
        QVERIFY(Items(list).isEmpty());
        Type(&form, "txtSubCateg", QStringLiteral(" Cards "));
        Click(&form, "cmdAdd");
        Type(&form, "txtSubCateg", QStringLiteral("CARDS"));
        Click(&form, "cmdAdd");
        QCOMPARE(answer.messages, QStringList{Refusal(14005, 33504)});
        QCOMPARE(Items(list), QStringList{"Cards"});
        QVERIFY(Store().SubCatExist(CatCode("Mail"), "Cards"));

        categories->setCurrentIndex(categories->findText(QStringLiteral("Bank")));
        const std::int16_t code = SubCode("Bank", "Cards");
        Select(list, QStringLiteral("Cards"));
        Type(&form, "txtSubCateg", QStringLiteral("loans"));
        Click(&form, "cmdRename");
        Type(&form, "txtSubCateg", QStringLiteral(" Credit cards "));
        Click(&form, "cmdRename");
        QCOMPARE(answer.messages.mid(1), QStringList{Refusal(14010)});
        QCOMPARE(SubCode("Bank", "Credit cards"), code);
        QCOMPARE(Items(list), QStringList({"Credit cards", "Loans"}));
        QCOMPARE(FiledAt("visa"), QStringLiteral("Bank/Credit cards"));
        QVERIFY(Store().SubCatExist(CatCode("Work"), "Cards"));
    }

    // With no category to choose, a subcategory would belong to none.
    void subCategoryAddWithoutCategory() {
        Answerer answer;
        Store().NewFile();
        frmSubCategory form(Store());
        Type(&form, "txtSubCateg", QStringLiteral("Cards"));
        Click(&form, "cmdAdd");
        QCOMPARE(answer.messages, QStringList{Text(1)});
        QVERIFY(Store().SubCategory().Empty());
    }

    void subCategoryDelete_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("button"); // "" when no question may come
        QTest::addColumn<QString>("visa");
        QTest::newRow("keep entries") << "Bank"
                                      << "cmdOK"
                                      << "Bank/";
        QTest::newRow("delete entries") << "Bank"
                                        << "cmdNo"
                                        << "gone";
        QTest::newRow("cancel") << "Bank"
                                << "cmdCancel"
                                << "Bank/Cards";
        QTest::newRow("no entries, no question") << "Work"
                                                 << ""
                                                 << "Bank/Cards";
    }

    // Only the chosen category's subcategory goes, not its namesake.
    void subCategoryDelete() {
        QFETCH(QString, category);
        QFETCH(QString, button);
        QFETCH(QString, visa);
        const bool deleted = button != QStringLiteral("cmdCancel");
        Answerer answer;
        const QByteArray name = button.toLatin1();
        if (!button.isEmpty()) answer.buttons.push_back(name.constData());
        frmSubCategory form(Store());
        auto* categories = Child<QComboBox>(&form, "cboCategorie");
        categories->setCurrentIndex(categories->findText(category));
        auto* list = Child<QListWidget>(&form, "lstSubCateg");
        Select(list, QStringLiteral("Cards"));
        Click(&form, "cmdDel");
        QCOMPARE(answer.messages,
                 button.isEmpty() ? QStringList() : QStringList{Question(33503, 14008, 1)});
        QCOMPARE(Store().SubCatExist(CatCode(category.toStdString()), "Cards"), !deleted);
        QCOMPARE(Items(list).contains(QStringLiteral("Cards")), !deleted);
        QCOMPARE(Store().SubCatNumber(CatCode("Bank")) + Store().SubCatNumber(CatCode("Work")),
                 deleted ? 2 : 3);
        QCOMPARE(FiledAt("visa"), visa);
        QCOMPARE(FiledAt("mortgage"), QStringLiteral("Bank/Loans"));
    }

    // Moving takes the entries along; the chooser proposes the current
    // category; the same category, a cancel or a name clash change nothing.
    void subCategoryMove() {
        Answerer answer;
        frmSubCategory form(Store());
        auto* list = Child<QListWidget>(&form, "lstSubCateg");
        list->clearSelection();
        Click(&form, "cmdChange");
        QCOMPARE(answer.messages, QStringList{Text(1)});
        QVERIFY(answer.chooserTitles.isEmpty());

        Select(list, QStringLiteral("Loans"));
        answer.choices = {0, -1}; // Bank itself, then cancel
        Click(&form, "cmdChange");
        Click(&form, "cmdChange");
        QCOMPARE(answer.chooserTitles.count(), 2);
        QVERIFY(!Store().NotSaved());

        Select(list, QStringLiteral("Cards"));
        answer.choices = {2}; // Work already has Cards
        Click(&form, "cmdChange");
        QCOMPARE(answer.messages.mid(1), QStringList{Refusal(14006)});
        QCOMPARE(FiledAt("visa"), QStringLiteral("Bank/Cards"));

        const std::int16_t code = SubCode("Bank", "Loans");
        Select(list, QStringLiteral("Loans"));
        answer.choices = {1};
        Click(&form, "cmdChange");
        QCOMPARE(SubCode("Mail", "Loans"), code);
        QVERIFY(!Store().SubCatExist(CatCode("Bank"), "Loans"));
        QCOMPARE(FiledAt("mortgage"), QStringLiteral("Mail/Loans"));
        QCOMPARE(Items(list), QStringList{"Cards"});
        QVERIFY(form.Changed());
    }

    void chooser() {
        Answerer answer;
        frmChangeCat form(Store());
        answer.choices = {1, -1};
        QCOMPARE(form.ChooseCat(QStringLiteral("Where to")), CatCode("Mail"));
        QCOMPARE(form.ChooseCat(QStringLiteral("Where to")), std::int16_t(-1));
        QCOMPARE(answer.chooserTitles, QStringList({"Where to", "Where to"}));
        form.cboCategorie()->setCurrentIndex(2);
        QCOMPARE(form.ChangeCat(), 2);
        answer.choices = {1};
        QCOMPARE(form.ChangeCat(), 1);

        // Nothing to choose: OK chooses nothing.
        Store().NewFile();
        frmChangeCat empty(Store());
        QTimer::singleShot(20, &empty, [&empty] { Click(&empty, "cmdOK"); });
        QCOMPARE(empty.ChooseCat(QStringLiteral("x")), std::int16_t(-1));
    }

    // The main window rebuilds its view after the window closes, and only
    // when something changed.
    void mainWindowRefresh() {
        RecordingMain main;
        qvs::SetCurrentMainWindow(&main);
        auto closeWith = [](const std::function<void(QWidget*)>& step) {
            QTimer::singleShot(20, [step] { step(QApplication::activeModalWidget()); });
        };
        closeWith([](QWidget* w) { Click(w, "cmdOK"); });
        qvs::ShowCategoryDialog();
        QVERIFY(main.updates.isEmpty());

        closeWith([](QWidget* w) {
            Type(w, "txtcateg", QStringLiteral("Shops"));
            Click(w, "cmdAdd");
            Click(w, "cmdOK");
        });
        qvs::ShowCategoryDialog();
        QCOMPARE(main.updates, QStringList{QString()});

        closeWith([](QWidget* w) {
            Type(w, "txtSubCateg", QStringLiteral("Savings"));
            Click(w, "cmdAdd");
            QTest::keyClick(w, Qt::Key_Escape);
        });
        qvs::ShowSubCategoryDialog();
        QCOMPARE(main.updates.count(), 2);
        QVERIFY(Store().SubCatExist(CatCode("Bank"), "Savings"));
        qvs::SetCurrentMainWindow(nullptr);
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestCategoryDialogs)
#include "tst_category_dialogs.moc"
