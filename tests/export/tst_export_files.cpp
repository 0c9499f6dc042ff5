// The export files of every mode and grouping, compared byte for byte.
#include "export/export_run.h"
#include "frame/language.h"
#include "tests/export/export_fixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace qvs;

class TestExportFiles : public QObject {
    Q_OBJECT

    ardeko::clsPW store_;
    QTemporaryDir dir_;

    ExportChoice Choice(int mode, QStringList fields) {
        ExportChoice c;
        c.mode = mode;
        c.folder = dir_.path();
        c.fileName = QStringLiteral("ExpPw");
        c.fields = std::move(fields);
        return c;
    }

    // Exports and returns the one file written.
    QByteArray Export(const ExportChoice& c, const char* formatName = "Fmt") {
        const ExportOutcome outcome = ExportToFiles(store_, c, FixedInfo(formatName));
        if (!outcome.ok || outcome.files.size() != 1) return "failed: " + outcome.message.toUtf8();
        return ReadAll(outcome.files.front());
    }

private slots:
    void initTestCase() {
        QString code = QStringLiteral("ENG");
        QVERIFY(LoadLanguage(code));
    }

    void init() {
        store_ = ardeko::clsPW();
        FillExportStore(store_);
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(dir_.path());
    }

    void htmlEscapesValuesAndKeepsTheLayout() {
        ExportChoice c = Choice(kModeHtml, {"Password"});
        c.order = kOrderCategory;
        QCOMPARE(Export(c, "HTML page"),
                 QByteArray(
                     "<html><head><meta charset=\"utf-8\"><title>Quorvane Export</title>"
                     "</head><body bgcolor=#000000 text=#FFFFFF>\n"
                     "<TABLE BORDER=1 width=100%><TR><TD colspan=2 align=center><font "
                     "color=#ff0000><H1>Quorvane 1.2.3</H1><font size=1>(HTML page)</font>"
                     "</font></TD></TR>\n"
                     "<TR><TD width=30%><font color=#ff0000><B>Service</B></font></TD>"
                     "<TD style=\"white-space:pre-wrap\">Gamma&nbsp;</TD></TR>\n"
                     "<TR><TD width=30%><font color=#00FFFF><B>Password</B></font></TD>"
                     "<TD style=\"white-space:pre-wrap\">g&amp;g&nbsp;</TD></TR>\n"
                     "<TR><TD colspan=2>&nbsp;</TD></TR>\n"
                     "<TR><TD width=30%><font color=#ff0000><B>Service</B></font></TD>"
                     "<TD style=\"white-space:pre-wrap\">Delta&nbsp;</TD></TR>\n"
                     "<TR><TD width=30%><font color=#00FFFF><B>Password</B></font></TD>"
                     "<TD style=\"white-space:pre-wrap\">plain&nbsp;</TD></TR>\n"
                     "<TR><TD colspan=2>&nbsp;</TD></TR>\n"
                     "<TR><TD width=30%><font color=#ff0000><B>Service</B></font></TD>"
                     "<TD style=\"white-space:pre-wrap\">Alpha&nbsp;</TD></TR>\n"
                     "<TR><TD width=30%><font color=#00FFFF><B>Password</B></font></TD>"
                     "<TD style=\"white-space:pre-wrap\">p;w&quot;1&nbsp;</TD></TR>\n"
                     "<TR><TD colspan=2>&nbsp;</TD></TR>\n"
                     "<TR><TD width=30%><font color=#ff0000><B>Service</B></font></TD>"
                     "<TD style=\"white-space:pre-wrap\">Beta&nbsp;</TD></TR>\n"
                     "<TR><TD width=30%><font color=#00FFFF><B>Password</B></font></TD>"
                     "<TD style=\"white-space:pre-wrap\">&lt;b&gt;bold&lt;/b&gt;&nbsp;</TD></TR>\n"
                     "<TR><TD colspan=2>&nbsp;</TD></TR>\n"
                     "</Table><p>&nbsp;\n"
                     "<br><font size=1>Quorvane by Tarnwick</font>\n"
                     "<br><a href=\"https://h.example\">Quorvane HomePage</a>\n"
                     "<br><a href=\"mailto:m@h.example\">Email Me</a></p></body></html>\n"));
    }

