// The text of the export files, one format per mode: header, group
// headings, entries, the line of an empty group, footer.
#pragma once

#include "export/export_choice.h"
#include "export/export_plan.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace qvs {

// What the header and footer of a document name.
struct DocumentInfo {
    QString title;      // "Quorvane" and the version
    QString formatName; // of the mode, in the user's language
    QString makerLine;
    QString homePage;
    QString mailAddress;
};

class ExportFormat {
public:
    virtual ~ExportFormat() = default;
    virtual QString Header() const = 0;
    virtual QString GroupHeading(const QString& heading) const = 0;
    // The entry, values in caption order, followed by its separator.
    virtual QString Entry(const QStringList& values) const = 0;
    virtual QString EmptyGroup(const QString& line) const = 0;
    virtual QString Footer() const = 0;
};

// The format of an export mode (not printing).
std::unique_ptr<ExportFormat> MakeFileFormat(const ExportChoice& choice, const ExportPlan& plan,
                                             const DocumentInfo& info);

// text padded with blanks, or cut, to exactly width characters.
QString Fit(const QString& text, int width);

// Text that an HTML page shows as it stands.
QString HtmlEscape(const QString& text);

// A value in quotes, quotes doubled, when it holds the delimiter, a quote or
// a line break (a reader would split it otherwise); else as it stands.
// With neutralise, a value a spreadsheet would run as a formula (first
// character "=", "+", "-", "@", a tab or a carriage return) gets a leading
// "'", which spreadsheets show as text.
QString CsvValue(const QString& value, const QString& delimiter, bool neutralise = false);

} // namespace qvs
