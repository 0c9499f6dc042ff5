#include "frame/report/report.h"

#include <QApplication>
#include <QImage>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using qvs::Report;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// A report as the print command builds it: title header, maker footer, a
// column layout part and a labelled part, long enough for several pages.
Report SampleReport(int entries) {
    Report report;
    report.SetTitle("Quorvane");
    report.SetHeader("<font=courier new><size=14><align=center><Color=255>Quorvane 1.0.0" + kCrLf +
                     kCrLf);
    report.SetFooter("<align=center><size=6><Color=255>Made by Tarnwick" + kCrLf +
                     "example.org/quorvane" + kCrLf + "support@example.org");
    report.AddText("<color=16711680><size=7><align=left><b><lindent=0>Service   User Name ", true,
                   7);
    report.AddText(kCrLf + "Category: Mail" + kCrLf, true, 7);
    for (int i = 0; i < entries; ++i)
        report.AddText(QStringLiteral("svc%1").arg(i, 3, 10, QChar('0')).leftJustified(10) +
                           QStringLiteral("user%1").arg(i, 3, 10, QChar('0')),
                       true, 7);
    report.AddText(kCrLf + "<Color=255>Service:       <COLOR=0>bank", false, 10);
    report.AddText(kCrLf + "<Color=16711680>Password:      <COLOR=0>" +
                       qvs::report::EscapeMarkup("p<b>ss"),
                   false, 10);
    return report;
}

QString Tool(const char* name) {
    return QStandardPaths::findExecutable(name);
}

QString PdfText(const QString& pdf) {
    QProcess p;
    p.start(Tool("pdftotext"), {"-layout", pdf, "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QImage PdfPage(const QString& pdf, int page, const QString& dir) {
    const QString prefix = dir + "/page";
    const QString number = QString::number(page);
    QProcess p;
    p.start(Tool("pdftoppm"),
            {"-png", "-r", "60", "-f", number, "-l", number, "-singlefile", pdf, prefix});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QImage(prefix + ".png");
}

// Rows (from the top) that hold a pixel close to colour.
QList<int> RowsWith(const QImage& image, QColor colour) {
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) < 60 && qAbs(c.green() - colour.green()) < 60 &&
                qAbs(c.blue() - colour.blue()) < 60) {
                rows << y;
                break;
            }
        }
    return rows;
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (Tool("pdftotext").isEmpty() || Tool("pdftoppm").isEmpty())
            QSKIP("pdftotext and pdftoppm (package poppler-utils) are needed");
        QVERIFY(dir_.isValid());
    }

    // Every page carries the header, the footer and its number; the text
    // keeps its order and its columns.
    void pdfHoldsTheTextOnEveryPage() {
        const QString pdf = dir_.filePath("text.pdf");
        QVERIFY(SampleReport(150).WritePdf(pdf));
        const QString text = PdfText(pdf);
        QStringList pages = text.split(u'\f');
        if (pages.last().trimmed().isEmpty()) pages.removeLast();
        QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
        for (int i = 0; i < pages.size(); ++i) {
            QVERIFY(pages[i].contains("Quorvane 1.0.0"));
            QVERIFY(pages[i].contains("support@example.org"));
            QVERIFY(pages[i].contains(QStringLiteral("%1 / %2").arg(i + 1).arg(pages.size())));
        }
        QVERIFY(text.indexOf("Category: Mail") < text.indexOf("svc000"));
        QVERIFY(text.contains("svc149"));
        QVERIFY(text.contains(QRegularExpression("Password:\\s+p<b>ss")));
        // Columns: the value starts under its caption (one fixed-width face).
        const QStringList lines = pages[0].split(u'\n');
        const auto caption = std::find_if(lines.begin(), lines.end(),
                                          [](const QString& l) { return l.contains("User Name"); });
        const auto row = std::find_if(lines.begin(), lines.end(),
                                      [](const QString& l) { return l.contains("user000"); });
        QVERIFY(caption != lines.end() && row != lines.end());
        QCOMPARE(row->indexOf("user000") - row->indexOf("svc000"),
                 caption->indexOf("User Name") - caption->indexOf("Service"));
    }

    // A paragraph that runs over a page break: every line on one page only.
    void aParagraphAcrossPagesIsDrawnOnce() {
        Report report;
        QString lines;
        for (int i = 0; i < 200; ++i)
            lines += QStringLiteral("line%1").arg(i, 3, 10, QChar('0')) + kCrLf;
        report.AddText(lines, true, 10);
        const QString pdf = dir_.filePath("paragraph.pdf");
        QVERIFY(report.WritePdf(pdf));
        const QString text = PdfText(pdf);
        QVERIFY(text.count(u'\f') >= 3);
        for (int i = 0; i < 200; ++i) {
            const QString line = QStringLiteral("line%1").arg(i, 3, 10, QChar('0'));
            QVERIFY2(text.count(line) == 1, qPrintable(line));
        }
    }

    // 255 is red and 16711680 blue (BGR): the header is red, the blue text
    // sits below it.
    void pdfShowsTheColours() {
        Report report;
        report.SetHeader("<size=20><Color=255>HEADER HEADER");
        report.AddText("<size=20><color=16711680>BLUE BLUE BLUE", true, 10);
        report.AddText("<size=20>BLACK BLACK", true, 10);
        const QString pdf = dir_.filePath("colour.pdf");
        QVERIFY(report.WritePdf(pdf));
        const QImage page = PdfPage(pdf, 1, dir_.path());
        QVERIFY(!page.isNull());
        const QList<int> red = RowsWith(page, Qt::red);
        const QList<int> blue = RowsWith(page, Qt::blue);
        const QList<int> black = RowsWith(page, Qt::black);
        QVERIFY(!red.isEmpty() && !blue.isEmpty() && !black.isEmpty());
        QVERIFY(red.last() < blue.first());
        QVERIFY(blue.last() < black.last());
    }

    void failuresAreReported() {
        Report report = SampleReport(3);
        QVERIFY(!report.Print("no printer has this name"));
        QVERIFY(!report.Print(""));
        QVERIFY(!report.WritePdf(dir_.filePath("no/such/folder/out.pdf")));
        report.SetMargins({10, 400, 10, 10}); // taller than the paper
        QVERIFY(!report.WritePdf(dir_.filePath("margins.pdf")));
        report.SetMargins({10, 20, 10, 10});
        QVERIFY(report.WritePdf(dir_.filePath("margins.pdf")));
        // A header that fills the page leaves no room for the text.
        report.SetHeader(QString("<size=40>big" + kCrLf).repeated(40));
        QVERIFY(!report.WritePdf(dir_.filePath("full.pdf")));
    }

    void previewShowsAndCloses() {
        Report report = SampleReport(10);
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            shown = dialog && dialog->windowTitle() == "Quorvane";
            if (dialog) dialog->reject();
        });
        QVERIFY(report.Preview(nullptr));
        QVERIFY(shown);
        report.SetMargins({10, 400, 10, 10});
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QVERIFY(!report.Preview(nullptr));
    }

    // The preview's print command, printing to a file, writes it for the
    // user alone whatever the umask, also over a file readable by others.
    void previewPrintToFileIsReadableByTheUserOnly() {
        const QString pdf = dir_.filePath("preview.pdf");
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        QVERIFY(old.setPermissions(old.permissions() | QFileDevice::ReadOther));
        Report report = SampleReport(3);
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            emit dialog->paintRequested(&printer);
            dialog->reject();
        });
        QVERIFY(report.Preview(nullptr));
        QVERIFY(PdfText(pdf).contains("Quorvane 1.0.0"));
        QCOMPARE(QFile::permissions(pdf) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
