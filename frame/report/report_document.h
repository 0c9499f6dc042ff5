// Turns report lines (mark-up) into one laid-out rich-text document.
#pragma once

#include <QString>

#include <memory>
#include <vector>

class QPaintDevice;
class QTextDocument;

namespace qvs::report {

// One text handed to the report. A line that does not ask for a new
// paragraph continues the last one, unless that ended with a line break.
// Every line starts in the report's face at pointSize, black, regular, left.
struct ReportLine {
    QString markup;
    bool newParagraph = true;
    double pointSize = 10;
};

// The document for lines in fontFace, laid out for device (the one that will
// paint it; null means the screen).
std::unique_ptr<QTextDocument> BuildDocument(const std::vector<ReportLine>& lines,
                                             const QString& fontFace, QPaintDevice* device);

} // namespace qvs::report