    // Entries without category get a group of their own instead of being
    // left out; an empty category is written only when asked for.
    void labelledTextByCategory() {
        ExportChoice c = Choice(kModeLabelled, {"User Name"});
        c.grouping = kGroupCategory;
        c.emptyCategories = true;
        QCOMPARE(Export(c, "Text, one line per field"),
                 QByteArray("                 Quorvane 1.2.3\n"
                            "                 Text, one line per field\n\n"
                            "Category: No Category\n"
                            "Service:        Gamma\nUser Name:      gus\n\n"
                            "Category: Banks\n"
                            "Service:        Alpha\nUser Name:      ann\n\n"
                            "Service:        Delta\nUser Name:      dan\n\n"
                            "Category: Mail\n"
                            "Service:        Beta\nUser Name:      bob\n\n"
                            "Category: Spare\n"
                            "No item in this Category\n"
                            "\n\nQuorvane by Tarnwick\nhttps://h.example\nm@h.example\n"));
        c.emptyCategories = false;
        QVERIFY(!Export(c).contains("Spare"));
    }

    // Widths come from the longest value (captions may be cut); dates as
    // dd/mm/yyyy, an unset one or one whose flag is off empty; notes on one
    // line, as the last field; one line end a line.
    void columnsBySubCategory() {
        ardeko::T_Password delta = *store_.Password().Find("Delta");
        delta.Dt_Expire = ardeko::VbDateFromParts({2027, 5, 1, 0, 0, 0}); // expiry off
        QVERIFY(store_.PWEdit(delta, "Delta"));
        ExportChoice c = Choice(kModeColumns, {"User Name", "Exp. Date", "Expire Flag"});
        c.grouping = kGroupSubCategory;
        c.emptySubCategories = true;
        c.notes = true;
        QCOMPARE(Export(c), QByteArray("ServiceUser Exp. Date   Expire Notes        \n"
                                       "Gamma  gus              FALSE               \n"
                                       "Delta  dan              FALSE               \n"
                                       "Alpha  ann  31/01/2026  TRUE   line1 line2  \n"
                                       "No item in this SubCategory\n"
                                       "Beta   bob              FALSE               \n"));
        c.header = false;
        QVERIFY(Export(c).startsWith("Gamma  gus"));
    }

    void csvQuotesOnlyWhatWouldSplit() {
        ExportChoice c = Choice(kModeCsv, {"User Name", "Password"});
        c.delimiter = QStringLiteral(";");
        c.notes = true;
        QCOMPARE(Export(c), QByteArray("Service;User Name;Password;Notes\n"
                                       "Alpha;ann;\"p;w\"\"1\";\"line1\nline2\"\n"
                                       "Beta;bob;<b>bold</b>;\n"
                                       "Delta;dan;plain;\n"
                                       "Gamma;gus;g&g;\n"));
        // A blank delimiter quotes the captions that hold one.
        c.delimiter = QStringLiteral(" ");
        c.fields = QStringList{"User Name"};
        c.notes = false;
        QVERIFY(Export(c).startsWith("Service \"User Name\"\nAlpha ann\n"));
    }

    // On by default, what a spreadsheet would run as a formula reads as
    // text, and the quoting still holds; off, values stay byte-exact.
    void csvFormulasNeutralisedUnlessTurnedOff() {
        store_ = ardeko::clsPW();
        store_.InsertPassword(ExportEntry("=HYPERLINK(\"x\")", 0, 0, "+1", "-2;3"));
        store_.InsertPassword(ExportEntry("@SUM", 0, 0, "\tx", "a=b"));
        ExportChoice c = Choice(kModeCsv, {"User Name", "Password"});
        c.delimiter = QStringLiteral(";");
        c.header = false;
        QVERIFY(ChoiceFromOptions(DefaultOptions(), kModeCsv).csvSafe);
        QCOMPARE(Export(c), QByteArray("\"'=HYPERLINK(\"\"x\"\")\";'+1;\"'-2;3\"\n"
                                       "'@SUM;'\tx;a=b\n"));
        c.csvSafe = false;
        QCOMPARE(Export(c), QByteArray("\"=HYPERLINK(\"\"x\"\")\";+1;\"-2;3\"\n"
                                       "@SUM;\tx;a=b\n"));
    }

    // The first CSV export works with the settings a new user has; documents
    // name the fields in the user's language, a CSV header as other
    // programs read it.
    void defaultsExportAndNamesFollowTheLanguage() {
        ExportChoice c = ChoiceFromOptions(DefaultOptions(), kModeCsv);
        c.folder = dir_.path();
        c.fileName = QStringLiteral("ExpPw");
        c.fields = QStringList{"User Name", "Exp. Date"};
        c.notes = false;
        QVERIFY(Export(c).startsWith("Service,User Name,Exp. Date\nAlpha,ann,31/01/2026\n"));
        QString code = QStringLiteral("ITA");
        QVERIFY(LoadLanguage(code));
        const QByteArray csv = Export(c);
        c.mode = kModeLabelled;
        const QByteArray text = Export(c);
        code = QStringLiteral("ENG");
        QVERIFY(LoadLanguage(code));
        QVERIFY(csv.startsWith("Service,User Name,Exp. Date\n"));
        QVERIFY2(text.contains("Servizio:       Alpha\nNome utente:    ann\n"), text);
    }

