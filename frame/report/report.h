// The report component: collects marked-up text lines (see report_markup.h)
// with a page header, footer, margins and font face, then previews them,
// prints them on a named printer or writes them as a PDF file.
#pragma once

#include "frame/report/report_markup.h"
#include "frame/report/report_pages.h"

#include <QMarginsF>
#include <QString>

class QWidget;

namespace qvs {

class Report {
public:
    void SetTitle(const QString& title) { content_.title = title; }
    void SetFontFace(const QString& face) { content_.fontFace = face; }
    // Left, top, right, bottom, in millimetres.
    void SetMargins(const QMarginsF& mm) { content_.marginsMm = mm; }
    void SetHeader(const QString& markup) { content_.header = markup; }
    void SetFooter(const QString& markup) { content_.footer = markup; }

    // Adds text; without newParagraph it continues the last line (unless that
    // ended with a line break). pointSize is where the text's size starts.
    void AddText(const QString& markup, bool newParagraph = true, double pointSize = 10);
    // Drops the text lines; title, header, footer, margins and face stay.
    void Clear() { content_.lines.clear(); }

    const report::ReportContent& Content() const { return content_; }

    // Shows the preview window and waits until it is closed. False when the
    // report could not be laid out on the page (the preview stays blank).
    bool Preview(QWidget* parent);
    // False, printing nothing, when there is no printer of that name.
    bool Print(const QString& printerName);
    bool WritePdf(const QString& path);

private:
    report::ReportContent content_;
};

} // namespace qvs
