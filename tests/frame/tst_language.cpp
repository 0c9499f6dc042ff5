// Loading language tables, the fallbacks, dropped tables, the table format,
// and the localisation of a window designed with text ids.
#include "frame/language.h"
#include "frame/language_table.h"
#include "frame/program_identity.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace qvs;

namespace {

QString DropFolder(const QString& program) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tarnwick/") + program + QStringLiteral("/lang");
}

void Drop(const QString& program, const QString& file, const QByteArray& content) {
    QVERIFY(QDir().mkpath(DropFolder(program)));
    QFile out(DropFolder(program) + u'/' + file);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(out.write(content), content.size());
}

bool Load(const QString& wanted, QString* loaded = nullptr) {
    QString code = wanted;
    const bool ok = LoadLanguage(code);
    if (loaded) *loaded = code;
    return ok;
}

// Texts for the window test, independent of the wording of the real tables.
const QByteArray kTestTable = "@name\tTest\n"
                              "12\tTwelve\n"
                              "101\tFirst item\n"
                              "102\tSecond item\n"
                              "250\tResource text\n"
                              "300\tWindow title\n"
                              "301\tPage one\n"
                              "302\tPage two\n"
                              "303\tToolbar tip\n"
                              "304\tMenu title\n"
                              "305\tMenu item\n"
                              "306\tFirst column\n"
                              "307\tButton\n"
                              "308\tButton tip\n"
                              "309\tGroup\n"
                              "310\tTagged title\n"
                              "311\tPlaceholder\n";

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void cleanup() {
        SetLanguageSearchPathsForTesting(std::nullopt);
        SetProgramKind(ProgramKind::QVS);
        for (const char* program : {"QVS", "QVSLite"})
            QDir(DropFolder(QString::fromLatin1(program))).removeRecursively();
    }

    void loadsBuiltInTables() {
        QString code;
        QVERIFY(Load(QStringLiteral("ENG"), &code));
        QCOMPARE(code, QStringLiteral("ENG"));
        QCOMPARE(CurrentLanguage(), QStringLiteral("ENG"));
        QCOMPARE(GetLocalText(11), QStringLiteral("Cancel"));
        QCOMPARE(GetLocalText(30002), QStringLiteral("<New QVS File>"));

        QVERIFY(Load(QStringLiteral(" ita "), &code));
        QCOMPARE(code, QStringLiteral("ITA"));
        QCOMPARE(GetLocalText(11), QStringLiteral("Annulla"));
        QCOMPARE(LanguageDisplayName(QStringLiteral("ITA")), QStringLiteral("Italiano"));
        QVERIFY(AvailableLanguages().contains(QStringLiteral("ENG")));
        QVERIFY(AvailableLanguages().contains(QStringLiteral("ITA")));
    }

    // Qt's own buttons and dialogs follow the table's "@locale"; a language
    // without one, or English, gives Qt's built-in texts back.
    void qtTextsFollowTheLanguage() {
        const QString qm =
            QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_it.qm");
        if (!QFile::exists(qm)) QSKIP("Qt's Italian translation is not installed");
        const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
        QString code;
        QVERIFY(Load(QStringLiteral("ITA"), &code));
        QCOMPARE(cancel(), QStringLiteral("Annulla"));
        QVERIFY(Load(QStringLiteral("ENG"), &code));
        QCOMPARE(cancel(), QStringLiteral("Cancel"));
        QVERIFY(Load(QStringLiteral("ITA"), &code));
        Drop(QStringLiteral("QVS"), QStringLiteral("XX"), "@name\tNo locale\n11\tx\n");
        QVERIFY(Load(QStringLiteral("XX"), &code));
        QCOMPARE(code, QStringLiteral("XX"));
        QCOMPARE(cancel(), QStringLiteral("Cancel"));
    }

    // Month names (the date picker's) come in the program's language, not
    // the system's.
    void monthNamesFollowTheLanguage() {
        QVERIFY(Load(QStringLiteral("ITA")));
        QCOMPARE(QLocale().monthName(3), QStringLiteral("marzo"));
        QVERIFY(Load(QStringLiteral("ENG")));
        QCOMPARE(QLocale().monthName(3), QStringLiteral("March"));
    }

    void unknownCodeFallsBackToEnglish_data() {
        QTest::addColumn<QString>("code");
        QTest::newRow("unknown") << QStringLiteral("XYZ");
        QTest::newRow("empty") << QString();
        // A code is a file name in the language folders, never a path.
        QTest::newRow("parent folder") << QStringLiteral("../lang/ITA");
        QTest::newRow("absolute path") << QStringLiteral(":/lang/ITA");
    }

    void unknownCodeFallsBackToEnglish() {
        QFETCH(QString, code);
        QVERIFY(Load(QStringLiteral("ITA")));
        QString loaded;
        QVERIFY(Load(code, &loaded));
        QCOMPARE(loaded, QStringLiteral("ENG"));
        QCOMPARE(CurrentLanguage(), QStringLiteral("ENG"));
        QCOMPARE(GetLocalText(11), QStringLiteral("Cancel"));
    }

    void withoutAnyTableNothingIsLoaded() {
        QVERIFY(Load(QStringLiteral("ITA")));
        SetLanguageSearchPathsForTesting(QStringList());
        QString code;
        QVERIFY(!Load(QStringLiteral("ITA"), &code));
        QCOMPARE(code, QStringLiteral("ENG"));
        // The table loaded before is gone too.
        QCOMPARE(GetLocalText(11), QString::fromLatin1(kNoLocalData));
        QCOMPARE(CurrentLanguage(), QString());
        QVERIFY(AvailableLanguages().isEmpty());
    }

    void missingIdIsVisible() {
        QVERIFY(Load(QStringLiteral("ENG")));
        QCOMPARE(GetLocalText(123456), QStringLiteral("[123456]"));
        QCOMPARE(GetLocalText(-1), QStringLiteral("[-1]"));
    }

    void droppedTableAddsALanguage() {
        Drop(QStringLiteral("QVS"), QStringLiteral("fra"),
             "@name\tFran\xc3\xa7"
             "ais\n10\tD'accord\n");
        QString code;
        QVERIFY(Load(QStringLiteral("FRA"), &code));
        QCOMPARE(code, QStringLiteral("FRA"));
        QCOMPARE(GetLocalText(10), QStringLiteral("D'accord"));
        QCOMPARE(LanguageDisplayName(QStringLiteral("fra")), QStringLiteral("Français"));
        QCOMPARE(AvailableLanguages(), QStringList({QStringLiteral("ENG"), QStringLiteral("FRA"),
                                                    QStringLiteral("ITA")}));
    }

    void droppedTableReplacesBuiltInOne() {
        Drop(QStringLiteral("QVS"), QStringLiteral("ITA"), "10\tVa bene\n");
        QVERIFY(Load(QStringLiteral("ITA")));
        QCOMPARE(GetLocalText(10), QStringLiteral("Va bene"));
        QCOMPARE(GetLocalText(11), QStringLiteral("[11]")); // replaced whole, not merged
    }

    void unreadableDroppedTableLeavesBuiltInOne() {
        Drop(QStringLiteral("QVS"), QStringLiteral("ITA"), "# nothing but a comment\n");
        Drop(QStringLiteral("QVS"), QStringLiteral("XX"), "not a table\n");
        QVERIFY(Load(QStringLiteral("ITA")));
        QCOMPARE(GetLocalText(11), QStringLiteral("Annulla"));
        QVERIFY(!AvailableLanguages().contains(QStringLiteral("XX")));
    }

    void lightProgramLooksInItsOwnFolderFirst() {
        Drop(QStringLiteral("QVS"), QStringLiteral("ENG"), "10\tFrom QVS\n");
        Drop(QStringLiteral("QVSLite"), QStringLiteral("ENG"), "10\tFrom QVSLite\n");
        QVERIFY(Load(QStringLiteral("ENG")));
        QCOMPARE(GetLocalText(10), QStringLiteral("From QVS"));
        SetProgramKind(ProgramKind::QVSLite);
        QVERIFY(Load(QStringLiteral("ENG")));
        QCOMPARE(GetLocalText(10), QStringLiteral("From QVSLite"));
    }

    void tableFormat() {
        const QByteArray data = "\xef\xbb\xbf# comment\r\n"
                                "@name\tTest\r\n"
                                "\r\n"
                                "  # indented comment\n"
                                "1\tTwo\\nlines\\r\\tand a \\\\ \\x kept\n"
                                "2\t blanks count \n"
                                "3\tfirst\n"
                                "3\tsecond\n"
                                "4 no tab here\n"
                                "five\ttext\n"
                                "6\t\n";
        const LanguageTable table = ParseLanguageTable(data);
        QCOMPARE(table.name, QStringLiteral("Test"));
        QCOMPARE(table.texts.value(1), QStringLiteral("Two\nlines\r\tand a \\ \\x kept"));
        QCOMPARE(table.texts.value(2), QStringLiteral(" blanks count "));
        QCOMPARE(table.texts.value(3), QStringLiteral("second"));
        QVERIFY(table.texts.contains(6));
        QCOMPARE(table.texts.size(), 4);
        QCOMPARE(table.problems.size(), 3); // repeated 3, line without TAB, id "five"
        QVERIFY(table.problems.at(0).startsWith(QStringLiteral("line 8:")));

        QVERIFY(!ParseLanguageTable("10\t\xff\xfe\n").problems.isEmpty());
    }

    void localizesAWindow() {
        Drop(QStringLiteral("QVS"), QStringLiteral("TST"), kTestTable);
        QVERIFY(Load(QStringLiteral("TST")));

        QWidget form;
        form.setWindowTitle(QStringLiteral("300"));
        auto* layout = new QVBoxLayout(&form);
        auto* number = new QLabel(QStringLiteral(" 12 "), &form);
        auto* word = new QLabel(QStringLiteral("Name"), &form);
        auto* unknown = new QLabel(QStringLiteral("999"), &form);
        auto* combo = new QComboBox(&form);
        combo->addItems({QStringLiteral("101"), QStringLiteral("102"), QStringLiteral("Fixed")});
        auto* resource = new QLineEdit(QStringLiteral("250"), &form);
        resource->setProperty("tag", QStringLiteral("RES"));
        auto* data = new QLineEdit(QStringLiteral("250"), &form);
        data->setPlaceholderText(QStringLiteral("311"));
        auto* tabs = new QTabWidget(&form);
        for (int tag : {301, 302}) {
            auto* page = new QWidget;
            page->setProperty("tag", tag);
            tabs->addTab(page, QStringLiteral("x"));
        }
        auto* toolbar = new QToolBar(&form);
        QAction* tool = toolbar->addAction(QString());
        tool->setProperty("tag", 303);
        auto* menu = new QMenu(QStringLiteral("304"), &form);
        QAction* item = menu->addAction(QStringLiteral("305"));
        auto* tree = new QTreeWidget(&form);
        tree->setColumnCount(2);
        tree->headerItem()->setData(0, TextIdRole, 306);
        auto* model = new QStandardItemModel(2, 2, &form);
        model->setHeaderData(1, Qt::Horizontal, QStringLiteral("306"), TextIdRole);
        auto* table = new QTableView(&form);
        table->setModel(model);
        auto* button = new QPushButton(QStringLiteral("307"), &form);
        button->setToolTip(QStringLiteral("308"));
        auto* group = new QGroupBox(QStringLiteral("309"), &form);
        for (QWidget* w :
             std::initializer_list<QWidget*>{number, word, unknown, combo, resource, data, tabs,
                                             toolbar, tree, table, button, group})
            layout->addWidget(w);

        for (int pass = 0; pass < 2; ++pass) { // a second run changes nothing
            LocalizeForm(&form);
            QCOMPARE(form.windowTitle(), QStringLiteral("Window title"));
            QCOMPARE(number->text(), QStringLiteral("Twelve"));
            QCOMPARE(word->text(), QStringLiteral("Name"));
            QCOMPARE(unknown->text(), QStringLiteral("[999]"));
            QCOMPARE(combo->itemText(0), QStringLiteral("First item"));
            QCOMPARE(combo->itemText(1), QStringLiteral("Second item"));
            QCOMPARE(combo->itemText(2), QStringLiteral("Fixed"));
            QCOMPARE(resource->text(), QStringLiteral("Resource text"));
            QCOMPARE(data->text(), QStringLiteral("250"));
            QCOMPARE(data->placeholderText(), QStringLiteral("Placeholder"));
            QCOMPARE(tabs->tabText(0), QStringLiteral("Page one"));
            QCOMPARE(tabs->tabText(1), QStringLiteral("Page two"));
            QCOMPARE(tool->toolTip(), QStringLiteral("Toolbar tip"));
            QCOMPARE(tool->text(), QStringLiteral("Toolbar tip"));
            QCOMPARE(menu->title(), QStringLiteral("Menu title"));
            QCOMPARE(item->text(), QStringLiteral("Menu item"));
            QCOMPARE(tree->headerItem()->text(0), QStringLiteral("First column"));
            QCOMPARE(model->headerData(1, Qt::Horizontal).toString(),
                     QStringLiteral("First column"));
            // Headers without an id keep the model's own numbering.
            QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("1"));
            QCOMPARE(model->headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
            QCOMPARE(button->text(), QStringLiteral("Button"));
            QCOMPARE(button->toolTip(), QStringLiteral("Button tip"));
            QCOMPARE(group->title(), QStringLiteral("Group"));
        }
    }

    void windowTagGivesTheTitle() {
        Drop(QStringLiteral("QVS"), QStringLiteral("TST"), kTestTable);
        QVERIFY(Load(QStringLiteral("TST")));
        QWidget form;
        form.setProperty("tag", QStringLiteral("310"));
        form.setWindowTitle(QStringLiteral("Designed"));
        auto* action = new QAction(QStringLiteral("Kept text"), &form);
        action->setProperty("tag", 303);
        LocalizeForm(&form);
        QCOMPARE(form.windowTitle(), QStringLiteral("Tagged title"));
        QCOMPARE(action->toolTip(), QStringLiteral("Toolbar tip"));
        QCOMPARE(action->text(), QStringLiteral("Kept text")); // a menu's own text stays
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
