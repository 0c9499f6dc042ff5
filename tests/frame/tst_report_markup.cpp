#include "frame/report/report_document.h"
#include "frame/report/report_markup.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

using namespace qvs::report;

namespace {

TextStyle Base(double size = 10) {
    TextStyle style;
    style.family = "courier new";
    style.pointSize = size;
    return style;
}

// Text runs of a block with their character formats.
struct Fragment {
    QString text;
    QTextCharFormat format;
};

QList<Fragment> Fragments(const QTextBlock& block) {
    QList<Fragment> list;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        list << Fragment{it.fragment().text(), it.fragment().charFormat()};
    return list;
}

QStringList BlockTexts(const QTextDocument& doc) {
    QStringList texts;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        texts << b.text();
    return texts;
}

} // namespace

class TestReportMarkup : public QObject {
    Q_OBJECT
private slots:
    void colourIsBgrAndTagsIgnoreCase() {
        const ParsedText parsed = ParseMarkup(
            "<Color=255>red<COLOR=16711680>blue<color=0>black<cOlOr=65280>green", Base());
        const std::vector<Run>& runs = parsed.paragraphs.at(0).runs;
        QCOMPARE(runs.size(), size_t(4));
        QCOMPARE(runs[0].style.colour, QColor(255, 0, 0));
        QCOMPARE(runs[1].style.colour, QColor(0, 0, 255));
        QCOMPARE(runs[2].style.colour, QColor(0, 0, 0));
        QCOMPARE(runs[3].style.colour, QColor(0, 255, 0));
        QCOMPARE(ColourFromBgr(0x336699), QColor(0x99, 0x66, 0x33));
    }

    // Tags hold across line breaks until the text ends; each text starts
    // again from its base.
    void tagsHoldUntilChangedOrTextEnds() {
        const ParsedText parsed = ParseMarkup(
            "<font=Arial><size=14><align=center><b><Color=255>Title\r\nsecond\r\n<align=left>"
            "<size=7>third",
            Base());
        QCOMPARE(parsed.paragraphs.size(), size_t(3));
        const Run& second = parsed.paragraphs[1].runs.at(0);
        QCOMPARE(second.text, QStringLiteral("second"));
        QCOMPARE(second.style.family, QStringLiteral("Arial"));
        QCOMPARE(second.style.pointSize, 14.0);
        QVERIFY(second.style.bold);
        QCOMPARE(second.style.colour, QColor(Qt::red));
        QCOMPARE(parsed.paragraphs[1].align, Align::Center);
        QCOMPARE(parsed.paragraphs[2].align, Align::Left);
        QCOMPARE(parsed.paragraphs[2].runs.at(0).style.pointSize, 7.0);
        const ParsedText next = ParseMarkup("plain", Base(9));
        QCOMPARE(next.paragraphs[0].runs.at(0).style, Base(9));
    }

    void lineBreaksAndTrailingBreak() {
        ParsedText parsed = ParseMarkup("a\r\nb\nc\rd", Base());
        QCOMPARE(parsed.paragraphs.size(), size_t(4));
        QVERIFY(!parsed.endsWithBreak);
        // Two breaks after a title: the title and one empty line, then the
        // next text begins a new line.
        parsed = ParseMarkup("Title\r\n\r\n", Base());
        QCOMPARE(parsed.paragraphs.size(), size_t(2));
        QCOMPARE(parsed.paragraphs[0].Text(), QStringLiteral("Title"));
        QVERIFY(parsed.paragraphs[1].runs.empty());
        QVERIFY(parsed.endsWithBreak);
        parsed = ParseMarkup("", Base());
        QCOMPARE(parsed.paragraphs.size(), size_t(1));
        QVERIFY(!parsed.endsWithBreak);
    }

    void indentAndEmptyLineKeepTheirStyle() {
        const ParsedText parsed = ParseMarkup("<lindent=12><size=20>\r\nx", Base());
        QCOMPARE(parsed.paragraphs[0].indentMm, 12);
        QCOMPARE(parsed.paragraphs[0].endStyle.pointSize, 20.0); // the empty line is 20 pt high
        QCOMPARE(parsed.paragraphs[1].indentMm, 12);
    }

