#include "dialogs/files/frm_import_foreign.h"

#include "autotype/key_pair.h"
#include "dialogs/files/csv_columns_panel.h"
#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/named_widget.h"
#include "frame/store_reason.h"
#include "frame/text_ids.h"
#include "store/io/file_io.h"
#include "store/pw.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

#include <cstring>
#include <memory>

namespace qvs {

namespace {

constexpr int kPreviewColumnTexts[] = {34038, 34039, 34040, 34053, 34054, 34055, 34056};
constexpr int kFormatCount = 8;
constexpr int kPreviewRows = 50;
// Files this large show their progress while read and imported.
constexpr std::size_t kLargeFileBytes = 1u << 20;
constexpr int kSteps = 3;

QString Id(int textId) {
    return QString::number(textId); // localised with the window
}

QString FromStd(const std::string& s) {
    return QString::fromStdString(s);
}

// A progress window for the steps of a large file; nothing for a small one.
class Steps {
public:
    Steps(QWidget* parent, std::size_t bytes, int textId) {
        if (bytes < kLargeFileBytes) return;
        dialog_ =
            std::make_unique<QProgressDialog>(GetLocalText(textId), QString(), 0, kSteps, parent);
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setMinimumDuration(0);
        Next();
    }
    void Next() {
        if (!dialog_) return;
        dialog_->setValue(step_++);
        QApplication::processEvents();
    }

private:
    std::unique_ptr<QProgressDialog> dialog_;
    int step_ = 0;
};

QString WithLine(std::size_t line, const QString& text) {
    return line ? GetLocalText(text::kImportLine).arg(line).arg(text) : text;
}

// A problem of the file in the user's language; the values are numbers,
// captions and names, never the file's text.
QString ProblemText(const ardeko::ImportProblem& p) {
    QString text = GetLocalText(text::kFirstImportProblem + static_cast<int>(p.what));
    for (const std::string& arg : p.args)
        text = text.arg(FromStd(arg));
    return WithLine(p.line, text);
}

// Why a plan cannot be applied, in the user's language where it is known.
QString PlanProblemText(const ardeko::ImportPlan& plan) {
    if (plan.problemLimit) return ProblemText(*plan.problemLimit);
    if (plan.problemRefusal && plan.problemRefusal->refusal)
        return WithLine(plan.problemLine,
                        RefusalText(*plan.problemRefusal->refusal,
                                    plan.problemRefusal->num == ardeko::StoreError::TooLarge));
    return FromStd(plan.problem.value_or(std::string()));
}

QString DroppedValueText(const ardeko::DroppedValue& v) {
    const QString detail = FromStd(v.detail);
    if (v.kind == ardeko::DroppedValue::Kind::Passkey)
        return detail.isEmpty() ? GetLocalText(text::kImportPasskey)
                                : GetLocalText(text::kImportPasskeyFor).arg(detail);
    return detail.isEmpty() ? GetLocalText(text::kImportCollectionMembership)
                            : GetLocalText(text::kImportCollection).arg(detail);
}

// One line of notes for the preview.
QString FirstLine(const std::string& text) {
    const QString all = FromStd(text);
    const qsizetype cut = all.indexOf(QLatin1Char('\n'));
    return cut < 0 ? all : all.left(cut) + QStringLiteral(" …");
}

} // namespace

frmImportForeign::frmImportForeign(ardeko::clsPW& store, QWidget* parent)
    : QDialog(parent), store_(store), txtFile_(Named(new QLineEdit(this), "txtFile")),
      cmdBrowse_(Named(new QPushButton(Id(text::kImportBrowse), this), "cmdBrowse")),
      cboFormat_(Named(new QComboBox(this), "cboFormat")),
      lblDetected_(Named(new QLabel(this), "lblDetected")), columns_(new CsvColumnsPanel(this)),
      grdPreview_(Named(new QTableView(this), "grdPreview")),
      preview_(new QStandardItemModel(0, int(std::size(kPreviewColumnTexts)), this)),
      lblCounts_(Named(new QLabel(this), "lblCounts")),
      txtDetails_(Named(new QPlainTextEdit(this), "txtDetails")),
      lblProblem_(Named(new QLabel(this), "lblProblem")),
      cmdImport_(Named(new QPushButton(Id(text::kImportButton), this), "cmdImport")),
      cmdCancel_(Named(new QPushButton(Id(text::kCancel), this), "cmdCancel")) {
    setObjectName(QStringLiteral("frmImportForeign"));
    setWindowTitle(Id(text::kImportCaption));
    txtFile_->setReadOnly(true);
    for (int f = 0; f < kFormatCount; ++f)
        cboFormat_->addItem(Id(text::kFirstImportFormat + f));

    auto* top = new QGridLayout;
    auto* fileLabel = new QLabel(Id(text::kImportFileLabel), this);
    fileLabel->setBuddy(cmdBrowse_);
    auto* formatLabel = new QLabel(Id(text::kImportFormatLabel), this);
    formatLabel->setBuddy(cboFormat_);
    top->addWidget(fileLabel, 0, 0);
    top->addWidget(txtFile_, 0, 1);
    top->addWidget(cmdBrowse_, 0, 2);
    top->addWidget(formatLabel, 1, 0);
    top->addWidget(cboFormat_, 1, 1);
    top->addWidget(lblDetected_, 1, 2);

    grdPreview_->setModel(preview_);
    for (int c = 0; c < int(std::size(kPreviewColumnTexts)); ++c)
        preview_->setHeaderData(c, Qt::Horizontal, kPreviewColumnTexts[c], TextIdRole);
    grdPreview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPreview_->verticalHeader()->hide();
    grdPreview_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    grdPreview_->horizontalHeader()->setStretchLastSection(true);
    grdPreview_->setMinimumSize(720, 180);
    auto* previewLabel = new QLabel(Id(text::kImportPreview), this);
    previewLabel->setBuddy(grdPreview_);
    txtDetails_->setReadOnly(true);
    txtDetails_->setMaximumHeight(70);
    lblProblem_->setWordWrap(true);
    lblProblem_->setStyleSheet(QStringLiteral("color: #b00020;"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdImport_);
    buttons->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(columns_);
    layout->addWidget(previewLabel);
    layout->addWidget(grdPreview_, 1);
    layout->addWidget(lblCounts_);
    layout->addWidget(txtDetails_);
    layout->addWidget(lblProblem_);
    layout->addLayout(buttons);
    cmdImport_->setDefault(true);
    cmdImport_->setEnabled(false);

    connect(cmdBrowse_, &QPushButton::clicked, this, [this] {
        if (const QString path = AskFile(); !path.isEmpty()) SetFile(path);
    });
    connect(cboFormat_, &QComboBox::currentIndexChanged, this, &frmImportForeign::Replan);
    connect(columns_, &CsvColumnsPanel::Changed, this, &frmImportForeign::Replan);
    connect(cmdImport_, &QPushButton::clicked, this, &frmImportForeign::cmdImport_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    LocalizeForm(this);
}

bool frmImportForeign::Run() {
    if (!haveFile_) {
        const QString path = AskFile();
        if (path.isEmpty()) return false;
        SetFile(path);
    }
    ExecModal(*this);
    return imported_;
}

QString frmImportForeign::AskFile() {
    // Exports usually land among the downloads.
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    QFileDialog dialog(this, GetLocalText(text::kImportChooseFile),
                       QFileInfo(downloads).isDir() ? downloads : QDir::homePath());
    dialog.setObjectName(QStringLiteral("dlgImportFile"));
    dialog.setOption(QFileDialog::DontUseNativeDialog); // the same on every desktop
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({GetLocalText(text::kImportFilter), GetLocalText(text::kAllFilesFilter)});
    if (ExecModal(dialog) != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

void frmImportForeign::SetFile(const QString& path) {
    txtFile_->setText(path);
    bytes_.clear();
    haveFile_ = true;
    // One byte more than an import reads tells a file that is too large.
    Steps steps(this, QFileInfo(path).size(), text::kImportReading);
    if (auto err =
            ardeko::ReadFileHead(path.toStdString(), ardeko::kMaxForeignFileBytes + 1, bytes_)) {
        haveFile_ = false;
        data_ = {};
        plan_ = {};
        // The system's reason, in the window's words.
        ShowProblem(err->sysErr ? GetLocalText(text::kImportUnreadable)
                                      .arg(QString::fromLocal8Bit(std::strerror(err->sysErr)))
                                : FromStd(err->descr));
        return;
    }
    Replan();
}

void frmImportForeign::Replan() {
    if (!haveFile_) return;
    Steps steps(this, bytes_.size(), text::kImportReading);
    ardeko::ReadOptions options;
    options.format = static_cast<ardeko::ForeignFormat>(cboFormat_->currentIndex());
    columns_->Apply(options);
    if (auto err = ardeko::ReadForeignData(bytes_, options, data_)) {
        plan_ = {};
        ShowProblem(data_.problem ? ProblemText(*data_.problem) : FromStd(*err));
        // Bytes that are UTF-8 in places only: the user says which encoding.
        if (data_.problem && data_.problem->what == ardeko::ImportMsg::MixedEncoding)
            columns_->cboEncoding()->setFocus();
        return;
    }
    steps.Next();
    plan_ = ardeko::PlanImport(store_, data_, {store_.Now(), DefaultKeyVal()});
    steps.Next();
    ShowPlan();
    if (plan_.problem) ShowProblem(PlanProblemText(plan_));
}

void frmImportForeign::ShowProblem(const QString& text) {
    lblProblem_->setText(LocalTextWith(text::kCannotImport, text));
    lblProblem_->setVisible(true);
    cmdImport_->setEnabled(false);
    if (!plan_.entries.empty()) return;
    preview_->removeRows(0, preview_->rowCount());
    lblCounts_->clear();
    txtDetails_->clear();
    lblDetected_->clear();
}

void frmImportForeign::ShowPlan() {
    const bool generic = data_.format == ardeko::ForeignFormat::Csv;
    lblDetected_->setText(LocalTextWith(
        text::kImportDetected,
        GetLocalText(text::kFirstImportFormat + static_cast<int>(data_.format)) +
            QStringLiteral(" (") +
            GetLocalText(text::kFirstImportEncoding + static_cast<int>(data_.encoding)) +
            QLatin1Char(')')));
    columns_->SetColumnsEnabled(generic);
    if (generic) columns_->ShowColumns(data_.captions, data_.map);
    preview_->removeRows(0, preview_->rowCount());
    const int rows = std::min<int>(kPreviewRows, int(plan_.entries.size()));
    for (int r = 0; r < rows; ++r) {
        const ardeko::PlannedEntry& e = plan_.entries[std::size_t(r)];
        QList<QStandardItem*> items;
        for (const QString& text : {FromStd(e.record.service), FromStd(e.category),
                                    FromStd(e.subcategory), FromStd(e.record.User),
                                    // Shown as present or not, never its length.
                                    e.record.pw.empty() ? QString() : QStringLiteral("••••••"),
                                    FromStd(e.record.URL_Access), FirstLine(e.record.Descr)})
            items.append(new QStandardItem(text));
        preview_->appendRow(items);
    }
    grdPreview_->resizeColumnsToContents();
    QString counts = GetLocalText(text::kImportCounts)
                         .arg(plan_.entries.size())
                         .arg(plan_.newCategories.size())
                         .arg(plan_.newSubcategories.size())
                         .arg(plan_.renamed)
                         .arg(plan_.movedToNotes)
                         .arg(plan_.skipped.size());
    if (plan_.codes > 0) counts += GetLocalText(text::kImportCodesCount).arg(plan_.codes);
    if (plan_.fields > 0)
        counts +=
            GetLocalText(text::kImportFieldsCount).arg(plan_.fields).arg(plan_.protectedFields);
    if (plan_.expiries > 0) counts += GetLocalText(text::kImportExpiriesCount).arg(plan_.expiries);
    if (!plan_.notImported.empty())
        counts += GetLocalText(text::kImportNotImportedCount).arg(plan_.notImported.size());
    lblCounts_->setText(counts);
    ShowDetails();
    lblProblem_->clear();
    lblProblem_->setVisible(false);
    cmdImport_->setEnabled(!plan_.entries.empty() && !plan_.problem);
}

// Each renamed entry and skipped row, with its line.
void frmImportForeign::ShowDetails() {
    QStringList lines;
    for (const ardeko::PlannedEntry& e : plan_.entries) {
        if (e.givenName.empty()) continue;
        const QString renamed =
            GetLocalText(text::kImportRenamed).arg(FromStd(e.givenName), FromStd(e.record.service));
        lines << WithLine(e.line, renamed);
    }
    for (const ardeko::ForeignSkip& s : plan_.skipped)
        lines << GetLocalText(text::kImportSkippedLine).arg(s.line);
    for (const ardeko::ImportPlan::Dropped& d : plan_.notImported)
        lines << WithLine(d.line, GetLocalText(text::kImportNotImported)
                                      .arg(FromStd(d.title), DroppedValueText(d.value)));
    txtDetails_->setPlainText(lines.join(QLatin1Char('\n')));
    txtDetails_->setVisible(!lines.isEmpty());
}

void frmImportForeign::cmdImport_Click() {
    Steps steps(this, bytes_.size(), text::kImportImporting);
    if (auto err = ardeko::ApplyImport(store_, plan_)) {
        ShowMessage(FromStd(*err), vbExclamation);
        return;
    }
    imported_ = true;
    accept();
}

} // namespace qvs
