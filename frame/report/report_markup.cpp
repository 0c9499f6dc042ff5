#include "frame/report/report_markup.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace qvs::report {
namespace {

// Bounds that keep a stray value from blowing the layout up.
constexpr double kMinSize = 1;
constexpr double kMaxSize = 200;
constexpr uint kMaxIndentMm = 1000;

const QRegularExpression& TagPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("<(?:(font|size|color|align|lindent)=([^<>\\r\\n]*)|(b))>"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

std::optional<double> SizeValue(const QString& value) {
    bool ok = false;
    const double size = value.toDouble(&ok);
    return ok && std::isfinite(size) && size >= kMinSize && size <= kMaxSize ? std::optional(size)
                                                                             : std::nullopt;
}

std::optional<QColor> ColourValue(const QString& value) {
    bool ok = false;
    const uint bgr = value.toUInt(&ok);
    return ok && bgr <= 0xFFFFFFu ? std::optional(ColourFromBgr(bgr)) : std::nullopt;
}

std::optional<Align> AlignValue(const QString& value) {
    const QString how = value.trimmed().toLower();
    if (how == QLatin1String("left")) return Align::Left;
    if (how == QLatin1String("center") || how == QLatin1String("centre")) return Align::Center;
    if (how == QLatin1String("right")) return Align::Right;
    return std::nullopt;
}

std::optional<int> IndentValue(const QString& value) {
    bool ok = false;
    const uint mm = value.toUInt(&ok);
    return ok && mm <= kMaxIndentMm ? std::optional(static_cast<int>(mm)) : std::nullopt;
}

class Parser {
public:
    explicit Parser(const TextStyle& base) : style_(base) { result_.paragraphs.emplace_back(); }

    ParsedText Parse(const QString& text);

private:
    qsizetype TryTag(const QString& text, qsizetype pos);
    bool Apply(const QString& name, const QString& value);
    void SetStyle(const TextStyle& style);
    void Flush();
    void BreakLine();
    Paragraph& Current() { return result_.paragraphs.back(); }

    TextStyle style_;
    QString pending_;
    ParsedText result_;
};

ParsedText Parser::Parse(const QString& text) {
    qsizetype pos = 0;
    while (pos < text.size()) {
        const QChar c = text.at(pos);
        if (c == u'\r' || c == u'\n') {
            BreakLine();
            pos += (c == u'\r' && pos + 1 < text.size() && text.at(pos + 1) == u'\n') ? 2 : 1;
        } else if (c == u'<' && text.mid(pos, 2) == QLatin1String("<<")) {
            pending_ += u'<';
            pos += 2;
        } else if (const qsizetype used = c == u'<' ? TryTag(text, pos) : 0; used > 0) {
            pos += used;
        } else {
            pending_ += c;
            ++pos;
        }
    }
    Flush();
    Current().endStyle = style_;
    // A final break leaves an empty line behind: the next text starts it.
    if (result_.paragraphs.size() > 1 && Current().runs.empty()) {
        result_.paragraphs.pop_back();
        result_.endsWithBreak = true;
    }
    return std::move(result_);
}

// The length of the well-formed tag at pos, or 0 when there is none.
qsizetype Parser::TryTag(const QString& text, qsizetype pos) {
    const QRegularExpressionMatch m = TagPattern().match(
        text, pos, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    if (!m.hasMatch()) return 0;
    const QString name = m.captured(3).isEmpty() ? m.captured(1).toLower() : QStringLiteral("b");
    return Apply(name, m.captured(2)) ? m.capturedLength() : 0;
}

bool Parser::Apply(const QString& name, const QString& value) {
    TextStyle next = style_;
    if (name == QLatin1String("b")) {
        next.bold = true;
    } else if (name == QLatin1String("font")) {
        next.family = value.trimmed();
        if (next.family.isEmpty()) return false;
    } else if (name == QLatin1String("size")) {
        const std::optional<double> size = SizeValue(value);
        if (!size) return false;
        next.pointSize = *size;
    } else if (name == QLatin1String("color")) {
        const std::optional<QColor> colour = ColourValue(value);
        if (!colour) return false;
        next.colour = *colour;
    } else if (name == QLatin1String("align")) {
        const std::optional<Align> align = AlignValue(value);
        if (!align) return false;
        Current().align = *align;
    } else if (name == QLatin1String("lindent")) {
        const std::optional<int> indent = IndentValue(value);
        if (!indent) return false;
        Current().indentMm = *indent;
    }
    SetStyle(next);
    return true;
}

void Parser::SetStyle(const TextStyle& style) {
    if (style == style_) return;
    Flush();
    style_ = style;
}

void Parser::Flush() {
    if (pending_.isEmpty()) return;
    std::vector<Run>& runs = Current().runs;
    if (!runs.empty() && runs.back().style == style_)
        runs.back().text += pending_;
    else
        runs.push_back({pending_, style_});
    pending_.clear();
}

void Parser::BreakLine() {
    Flush();
    Current().endStyle = style_;
    Paragraph next;
    next.align = Current().align;
    next.indentMm = Current().indentMm;
    result_.paragraphs.push_back(std::move(next));
}

} // namespace

QString Paragraph::Text() const {
    QString text;
    for (const Run& run : runs)
        text += run.text;
    return text;
}

ParsedText ParseMarkup(const QString& text, const TextStyle& base) {
    return Parser(base).Parse(text);
}

QString EscapeMarkup(const QString& text) {
    QString escaped = text;
    return escaped.replace(u'<', QLatin1String("<<"));
}

QColor ColourFromBgr(quint32 bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace qvs::report
