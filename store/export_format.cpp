#include "export/export_format.h"

#include "export/export_fields.h"

namespace qvs {

namespace {

const QString kEol = QStringLiteral("\n");
constexpr int kTitleIndent = 17;
constexpr int kCaptionWidth = 15;

class HtmlFormat : public ExportFormat {
public:
    HtmlFormat(const ExportPlan& plan, const DocumentInfo& info) : plan_(plan), info_(info) {}

    QString Header() const override {
        return QStringLiteral("<html><head><meta charset=\"utf-8\"><title>Quorvane "
                              "Export</title></head><body bgcolor=#000000 text=#FFFFFF>") +
               kEol +
               QStringLiteral("<TABLE BORDER=1 width=100%><TR><TD colspan=2 align=center><font "
                              "color=#ff0000><H1>") +
               HtmlEscape(info_.title) + QStringLiteral("</H1><font size=1>(") +
               HtmlEscape(info_.formatName) + QStringLiteral(")</font></font></TD></TR>") + kEol;
    }
    QString GroupHeading(const QString& heading) const override {
        return QStringLiteral("<TR><TD colspan=2 align=center><Font Color=#00ff00><H3>") +
               HtmlEscape(heading) + QStringLiteral("</H3></Font></TD></TR>") + kEol;
    }
    QString Entry(const QStringList& values) const override {
        QString text;
        for (int i = 0; i < values.size(); ++i) {
            const QString colour = i == 0 ? QStringLiteral("<font color=#ff0000>")
                                          : QStringLiteral("<font color=#00FFFF>");
            text += QStringLiteral("<TR><TD width=30%>") + colour + QStringLiteral("<B>") +
                    plan_.captions[i] +
                    QStringLiteral("</B></font></TD><TD style=\"white-space:pre-wrap\">") +
                    HtmlValue(values[i]) + QStringLiteral("&nbsp;</TD></TR>") + kEol;
        }
        return text + QStringLiteral("<TR><TD colspan=2>&nbsp;</TD></TR>") + kEol;
    }
    QString EmptyGroup(const QString& line) const override {
        return QStringLiteral("<TR><TD colspan=2>") + HtmlEscape(line) +
               QStringLiteral("</TD></TR>") + kEol;
    }
    QString Footer() const override {
        return QStringLiteral("</Table><p>&nbsp;") + kEol + QStringLiteral("<br><font size=1>") +
               HtmlEscape(info_.makerLine) + QStringLiteral("</font>") + kEol +
               QStringLiteral("<br><a href=\"") + HtmlEscape(info_.homePage) +
               QStringLiteral("\">Quorvane HomePage</a>") + kEol +
               QStringLiteral("<br><a href=\"mailto:") + HtmlEscape(info_.mailAddress) +
               QStringLiteral("\">Email Me</a></p></body></html>") + kEol;
    }

private:
    // Notes keep their lines; blanks and tabs stay as they are (a browser
    // would fold them, and a password " p " would read "p").
    static QString HtmlValue(const QString& value) {
        QString text = HtmlEscape(value);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        return text.replace(QStringLiteral("\n"), QStringLiteral("<br>"));
    }

    const ExportPlan& plan_;
    const DocumentInfo& info_;
};

// Modes 1 to 3 share the header and footer of a text document.
class TextFormat : public ExportFormat {
public:
    TextFormat(const ExportPlan& plan, const DocumentInfo& info) : plan_(plan), info_(info) {}

    QString Header() const override {
        const QString indent(kTitleIndent, QLatin1Char(' '));
        return indent + info_.title + kEol + indent + info_.formatName + kEol + kEol;
    }
    QString GroupHeading(const QString& heading) const override { return heading + kEol; }
    QString EmptyGroup(const QString& line) const override { return line + kEol; }
    QString Footer() const override {
        return kEol + kEol + info_.makerLine + kEol + info_.homePage + kEol + info_.mailAddress +
               kEol;
    }

protected:
    const ExportPlan& plan_;
    const DocumentInfo& info_;
};

class LabelledFormat : public TextFormat {
public:
    using TextFormat::TextFormat;
    QString Entry(const QStringList& values) const override {
        QString text;
        for (int i = 0; i < values.size(); ++i)
            text += Fit(plan_.captions[i] + QLatin1Char(':'), kCaptionWidth) + QLatin1Char(' ') +
                    ContinuedLines(values[i], kCaptionWidth + 1, kEol) + kEol;
        return text + kEol;
    }
};

// The tabular modes: an optional caption line, no headings, no footer.
class TableFormat : public TextFormat {
public:
    TableFormat(const ExportPlan& plan, const DocumentInfo& info, bool header)
        : TextFormat(plan, info), header_(header) {}
    QString Header() const override { return header_ ? Line(plan_.captions) : QString(); }
    QString GroupHeading(const QString&) const override { return {}; }
    QString Footer() const override { return {}; }
    QString Entry(const QStringList& values) const override { return Line(values) + kEol; }

protected:
    virtual QString Line(const QStringList& values) const = 0;

private:
    bool header_;
};

class ColumnsFormat : public TableFormat {
public:
    using TableFormat::TableFormat;

protected:
    QString Line(const QStringList& values) const override {
        QString line;
        for (int i = 0; i < values.size(); ++i)
            line += Fit(OneLine(values[i]), plan_.widths[std::size_t(i)]);
        return line + kEol;
    }
};

class CsvFormat : public TableFormat {
public:
    CsvFormat(const ExportPlan& plan, const DocumentInfo& info, bool header, QString delimiter,
              bool neutralise)
        : TableFormat(plan, info, header), delimiter_(std::move(delimiter)),
          neutralise_(neutralise) {}
    QString EmptyGroup(const QString& line) const override { return Line({line}); }

protected:
    QString Line(const QStringList& values) const override {
        QStringList cells;
        for (const QString& value : values)
            cells << CsvValue(value, delimiter_, neutralise_);
        return cells.join(delimiter_) + kEol;
    }

private:
    QString delimiter_;
    bool neutralise_;
};

} // namespace

std::unique_ptr<ExportFormat> MakeFileFormat(const ExportChoice& choice, const ExportPlan& plan,
                                             const DocumentInfo& info) {
    switch (choice.mode) {
    case kModeHtml:
        return std::make_unique<HtmlFormat>(plan, info);
    case kModeLabelled:
        return std::make_unique<LabelledFormat>(plan, info);
    case kModeColumns:
        return std::make_unique<ColumnsFormat>(plan, info, choice.header);
    case kModeCsv:
        return std::make_unique<CsvFormat>(plan, info, choice.header, choice.delimiter,
                                           choice.csvSafe);
    default:
        return nullptr;
    }
}

QString Fit(const QString& text, int width) {
    return text.leftJustified(width, QLatin1Char(' '), true);
}

QString HtmlEscape(const QString& text) {
    return text.toHtmlEscaped();
}

QString CsvValue(const QString& given, const QString& delimiter, bool neutralise) {
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    const QString value = neutralise && !given.isEmpty() && kFormulaStarts.contains(given.front())
                              ? QLatin1Char('\'') + given
                              : given;
    const bool quote = (!delimiter.isEmpty() && value.contains(delimiter)) ||
                       value.contains(QLatin1Char('"')) || value.contains(QLatin1Char('\n')) ||
                       value.contains(QLatin1Char('\r'));
    if (!quote) return value;
    return QLatin1Char('"') + QString(value).replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

} // namespace qvs
