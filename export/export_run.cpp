#include "export/export_run.h"

#include "export/file_sink.h"
#include "export/report_sink.h"
#include "export/text_ids.h"
#include "frame/language.h"
#include "frame/report/report.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVersionNumber>

namespace qvs {

namespace {

// Nothing may be written into a folder that is not there (the user would
// look for the file in vain), nor into a name that is no folder.
// An empty folder is none either: the file would land in whatever folder
// the program was started from.
bool FolderMissing(const QString& folder, ExportOutcome& outcome) {
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return false;
    outcome.message = folder.isEmpty()
                          ? GetLocalText(text::kNoFolder)
                          : LocalTextWith(text::kFolderMissing, QDir::toNativeSeparators(folder));
    return true;
}

} // namespace

ardeko::DocumentInfo MakeDocumentInfo(int mode) {
    const QVersionNumber version =
        QVersionNumber::fromString(QCoreApplication::applicationVersion());
    const int formatId = ModeFormatTextId(mode);
    return ardeko::MakeDocumentInfo(QStringLiteral("%1.%2.%3")
                                        .arg(version.majorVersion())
                                        .arg(version.minorVersion())
                                        .arg(version.microVersion())
                                        .toStdString(),
                                    formatId ? GetLocalText(formatId).toStdString() : "");
}

QString ExportPath(const ExportChoice& choice) {
    return QDir(choice.folder).filePath(choice.fileName + ModeExtension(choice.mode));
}

ExportOutcome ExportToFiles(const ardeko::clsPW& store, const ExportChoice& choice,
                            const ardeko::DocumentInfo& info,
                            const ardeko::ExportProgress& progress) {
    ExportOutcome outcome;
    if (FolderMissing(choice.folder, outcome)) return outcome;
    const ardeko::ExportRequest request = choice.Request();
    const ardeko::ExportPlan plan = ardeko::MakePlan(store, request);
    if (plan.groups.empty()) {
        // Grouped without entries and without empty groups asked for.
        outcome.message = GetLocalText(text::kNothingToExport);
        return outcome;
    }
    FileSink sink(ardeko::MakeFileFormat(request, plan, info), choice.folder, choice.fileName,
                  ModeExtension(choice.mode));
    outcome.ok = ardeko::Generate(plan, choice.Splits(), sink, progress);
    outcome.message = sink.Error();
    outcome.files = sink.Written();
    outcome.renamed = sink.Renamed();
    return outcome;
}

void BuildReport(const ardeko::clsPW& store, const ExportChoice& choice,
                 const ardeko::DocumentInfo& info, Report& report,
                 const ardeko::ExportProgress& progress) {
    const ardeko::ExportPlan plan = ardeko::MakePlan(store, choice.Request());
    ReportSink sink(report, plan, info, choice.printLayout);
    ardeko::Generate(plan, false, sink, progress);
}

ExportOutcome WriteReportPdf(Report& report, const QString& path) {
    ExportOutcome outcome;
    if (FolderMissing(QDir::isAbsolutePath(path) ? QFileInfo(path).path() : QString(), outcome))
        return outcome;
    // The PDF writer keeps the permissions of a file it replaces: create it
    // (or narrow it) first.
    QFile file(path);
    constexpr auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate, ownerOnly) ||
        !file.setPermissions(ownerOnly)) {
        outcome.message =
            QDir::toNativeSeparators(path) + QStringLiteral("\n") + file.errorString();
        return outcome;
    }
    file.close();
    outcome.files << path;
    outcome.ok = report.WritePdf(path);
    if (!outcome.ok)
        outcome.message = LocalTextWith(text::kPdfFailed, QDir::toNativeSeparators(path));
    return outcome;
}

} // namespace qvs
