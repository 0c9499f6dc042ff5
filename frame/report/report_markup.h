// The report mark-up: plain text with inline tags that set the look of what
// follows them. Tags are written in any letter case:
//   <font=NAME>   font face          <size=N>     size in points
//   <color=N>     colour, decimal BGR (255 red, 16711680 blue, 0 black)
//   <b>           bold               <align=left|center|right>
//   <lindent=N>   left indent of the paragraph, in millimetres
// A tag holds until a tag of the same kind changes it or the marked-up text
// ends; there are no closing tags. CR LF (or a lone CR or LF) ends a line.
// "<<" stands for a literal "<". Anything that is not a well-formed tag is
// kept as text.
#pragma once

#include <QColor>
#include <QString>

#include <vector>

namespace qvs::report {

struct TextStyle {
    QString family;
    double pointSize = 10;
    QColor colour = Qt::black;
    bool bold = false;

    bool operator==(const TextStyle&) const = default;
};

enum class Align { Left, Center, Right };

struct Run {
    QString text;
    TextStyle style;
};

struct Paragraph {
    Align align = Align::Left;
    int indentMm = 0;
    std::vector<Run> runs;
    // The style in force where the line ends: it gives an empty line its height.
    TextStyle endStyle;

    QString Text() const;
};

struct ParsedText {
    // Always at least one paragraph, possibly empty.
    std::vector<Paragraph> paragraphs;
    // The text ended with a line break: whatever follows starts a new line.
    bool endsWithBreak = false;
};

// Reads marked-up text, starting from base.
ParsedText ParseMarkup(const QString& text, const TextStyle& base);

// Makes text print exactly as it stands, whatever "<" it contains (entry
// values are user data, not mark-up).
QString EscapeMarkup(const QString& text);

// A colour given as a decimal BGR value (red in the low byte).
QColor ColourFromBgr(quint32 bgr);

} // namespace qvs::report
