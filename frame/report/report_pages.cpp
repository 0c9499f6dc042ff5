#include "frame/report/report_pages.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

#include <memory>

namespace qvs::report {
namespace {

constexpr double kGapMm = 3;
constexpr double kHeaderPointSize = 10;
constexpr int kPageNumberPointSize = 7;

double MmToPixels(double mm, const QPrinter& printer) {
    return mm * printer.resolution() / 25.4;
}

// The three parts of a page, laid out for one printer.
class PageLayout {
public:
    PageLayout(const ReportContent& content, QPrinter& printer)
        : area_(printer.pageLayout().paintRectPixels(printer.resolution()).size()),
          gap_(MmToPixels(kGapMm, printer)), numberFont_(content.fontFace, kPageNumberPointSize) {
        header_ = Part(content.header, content.fontFace, printer);
        footer_ = Part(content.footer, content.fontFace, printer);
        numberHeight_ = QFontMetricsF(numberFont_, &printer).height();
        body_ = BuildDocument(content.lines, content.fontFace, &printer);
        if (Fits()) body_->setPageSize(QSizeF(area_.width(), BodyHeight()));
    }

    bool Fits() const { return BodyHeight() > 2 * gap_; }
    int PageCount() const { return body_->pageCount(); }

    void Paint(QPainter& painter, int page) const {
        header_->drawContents(&painter);
        painter.save();
        painter.translate(0, HeaderHeight() + gap_ - page * BodyHeight());
        body_->drawContents(&painter, PageRect(page));
        painter.restore();
        painter.save();
        painter.translate(0, area_.height() - numberHeight_ - FooterHeight());
        footer_->drawContents(&painter);
        painter.restore();
        PaintNumber(painter, page);
    }

private:
    std::unique_ptr<QTextDocument> Part(const QString& markup, const QString& face,
                                        QPrinter& printer) const {
        auto doc = BuildDocument({{markup, true, kHeaderPointSize}}, face, &printer);
        doc->setTextWidth(area_.width());
        return doc;
    }

    // The body's part on page, a hair inside its edges: a line is drawn when
    // it touches the rectangle, and the line that starts the next page (or
    // ends the last one) touches its edge. Drawn clipped, it would still be
    // in the PDF's text twice.
    QRectF PageRect(int page) const {
        constexpr double hair = 0.5;
        return QRectF(0, page * BodyHeight() + hair, area_.width(), BodyHeight() - 2 * hair);
    }

    double HeaderHeight() const { return header_->size().height(); }
    double FooterHeight() const { return footer_->size().height(); }
    double BodyHeight() const {
        return area_.height() - HeaderHeight() - FooterHeight() - numberHeight_ - 2 * gap_;
    }

    // Numbers only, so the page line needs no words in any language.
    void PaintNumber(QPainter& painter, int page) const {
        painter.setFont(numberFont_);
        painter.setPen(Qt::black);
        const QRectF line(0, area_.height() - numberHeight_, area_.width(), numberHeight_);
        painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("%1 / %2").arg(page + 1).arg(PageCount()));
    }

    QSizeF area_;
    double gap_;
    QFont numberFont_;
    double numberHeight_ = 0;
    std::unique_ptr<QTextDocument> header_;
    std::unique_ptr<QTextDocument> footer_;
    std::unique_ptr<QTextDocument> body_;
};

} // namespace

bool PaintReport(const ReportContent& content, QPrinter& printer) {
    printer.setDocName(content.title);
    // Margins the paper cannot take would silently be replaced by others.
    if (!printer.setPageMargins(content.marginsMm, QPageLayout::Millimeter)) return false;
    const PageLayout layout(content, printer);
    if (!layout.Fits()) return false;
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    for (int page = 0; page < layout.PageCount(); ++page) {
        if (page > 0 && !printer.newPage()) return false;
        layout.Paint(painter, page);
    }
    return painter.end();
}

} // namespace qvs::report
