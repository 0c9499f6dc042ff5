// Lays a report out on pages (header, text, footer with page number) and
// paints it on a printer, a PDF file or a preview.
#pragma once

#include "frame/report/report_document.h"

#include <QMarginsF>
#include <QString>

#include <vector>

class QPrinter;

namespace qvs::report {

struct ReportContent {
    QString title;
    QString header; // mark-up, repeated at the top of every page
    QString footer; // mark-up, repeated at the bottom, above the page number
    QString fontFace = QStringLiteral("courier new");
    QMarginsF marginsMm{10, 20, 10, 10}; // left, top, right, bottom
    std::vector<ReportLine> lines;
};

// Paints content on printer, one page after the other. False when the
// printer cannot be painted on or the header and footer leave no room.
bool PaintReport(const ReportContent& content, QPrinter& printer);

} // namespace qvs::report
