// The printed report of an export (mark-up, both layouts, rendered to PDF)
// and the printer list.
#include "export/export_run.h"
#include "export/frm_exp_print.h"
#include "export/printer_list.h"
#include "frame/language.h"
#include "frame/report/report.h"
#include "tests/export/export_fixture.h"

#include <QComboBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using namespace qvs;

namespace {

QString PdfText(const QString& pdf) {
    QProcess p;
    p.start(QStandardPaths::findExecutable("pdftotext"), {"-layout", pdf, "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

class FakePrinters : public IPrinterLookup {
public:
    std::vector<InstalledPrinter> list;
    std::vector<InstalledPrinter> Printers() const override { return list; }
};

} // namespace

class TestExportPrint : public QObject {
    Q_OBJECT

    ardeko::clsPW store_;
    QTemporaryDir dir_;

    ExportChoice Choice(int layout) {
        ExportChoice c;
        c.mode = kModePrint;
        c.grouping = kGroupCategory;
        c.fields = QStringList{"Password"};
        c.notes = layout != 0;
        c.printLayout = layout;
        return c;
    }

private slots:
    void initTestCase() {
        QString code = QStringLiteral("ENG"); // the field names come from the table
        QVERIFY(LoadLanguage(code));
        FillExportStore(store_);
    }

    void columnLayoutMarkup() {
        Report report;
        BuildReport(store_, Choice(0), FixedInfo(""), report);
        const auto& content = report.Content();
        QCOMPARE(content.title, QStringLiteral("Quorvane"));
        QCOMPARE(content.marginsMm, QMarginsF(10, 20, 10, 10));
        QCOMPARE(content.header, QStringLiteral("<font=courier new><size=14><align=center>"
                                                "<Color=255>Quorvane 1.2.3\r\n\r\n"));
        QCOMPARE(content.footer, QStringLiteral("<align=center><size=6><Color=255>Quorvane by "
                                                "Tarnwick\r\nhttps://h.example\r\nm@h.example"));
        QStringList lines;
        for (const auto& line : content.lines)
            lines << line.markup;
        QCOMPARE(lines.mid(0, 5),
                 QStringList({"<color=16711680><size=7><align=left><b><lindent=0>Service"
                              "Password     ",
                              "\r\nCategory: No Category\r\n", "Gamma  g&g          ", "",
                              "\r\nCategory: Banks\r\n"}));
        // Entry values are text, never mark-up: "<" is doubled.
        QVERIFY(lines.contains("Beta   <<b>bold<</b>  "));
    }

    void labelledLayoutMarkup() {
        Report report;
        BuildReport(store_, Choice(1), FixedInfo(""), report);
        const auto& lines = report.Content().lines;
        QCOMPARE(lines[1].markup, QStringLiteral("\r\n<Color=255>Service:       <COLOR=0>Gamma"));
        QCOMPARE(lines[2].markup,
                 QStringLiteral("\r\n<Color=16711680>Password:      <COLOR=0>g&g"));
        QVERIFY(!lines[1].newParagraph);
        // A line break in a value stays, the next line under the first.
        QVERIFY(std::any_of(lines.begin(), lines.end(), [](const auto& line) {
            return line.markup.endsWith("<COLOR=0>line1\r\n               line2");
        }));
    }

    void bothLayoutsPrintToPdf_data() {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("columns") << 0
                                 << QStringList({"Quorvane 1.2.3", "ServicePassword",
                                                 "Category: Banks", "Beta   <b>bold</b>",
                                                 "Quorvane by Tarnwick"});
        QTest::newRow("labelled") << 1
                                  << QStringList({"Quorvane 1.2.3", "Service:       Beta",
                                                  "Password:      <b>bold</b>", "Category: Mail",
                                                  "m@h.example"});
    }

    void bothLayoutsPrintToPdf() {
        QFETCH(int, layout);
        QFETCH(QStringList, expected);
        Report report;
        BuildReport(store_, Choice(layout), FixedInfo(""), report);
        const QString pdf = dir_.filePath(QStringLiteral("r%1.pdf").arg(layout));
        const ExportOutcome outcome = WriteReportPdf(report, pdf);
        QVERIFY2(outcome.ok, qPrintable(outcome.message));
        QCOMPARE(FileMode(pdf), 0600);
        // The text tool spaces the columns as it sees fit.
        const QString text = PdfText(pdf).simplified();
        for (const QString& part : expected)
            QVERIFY2(text.contains(part.simplified()), qPrintable(part + " not in:\n" + text));
    }

    void pdfIntoAMissingFolderIsRefused() {
        Report report;
        BuildReport(store_, Choice(0), FixedInfo(""), report);
        const ExportOutcome outcome = WriteReportPdf(report, dir_.filePath("gone/r.pdf"));
        QVERIFY(!outcome.ok);
        QVERIFY(!QFileInfo::exists(dir_.filePath("gone")));
        // No folder at all: not the folder the program happens to run in.
        const QString here = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir_.path()));
        const ExportOutcome unplaced = WriteReportPdf(report, QStringLiteral("r.pdf"));
        QDir::setCurrent(here);
        QVERIFY(!unplaced.ok);
        QVERIFY(!unplaced.message.isEmpty());
        QVERIFY(!QFileInfo::exists(dir_.filePath("r.pdf")));
    }

    void printerListShowsNameOnPort() {
        QCOMPARE(PrinterListText({"Office", "LPT1:", false}), QStringLiteral("Office on LPT1"));
        QCOMPARE(PrinterListText({"Lab", "ipp://lab.local:631/printers/lab", false}),
                 QStringLiteral("Lab on ipp://lab.local:631/printers/lab"));
        const std::vector<InstalledPrinter> printers{
            {"A", "usb://a", false}, {"B", "socket://b:", true}, {"C", "lpd://c", false}};
        QCOMPARE(ChosenPrinter(printers, "C on lpd://c"), 2);
        QCOMPARE(ChosenPrinter(printers, "gone on nowhere"), 1); // the default
        QCOMPARE(ChosenPrinter({}, "A on usb://a"), -1);
    }

    // No print system to ask: an empty list, not a hang or a crash.
    void cupsWithoutAServerListsNothing() {
        qputenv("CUPS_SERVER", QFile::encodeName(dir_.filePath("no-cups.sock")));
        QVERIFY(CupsPrinterLookup().Printers().empty());
        qunsetenv("CUPS_SERVER");
    }

    void dialogListsThePrintersOfTheLookup() {
        FakePrinters printers;
        printers.list = {{"Office", "LPT1:", false}, {"Lab", "ipp://lab/printers/lab", true}};
        frmExpPrint dialog(kModePrint, printers);
        auto* list = dialog.findChild<QComboBox*>("cboPrinter");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(0), QStringLiteral("Office on LPT1"));
        QCOMPARE(list->currentIndex(), 1);
    }
};

QTEST_MAIN(TestExportPrint)
#include "tst_export_print.moc"
