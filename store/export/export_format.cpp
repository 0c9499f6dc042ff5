#include "store/export/export_format.h"

#include "store/export/export_fields.h"
#include "store/product_info.h"

namespace ardeko {

namespace {

constexpr const char* kEol = "\n";
constexpr std::size_t kTitleIndent = 17;
constexpr std::size_t kCaptionWidth = 15;

class HtmlFormat : public ExportFormat {
public:
    HtmlFormat(const ExportPlan& plan, const DocumentInfo& info) : plan_(plan), info_(info) {}

    std::string Header() const override {
        return std::string("<html><head><meta charset=\"utf-8\"><title>Quorvane "
                           "Export</title></head><body bgcolor=#000000 text=#FFFFFF>") +
               kEol +
               "<TABLE BORDER=1 width=100%><TR><TD colspan=2 align=center><font "
               "color=#ff0000><H1>" +
               HtmlEscape(info_.title) + "</H1><font size=1>(" + HtmlEscape(info_.formatName) +
               ")</font></font></TD></TR>" + kEol;
    }
    std::string GroupHeading(const std::string& heading) const override {
        return "<TR><TD colspan=2 align=center><Font Color=#00ff00><H3>" + HtmlEscape(heading) +
               "</H3></Font></TD></TR>" + kEol;
    }
    std::string Entry(const ExportRow& values) const override {
        std::string text;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const char* colour = i == 0 ? "<font color=#ff0000>" : "<font color=#00FFFF>";
            text += std::string("<TR><TD width=30%>") + colour + "<B>" +
                    HtmlEscape(plan_.labels[i]) +
                    "</B></font></TD><TD style=\"white-space:pre-wrap\">" + HtmlValue(values[i]) +
                    "&nbsp;</TD></TR>" + kEol;
        }
        return text + "<TR><TD colspan=2>&nbsp;</TD></TR>" + kEol;
    }
    std::string EmptyGroup(const std::string& line) const override {
        return "<TR><TD colspan=2>" + HtmlEscape(line) + "</TD></TR>" + kEol;
    }
    std::string Footer() const override {
        return std::string("</Table><p>&nbsp;") + kEol + "<br><font size=1>" +
               HtmlEscape(info_.makerLine) + "</font>" + kEol + "<br><a href=\"" +
               HtmlEscape(info_.homePage) + "\">Quorvane HomePage</a>" + kEol +
               "<br><a href=\"mailto:" + HtmlEscape(info_.mailAddress) +
               "\">Email Me</a></p></body></html>" + kEol;
    }

private:
    // Notes keep their lines; blanks and tabs stay as they are (a browser
    // would fold them, and a password " p " would read "p").
    static std::string HtmlValue(const std::string& value) {
        return ContinuedLines(HtmlEscape(value), 0, "<br>");
    }

    const ExportPlan& plan_;
    const DocumentInfo& info_;
};

// Modes 1 to 3 share the header and footer of a text document.
class TextFormat : public ExportFormat {
public:
    TextFormat(const ExportPlan& plan, const DocumentInfo& info) : plan_(plan), info_(info) {}

    std::string Header() const override {
        const std::string indent(kTitleIndent, ' ');
        return indent + info_.title + kEol + indent + info_.formatName + kEol + kEol;
    }
    std::string GroupHeading(const std::string& heading) const override { return heading + kEol; }
    std::string EmptyGroup(const std::string& line) const override { return line + kEol; }
    std::string Footer() const override {
        return std::string(kEol) + kEol + info_.makerLine + kEol + info_.homePage + kEol +
               info_.mailAddress + kEol;
    }

protected:
    const ExportPlan& plan_;
    const DocumentInfo& info_;
};

class LabelledFormat : public TextFormat {
public:
    using TextFormat::TextFormat;
    std::string Entry(const ExportRow& values) const override {
        std::string text;
        for (std::size_t i = 0; i < values.size(); ++i)
            text += Fit(plan_.labels[i] + ':', kCaptionWidth) + ' ' +
                    ContinuedLines(values[i], kCaptionWidth + 1, kEol) + kEol;
        return text + kEol;
    }
};

// The tabular modes: an optional caption line, no headings, no footer; each
// line, the caption line too, ends with one line end.
class TableFormat : public TextFormat {
public:
    TableFormat(const ExportPlan& plan, const DocumentInfo& info, bool header)
        : TextFormat(plan, info), header_(header) {}
    std::string Header() const override { return header_ ? Line(HeaderCells()) : std::string(); }
    std::string GroupHeading(const std::string&) const override { return {}; }
    std::string Footer() const override { return {}; }
    std::string Entry(const ExportRow& values) const override { return Line(values); }

protected:
    virtual const ExportRow& HeaderCells() const { return plan_.labels; }
    virtual std::string Line(const ExportRow& values) const = 0;

private:
    bool header_;
};

class ColumnsFormat : public TableFormat {
public:
    using TableFormat::TableFormat;

protected:
    std::string Line(const ExportRow& values) const override {
        std::string line;
        for (std::size_t i = 0; i < values.size(); ++i)
            line += Fit(OneLine(values[i]), plan_.widths[i]);
        return line + kEol;
    }
};

class CsvFormat : public TableFormat {
public:
    CsvFormat(const ExportPlan& plan, const DocumentInfo& info, bool header, std::string delimiter,
              bool neutralise)
        : TableFormat(plan, info, header), delimiter_(std::move(delimiter)),
          neutralise_(neutralise) {}
    std::string EmptyGroup(const std::string& line) const override { return Line({line}); }

protected:
    // Other programs read the columns by these names, whatever the language.
    const ExportRow& HeaderCells() const override { return plan_.captions; }
    std::string Line(const ExportRow& values) const override {
        std::string line;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i) line += delimiter_;
            line += CsvValue(values[i], delimiter_, neutralise_);
        }
        return line + kEol;
    }

private:
    std::string delimiter_;
    bool neutralise_;
};

} // namespace

DocumentInfo MakeDocumentInfo(const std::string& version, const std::string& formatName) {
    return {std::string(kProductTitle) + " " + version, formatName,
            std::string(kProductTitle) + " by " + kMakerName, kProductUrl, kSupportMail};
}

std::unique_ptr<ExportFormat> MakeFileFormat(const ExportRequest& request, const ExportPlan& plan,
                                             const DocumentInfo& info) {
    switch (request.mode) {
    case kModeHtml:
        return std::make_unique<HtmlFormat>(plan, info);
    case kModeLabelled:
        return std::make_unique<LabelledFormat>(plan, info);
    case kModeColumns:
        return std::make_unique<ColumnsFormat>(plan, info, request.header);
    case kModeCsv:
        return std::make_unique<CsvFormat>(plan, info, request.header, request.delimiter,
                                           request.csvSafe);
    default:
        return nullptr;
    }
}

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string CsvValue(std::string_view given, std::string_view delimiter, bool neutralise) {
    constexpr std::string_view kFormulaStarts = "=+-@\t\r";
    std::string value;
    if (neutralise && !given.empty() && kFormulaStarts.find(given.front()) != kFormulaStarts.npos)
        value = '\'';
    value += given;
    const bool quote = (!delimiter.empty() && value.find(delimiter) != value.npos) ||
                       value.find_first_of("\"\n\r") != value.npos;
    if (!quote) return value;
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace ardeko