    // What is not a well-formed tag prints as it stands; "<<" is a "<".
    void malformedTagsAndEscapesStayText_data() {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("text");
        QTest::newRow("unknown tag") << "a<i>b"
                                     << "a<i>b";
        QTest::newRow("size not a number") << "<size=big>x"
                                           << "<size=big>x";
        QTest::newRow("size zero") << "<size=0>x"
                                   << "<size=0>x";
        QTest::newRow("size huge") << "<size=5000>x"
                                   << "<size=5000>x";
        QTest::newRow("colour negative") << "<color=-1>x"
                                         << "<color=-1>x";
        QTest::newRow("colour too big") << "<color=16777216>x"
                                        << "<color=16777216>x";
        QTest::newRow("align unknown") << "<align=middle>x"
                                       << "<align=middle>x";
        QTest::newRow("empty font") << "<font=>x"
                                    << "<font=>x";
        QTest::newRow("unclosed") << "a<b"
                                  << "a<b";
        QTest::newRow("escaped") << "<<b>x<<"
                                 << "<b>x<";
        QTest::newRow("less than") << "1 < 2"
                                   << "1 < 2";
    }
    void malformedTagsAndEscapesStayText() {
        QFETCH(QString, markup);
        QFETCH(QString, text);
        const ParsedText parsed = ParseMarkup(markup, Base());
        QCOMPARE(parsed.paragraphs.at(0).Text(), text);
        for (const Run& run : parsed.paragraphs[0].runs)
            QCOMPARE(run.style, Base());
    }

    // An entry value full of tag look-alikes prints exactly, in the style
    // around it.
    void escapedValuesPrintVerbatim() {
        const QString value = "p<b>w<size=99><color=255>d<<";
        const ParsedText parsed = ParseMarkup("<Color=0>" + EscapeMarkup(value), Base());
        QCOMPARE(parsed.paragraphs.at(0).Text(), value);
        QCOMPARE(parsed.paragraphs[0].runs.size(), size_t(1));
        QVERIFY(!parsed.paragraphs[0].runs[0].style.bold);
    }

    void documentCarriesFormats() {
        const auto doc = BuildDocument(
            {{"<align=center><Color=255><b>Head", true, 14},
             {"<color=16711680><size=7><align=left><b><lindent=0>Service   User", true, 10},
             {"<lindent=10>plain", true, 8}},
            "courier new", nullptr);
        QCOMPARE(BlockTexts(*doc), QStringList({"Head", "Service   User", "plain"}));
        QTextBlock block = doc->begin();
        QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QTextCharFormat f = Fragments(block).at(0).format;
        QCOMPARE(f.foreground().color(), QColor(Qt::red));
        QCOMPARE(f.fontWeight(), int(QFont::Bold));
        QCOMPARE(f.fontPointSize(), 14.0);
        QCOMPARE(f.fontFamilies().toStringList(), QStringList("courier new"));
        block = block.next();
        f = Fragments(block).at(0).format;
        QCOMPARE(f.foreground().color(), QColor(Qt::blue));
        QCOMPARE(f.fontPointSize(), 7.0);
        QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        block = block.next();
        f = Fragments(block).at(0).format;
        QCOMPARE(f.foreground().color(), QColor(Qt::black)); // a new text starts plain
        QCOMPARE(f.fontWeight(), int(QFont::Normal));
        QCOMPARE(f.fontPointSize(), 8.0);
        QVERIFY(qAbs(block.blockFormat().leftMargin() - 10 * 96 / 25.4) < 0.01);
    }

    // A text may continue the last line, but never past a line break.
    void continuationJoinsLinesUnlessBroken() {
        const auto doc = BuildDocument({{"Service", true, 10},
                                        {" gmail", false, 10},
                                        {"\r\nCategory: Mail\r\n", false, 10},
                                        {"next", false, 10},
                                        {"", true, 10},
                                        {"last", true, 10}},
                                       "courier new", nullptr);
        QCOMPARE(BlockTexts(*doc),
                 QStringList({"Service gmail", "Category: Mail", "next", "", "last"}));
    }
};

QTEST_MAIN(TestReportMarkup)
#include "tst_report_markup.moc"
