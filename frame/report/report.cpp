#include "frame/report/report.h"

#include "frame/modal_stack.h"

#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace qvs {

namespace {

// A report holds passwords in clear. The PDF writer keeps the permissions of
// a file it replaces and creates a new one after the umask: create the file
// (or narrow it) for the user alone first. Printing to a queue needs nothing.
bool PrepareOutputFile(const QPrinter& printer) {
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return true;
    QFile file(printer.outputFileName());
    constexpr auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate, ownerOnly) &&
           file.setPermissions(ownerOnly);
}

bool PaintInto(const report::ReportContent& content, QPrinter& printer) {
    return PrepareOutputFile(printer) && PaintReport(content, printer);
}

} // namespace

void Report::AddText(const QString& markup, bool newParagraph, double pointSize) {
    content_.lines.push_back({markup, newParagraph, pointSize});
}

bool Report::Preview(QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(content_.title);
    int paints = 0;
    bool failed = false;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        ++paints;
        // The preview's own print command can also write a PDF file.
        failed = !PaintInto(content_, *target) || failed;
    });
    ExecModal(dialog);
    return paints > 0 && !failed;
}

bool Report::Print(const QString& printerName) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (printerName.isEmpty() || info.isNull()) return false;
    QPrinter printer(info, QPrinter::HighResolution);
    return PaintReport(content_, printer);
}

bool Report::WritePdf(const QString& path) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return PaintInto(content_, printer);
}

} // namespace qvs