    // Blanks, tabs and line breaks are part of a value (a password too).
    void valuesKeepTheirBlanksAndLines() {
        store_ = ardeko::clsPW();
        ardeko::T_Password p = ExportEntry("S", 0, 0, "u", " p\tq\nr ");
        p.Descr = "l1\r\nl2";
        store_.InsertPassword(p);
        ExportChoice c = Choice(kModeLabelled, {"Password"});
        c.notes = true;
        QVERIFY(Export(c).contains("Password:        p\tq\n                r \n"
                                   "Notes:          l1\n                l2\n"));
        c.mode = kModeHtml;
        QVERIFY(Export(c).contains("<TD style=\"white-space:pre-wrap\"> p\tq<br>r &nbsp;</TD>"));
        // Columns have one line and one character a place: what follows the
        // password stays under its caption.
        c = Choice(kModeColumns, {"Password", "User Name"});
        c.header = true;
        const QList<QByteArray> lines = Export(c).split('\n');
        QVERIFY(lines.size() > 1);
        QCOMPARE(lines[1].indexOf(" p q r "), lines[0].indexOf("Password"));
        QCOMPARE(lines[1].indexOf("u "), lines[0].indexOf("Use"));
    }

    // Earlier passwords only when asked for, the code secret only as a chosen
    // field; otherwise the file is what it was before entries held them.
    void historyCodeAndFieldsOnlyWhenAsked() {
        store_ = ardeko::clsPW();
        ardeko::T_Password p = ExportEntry("S", 0, 0, "u", "now");
        store_.InsertPassword(p);
        ExportChoice c = Choice(kModeCsv, {"Password"});
        c.delimiter = QStringLiteral(";");
        const QByteArray plain = Export(c);
        QCOMPARE(plain, QByteArray("Service;Password\nS;now\n"));
        p.Totp = "otpauth://totp/S?secret=GEZDGNBVGY3TQOJQ";
        p.History = {{"was", ardeko::VbDateFromParts({2026, 1, 31, 9, 0, 0})},
                     {"older", ardeko::VbDateFromParts({2025, 2, 1, 0, 0, 0})}};
        p.Fields = {{"PIN", "4321", true}, {"Branch", "North", false}};
        store_ = ardeko::clsPW();
        store_.InsertPassword(p);
        QCOMPARE(Export(c), plain);
        c.history = true;
        c.fields << QStringLiteral("TOTP") << QStringLiteral("Custom Fields");
        QCOMPARE(Export(c), QByteArray("Service;Password;TOTP;Custom Fields;Password History\n"
                                       "S;now;otpauth://totp/S?secret=GEZDGNBVGY3TQOJQ;"
                                       "\"PIN: 4321\nBranch: North\";"
                                       "\"31/01/2026 was\n01/02/2025 older\"\n"));
        QVERIFY(!ChoiceFromOptions(DefaultOptions(), kModeCsv).history);
    }

    void noFieldsWritesTheServiceOnly() {
        ExportChoice c = Choice(kModeLabelled, {});
        QVERIFY(Export(c).contains("\n\nService:        Alpha\n\nService:        Beta\n\n"));
    }

    void everyGroupInAFileOfItsOwn() {
        store_.CatRen("Mail", "Mail/Web");
        ExportChoice c = Choice(kModeCsv, {});
        c.delimiter = QStringLiteral(",");
        c.grouping = kGroupCategory;
        c.split = true;
        const ExportOutcome outcome = ExportToFiles(store_, c, FixedInfo("Fmt"));
        QVERIFY(outcome.ok);
        const QDir dir(dir_.path());
        QCOMPARE(dir.entryList(QDir::Files, QDir::Name),
                 QStringList({"ExpPw.Banks.CSV", "ExpPw.Mail_Web.CSV", "ExpPw.No Category.CSV"}));
        QCOMPARE(ReadAll(dir.filePath("ExpPw.Banks.CSV")), QByteArray("Service\nAlpha\nDelta\n"));
        // Without groups there is one file whatever the check box says.
        c.grouping = kGroupNone;
        QCOMPARE(ExportToFiles(store_, c, FixedInfo("Fmt")).files,
                 QStringList{dir.filePath("ExpPw.CSV")});
    }

