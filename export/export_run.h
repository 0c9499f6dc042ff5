// Running an export or building the report: the checks before anything is
// written, the generation, and what the user is told.
#pragma once

#include "export/export_choice.h"
#include "store/export/export_format.h"
#include "store/export/export_writer.h"

#include <QString>
#include <QStringList>

namespace ardeko {
class clsPW;
}

namespace qvs {

class Report;

struct ExportOutcome {
    bool ok = false;
    QString message;     // why it failed, for the user
    QStringList files;   // written, or started before the failure
    QStringList renamed; // group files given another name than their group's
};

// Title with this program's version, the mode's format name, the maker.
ardeko::DocumentInfo MakeDocumentInfo(int mode);

// The file of an export without groups in files of their own.
QString ExportPath(const ExportChoice& choice);

// Writes the export files of choice (an export mode). A folder that does not
// exist is reported before anything is written.
ExportOutcome ExportToFiles(const ardeko::clsPW& store, const ExportChoice& choice,
                            const ardeko::DocumentInfo& info,
                            const ardeko::ExportProgress& progress = {});

// Fills report with the printed export of choice.
void BuildReport(const ardeko::clsPW& store, const ExportChoice& choice,
                 const ardeko::DocumentInfo& info, Report& report,
                 const ardeko::ExportProgress& progress = {});

// Writes a built report as a PDF file readable by the user only.
ExportOutcome WriteReportPdf(Report& report, const QString& path);

} // namespace qvs
