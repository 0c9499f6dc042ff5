// The commands of the export and print dialog.
#include "export/frm_exp_print.h"

#include "export/export_run.h"
#include "export/text_ids.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/options.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "frame/report/report.h"
#include "frame/text_ids.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

namespace qvs {

namespace {

// Keeps the dialog from taking input while a command runs.
class Busy {
public:
    explicit Busy(QWidget* window) : window_(window) { window_->setEnabled(false); }
    ~Busy() { window_->setEnabled(true); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    QWidget* window_;
};

} // namespace

void frmExpPrint::ShowError(const QString& text) {
    ShowMessage(text, vbCritical, QStringLiteral("QVS Error!"));
}

void frmExpPrint::ShowProgress(int done, int count) {
    // About a hundred steps: painting the status bar costs more than an entry.
    const int step = qMax(1, count / 100);
    if (!status_ || (done % step != 0 && done != count)) return;
    status_(GetLocalText(text::kExportProgress) + QString::number(done) + QStringLiteral(" / ") +
            QString::number(count));
}

bool frmExpPrint::TakeChoice(bool needsFile) {
    const ExportChoice choice = Choice();
    if (mode_ == kModeCsv && choice.delimiter.isEmpty()) {
        ShowMessage(GetLocalText(text::kNoDelimiter), vbExclamation, ProgramName());
        txtDelim_->setFocus();
        return false;
    }
    if (needsFile && choice.fileName.isEmpty()) {
        ShowMessage(GetLocalText(text::kNoFileName), vbExclamation, ProgramName());
        txtFile_->setFocus();
        return false;
    }
    StoreChoice(choice, Opt());
    SaveReportOptions();
    return true;
}

void frmExpPrint::Export() {
    if (!TakeChoice(true)) return;
    const ExportChoice choice = Choice();
    ExportOutcome outcome;
    {
        Busy busy(this);
        outcome = ExportToFiles(Store(), choice, MakeDocumentInfo(mode_),
                                [this](int done, int count) { ShowProgress(done, count); });
        if (status_) status_(QString());
    }
    if (!outcome.files.isEmpty()) {
        lastExport_ = outcome.files.front();
        cmdView_->setEnabled(true);
    }
    if (!outcome.ok)
        ShowError(outcome.message);
    else if (!outcome.renamed.isEmpty())
        ShowMessage(LocalTextWith(text::kRenamedFiles, outcome.renamed.join(QLatin1Char('\n'))),
                    vbInformation, ProgramName());
}

void frmExpPrint::BuildReportInto(Report& report) {
    BuildReport(Store(), Choice(), MakeDocumentInfo(mode_), report,
                [this](int done, int count) { ShowProgress(done, count); });
    if (status_) status_(QString());
}

void frmExpPrint::Preview() {
    if (!TakeChoice(false)) return;
    Report report;
    bool shown = false;
    {
        Busy busy(this);
        BuildReportInto(report);
        shown = report.Preview(this);
    }
    if (!shown) ShowError(GetLocalText(text::kLayoutFailed));
}

void frmExpPrint::Print() {
    if (!TakeChoice(false)) return;
    const int chosen = cboPrinter_->currentIndex();
    if (chosen < 0 || chosen >= int(printers_.size())) {
        ShowError(GetLocalText(text::kNoPrinter));
        return;
    }
    const QString name = printers_[std::size_t(chosen)].name;
    Report report;
    bool printed = false;
    {
        Busy busy(this);
        BuildReportInto(report);
        printed = report.Print(name);
    }
    if (!printed) {
        ShowError(LocalTextWith(text::kPrintFailed, name));
        return;
    }
    ShowMessage(GetLocalText(text::kPrinted), vbInformation, QStringLiteral("QVS!"));
}

void frmExpPrint::SavePdf() {
    if (!TakeChoice(true)) return;
    const ExportChoice choice = Choice();
    const QString path = QDir(choice.folder).filePath(choice.fileName + QStringLiteral(".pdf"));
    Report report;
    ExportOutcome outcome;
    {
        Busy busy(this);
        BuildReportInto(report);
        outcome = WriteReportPdf(report, path);
    }
    if (!outcome.ok) {
        ShowError(outcome.message);
        return;
    }
    ShowMessage(LocalTextWith(text::kPdfWritten, QDir::toNativeSeparators(path)), vbInformation,
                ProgramName());
}

void frmExpPrint::View() {
    const QString path = lastExport_.trimmed();
    if (path.isEmpty()) {
        ShowMessage(GetLocalText(text::kNoWebAddress), vbOKOnly, ProgramName());
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void frmExpPrint::Browse() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, GetLocalText(text::kExportFolderTitle), txtDir_->text());
    if (!folder.isEmpty()) txtDir_->setText(QDir::toNativeSeparators(folder));
}

void ExportPrint(int mode, StatusText status) {
    const CupsPrinterLookup printers;
    frmExpPrint dialog(mode, printers, std::move(status));
    ExecModal(dialog);
}

} // namespace qvs