    // Names that clash once made into file names: "/" made "_", a category
    // called like the group of entries without one, dots that join parts.
    void groupsWithClashingNamesLoseNoEntry() {
        store_.CatRen("Mail", "Mail/Web");
        store_.CatRen("Spare", "Mail_Web");
        store_.InsertCategory({4, "No Category", false});
        store_.InsertCategory({5, "a.b", false});
        store_.InsertCategory({6, "a", false});
        store_.InsertSubCategory({4, 5, "c"});
        store_.InsertSubCategory({5, 6, "b.c"});
        store_.InsertPassword(ExportEntry("Spare1", 3, 0, "s", "s"));
        store_.InsertPassword(ExportEntry("NoCat1", 4, 0, "n", "n"));
        store_.InsertPassword(ExportEntry("Dots1", 5, 4, "d", "d"));
        store_.InsertPassword(ExportEntry("Dots2", 6, 5, "e", "e"));
        ExportChoice c = Choice(kModeCsv, {});
        c.delimiter = QStringLiteral(",");
        c.header = false;
        c.split = true;
        for (const int grouping : {int(kGroupCategory), int(kGroupSubCategory)}) {
            QDir(dir_.path()).removeRecursively();
            QDir().mkpath(dir_.path());
            c.grouping = grouping;
            const ExportOutcome outcome = ExportToFiles(store_, c, FixedInfo("Fmt"));
            QVERIFY(outcome.ok);
            QStringList services;
            for (const QString& file : outcome.files)
                services << QString::fromUtf8(ReadAll(file)).split('\n', Qt::SkipEmptyParts);
            services.sort();
            QCOMPARE(services, QStringList({"Alpha", "Beta", "Delta", "Dots1", "Dots2", "Gamma",
                                            "NoCat1", "Spare1"}));
            QCOMPARE(QDir(dir_.path()).entryList(QDir::Files).size(), outcome.files.size());
            QCOMPARE(outcome.renamed.size(), 2);
        }
        QVERIFY(QFileInfo::exists(dir_.filePath("ExpPw.No Category.No SubCategory (2).CSV")));
    }

    // A grouped export of a file without entries says so and writes nothing.
    void nothingToWriteIsReported() {
        ardeko::clsPW empty;
        empty.InsertCategory({1, "Banks", false});
        ExportChoice c = Choice(kModeHtml, {});
        c.grouping = kGroupCategory;
        c.split = true;
        const ExportOutcome outcome = ExportToFiles(empty, c, FixedInfo("Fmt"));
        QVERIFY(!outcome.ok);
        QVERIFY(!outcome.message.isEmpty());
        QVERIFY(QDir(dir_.path()).isEmpty());
        c.emptyCategories = true;
        QVERIFY(ExportToFiles(empty, c, FixedInfo("Fmt")).ok);
    }

    void filesAreReadableByTheUserOnly() {
        const QString path = QDir(dir_.path()).filePath("ExpPw.Txt");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("older and longer content than the export");
        old.close();
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);
        const QByteArray text = Export(Choice(kModeColumns, {}));
        QVERIFY(text.startsWith("Service"));
        QVERIFY(!text.contains("older"));
        QCOMPARE(FileMode(path), 0600);
    }

    void aMissingFolderIsReportedBeforeWriting() {
        ExportChoice c = Choice(kModeHtml, {});
        c.folder = dir_.filePath("gone");
        const ExportOutcome outcome = ExportToFiles(store_, c, FixedInfo("Fmt"));
        QVERIFY(!outcome.ok);
        QVERIFY(outcome.files.isEmpty());
        QVERIFY(outcome.message.contains(QDir::toNativeSeparators(c.folder)));
        QVERIFY(!QFileInfo::exists(c.folder));
    }

    void aWriteErrorStopsWithTheSystemsReason() {
        QVERIFY(QDir(dir_.path()).mkdir("ExpPw.Html")); // a folder where the file should go
        const ExportOutcome outcome =
            ExportToFiles(store_, Choice(kModeHtml, {}), FixedInfo("Fmt"));
        QVERIFY(!outcome.ok);
        QVERIFY(outcome.message.contains("ExpPw.Html"));
        QVERIFY(outcome.message.section('\n', 1).size() > 3);
    }

    void orderByCategoryAndBySubCategory() {
        auto names = [&](int order) {
            QStringList list;
            for (const ardeko::T_Password* p : ardeko::OrderedEntries(store_, order))
                list << QString::fromStdString(p->service);
            return list;
        };
        QCOMPARE(names(kOrderService), QStringList({"Alpha", "Beta", "Delta", "Gamma"}));
        QCOMPARE(names(kOrderCategory), QStringList({"Gamma", "Delta", "Alpha", "Beta"}));
        QCOMPARE(names(kOrderSubCategory), QStringList({"Delta", "Gamma", "Alpha", "Beta"}));
    }
};

QTEST_GUILESS_MAIN(TestExportFiles)
#include "tst_export_files.moc"
