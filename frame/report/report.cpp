#include "frame/report/report.h"

#include "frame/modal_stack.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace qvs {

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
        failed = !PaintReport(content_, *target) || failed;
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
    return PaintReport(content_, printer);
}

} // namespace qvs
