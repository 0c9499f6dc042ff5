// The text of the export files, one format per mode: header, group
// headings, entries, the line of an empty group, footer. All UTF-8.
#pragma once

#include "store/export/export_plan.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ardeko {

// What the header and footer of a document name.
struct DocumentInfo {
    std::string title;      // "Quorvane" and the version
    std::string formatName; // of the mode, in the user's language
    std::string makerLine;
    std::string homePage;
    std::string mailAddress;
};

using ExportRow = std::vector<std::string>;

class ExportFormat {
public:
    virtual ~ExportFormat() = default;
    virtual std::string Header() const = 0;
    virtual std::string GroupHeading(const std::string& heading) const = 0;
    // The entry, values in caption order, followed by its separator.
    virtual std::string Entry(const ExportRow& values) const = 0;
    virtual std::string EmptyGroup(const std::string& line) const = 0;
    virtual std::string Footer() const = 0;
};

// The title ("Quorvane" and version), the format's name and the maker's
// pages.
DocumentInfo MakeDocumentInfo(const std::string& version, const std::string& formatName);

// The format of an export mode (not printing); the plan and info must
// outlive it.
std::unique_ptr<ExportFormat> MakeFileFormat(const ExportRequest& request, const ExportPlan& plan,
                                             const DocumentInfo& info);

// Text that an HTML page shows as it stands.
std::string HtmlEscape(std::string_view text);

// A value in quotes, quotes doubled, when it holds the delimiter, a quote or
// a line break (a reader would split it otherwise); else as it stands.
// With neutralise, a value a spreadsheet would run as a formula (first
// character "=", "+", "-", "@", a tab or a carriage return) gets a leading
// "'", which spreadsheets show as text.
std::string CsvValue(std::string_view value, std::string_view delimiter, bool neutralise = true);

} // namespace ardeko
