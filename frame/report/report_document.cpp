#include "frame/report/report_document.h"

#include "frame/report/report_markup.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace qvs::report {
namespace {

constexpr double kDefaultPointSize = 10;
constexpr double kMmPerInch = 25.4;
constexpr double kScreenDpi = 96;

QTextCharFormat CharFormat(const TextStyle& style) {
    QTextCharFormat format;
    format.setFontFamilies({style.family});
    format.setFontPointSize(style.pointSize);
    format.setFontWeight(style.bold ? QFont::Bold : QFont::Normal);
    format.setForeground(style.colour);
    return format;
}

QTextBlockFormat BlockFormat(const Paragraph& paragraph, double dpi) {
    QTextBlockFormat format;
    switch (paragraph.align) {
    case Align::Left:
        format.setAlignment(Qt::AlignLeft);
        break;
    case Align::Center:
        format.setAlignment(Qt::AlignHCenter);
        break;
    case Align::Right:
        format.setAlignment(Qt::AlignRight);
        break;
    }
    format.setLeftMargin(paragraph.indentMm * dpi / kMmPerInch);
    return format;
}

// Appends lines through one cursor, remembering whether the next text may
// continue the current paragraph.
class Writer {
public:
    Writer(QTextDocument& doc, double dpi) : cursor_(&doc), dpi_(dpi) {}

    void Add(const ReportLine& line, const QString& fontFace) {
        TextStyle base;
        base.family = fontFace;
        base.pointSize = line.pointSize > 0 ? line.pointSize : kDefaultPointSize;
        const ParsedText parsed = ParseMarkup(line.markup, base);
        for (size_t i = 0; i < parsed.paragraphs.size(); ++i) {
            const bool continues = i == 0 && started_ && !line.newParagraph && !pendingBreak_;
            Write(parsed.paragraphs[i], continues);
        }
        pendingBreak_ = parsed.endsWithBreak;
    }

private:
    void Write(const Paragraph& paragraph, bool continues) {
        if (!continues) {
            // The document's first block is there already.
            if (started_) cursor_.insertBlock();
            started_ = true;
            cursor_.setBlockFormat(BlockFormat(paragraph, dpi_));
            cursor_.setBlockCharFormat(CharFormat(paragraph.endStyle));
        }
        for (const Run& run : paragraph.runs)
            cursor_.insertText(run.text, CharFormat(run.style));
    }

    QTextCursor cursor_;
    double dpi_;
    bool started_ = false;
    bool pendingBreak_ = false;
};

} // namespace

std::unique_ptr<QTextDocument> BuildDocument(const std::vector<ReportLine>& lines,
                                             const QString& fontFace, QPaintDevice* device) {
    auto doc = std::make_unique<QTextDocument>();
    if (device) doc->documentLayout()->setPaintDevice(device);
    doc->setDocumentMargin(0);
    doc->setDefaultFont(QFont(fontFace, int(kDefaultPointSize)));
    Writer writer(*doc, device ? device->logicalDpiX() : kScreenDpi);
    for (const ReportLine& line : lines)
        writer.Add(line, fontFace);
    return doc;
}

} // namespace qvs::report
