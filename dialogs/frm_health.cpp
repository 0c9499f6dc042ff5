#include "dialogs/frm_health.h"

#include "dialogs/entry/frm_pw.h"
#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/named_widget.h"
#include "frame/option_table.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "frame/text_ids.h"
#include "store/passwords/breached_list.h"
#include "store/pw.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace qvs {

namespace {

const QString kPlacementName = QStringLiteral("frmHealth");
// A progress window only for work that takes a while.
constexpr int kProgressDelayMs = 400;

QPushButton* MakeButton(const char* name, int textId, QWidget* parent) {
    return Named(new QPushButton(QString::number(textId), parent), name);
}

// Why a list cannot be used, in the user's language.
QString ListProblem(const ardeko::BreachedList& list, const QString& path) {
    const QString name = QDir::toNativeSeparators(path);
    switch (list.ErrNum()) {
    case ardeko::Code(ardeko::StoreError::NotHashList):
        return LocalTextWith(text::kHealthNotList, name);
    case ardeko::Code(ardeko::StoreError::ListNotSorted):
        return LocalTextWith(text::kHealthNotSorted, name);
    default:
        return LocalTextWith(text::kHealthListUnreadable, name);
    }
}

// Shows progress after a moment and lets the user stop the work.
class Progress {
public:
    explicit Progress(QWidget* parent)
        : dialog_(GetLocalText(text::kHealthProgress), GetLocalText(text::kCancel), 0, 100,
                  parent) {
        dialog_.setObjectName(QStringLiteral("dlgHealthProgress"));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(kProgressDelayMs);
        dialog_.setAutoReset(false);
        dialog_.setValue(0);
    }
    bool Step(std::size_t done, std::size_t total) {
        dialog_.setMaximum(static_cast<int>(std::max<std::size_t>(total, 1)));
        dialog_.setValue(static_cast<int>(done));
        return !dialog_.wasCanceled();
    }

private:
    QProgressDialog dialog_;
};

} // namespace

frmHealth::frmHealth(ardeko::clsPW& store, EntryEditor editor, QWidget* parent)
    : EntryListWindow(kPlacementName, parent), store_(store),
      editor_(editor ? std::move(editor) : EntryEditor(&PasswordEdit)), model_(this),
      lblSummary_(Named(new QLabel(this), "lblSummary")),
      lblList_(Named(new QLabel(this), "lblList")), grid_(Named(new QTableView(this), "grid")),
      cmdBreached_(MakeButton("cmdBreached", text::kHealthBreachedList, this)),
      cmdForgetList_(MakeButton("cmdForgetList", text::kHealthForgetList, this)),
      cmdEdit_(MakeButton("cmdEdit", text::kHealthEdit, this)),
      cmdClose_(MakeButton("cmdClose", text::kClose, this)) {
    setObjectName(QStringLiteral("frmHealth"));
    setWindowTitle(QString::number(text::kHealthCaption));
    lblSummary_->setWordWrap(true);
    lblList_->setWordWrap(true);
    grid_->setModel(&model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->setWordWrap(false);
    grid_->horizontalHeader()->setStretchLastSection(true);
    // Fixed rows: tens of thousands of lines lay out at once.
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdBreached_, QDialogButtonBox::ActionRole);
    buttons->addButton(cmdForgetList_, QDialogButtonBox::ActionRole);
    buttons->addButton(cmdEdit_, QDialogButtonBox::ActionRole);
    buttons->addButton(cmdClose_, QDialogButtonBox::RejectRole);
    cmdEdit_->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary_);
    layout->addWidget(lblList_);
    layout->addWidget(grid_, 1);
    layout->addWidget(buttons);
    resize(720, 420);

    connect(cmdEdit_, &QPushButton::clicked, this, &frmHealth::cmdEdit_Click);
    connect(cmdBreached_, &QPushButton::clicked, this, &frmHealth::cmdBreached_Click);
    connect(cmdForgetList_, &QPushButton::clicked, this, &frmHealth::ForgetBreachedList);
    connect(cmdClose_, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_, &QTableView::doubleClicked, this, &frmHealth::cmdEdit_Click);
    LocalizeForm(this);
    RestoreBreachedList();
    ShowListState();
}

frmHealth::~frmHealth() = default;

bool frmHealth::Analyse() {
    ardeko::HealthReport report;
    ardeko::HealthOptions options;
    options.breached = list_.get();
    std::optional<Progress> progress;
    // Only a list makes it long enough to watch: thousands of lookups on disk.
    if (list_) {
        progress.emplace(this);
        options.progress = [&](std::size_t done, std::size_t total) {
            return progress->Step(done, total);
        };
    }
    const ardeko::HealthResult result = ardeko::AnalysePasswords(store_, options, report);
    progress.reset();
    if (result == ardeko::HealthResult::ListUnreadable) {
        ShowMessage(ListProblem(*list_, listPath_), vbExclamation, QStringLiteral("QVS"));
        list_.reset();
        listPath_.clear();
        RememberList({});
        ShowListState();
        return false;
    }
    if (result == ardeko::HealthResult::Stopped) return false;
    model_.SetReport(std::move(report));
    lblSummary_->setText(HealthSummary(model_.Report()));
    grid_->resizeColumnsToContents();
    if (model_.rowCount() > 0) grid_->selectRow(0); // Return opens a line at once
    return true;
}

bool frmHealth::UseBreachedList(const QString& path) {
    auto list = std::make_unique<ardeko::BreachedList>();
    if (!list->Open(QFile::encodeName(path).toStdString())) {
        ShowMessage(ListProblem(*list, path), vbExclamation, QStringLiteral("QVS"));
        return false;
    }
    list_ = std::move(list);
    listPath_ = path;
    lostList_.clear();
    RememberList(path);
    ShowListState();
    return Analyse();
}

void frmHealth::ForgetBreachedList() {
    list_.reset();
    listPath_.clear();
    lostList_.clear();
    RememberList({});
    ShowListState();
    Analyse();
}

// The list chosen before, opened again without a word. One that cannot be
// opened any more (a file moved or deleted, a drive not there) is said once,
// in the window rather than in a message at every start, and forgotten.
void frmHealth::RestoreBreachedList() {
    const QString path = Opt().BreachedList;
    if (path.isEmpty()) return;
    auto list = std::make_unique<ardeko::BreachedList>();
    if (list->Open(QFile::encodeName(path).toStdString())) {
        list_ = std::move(list);
        listPath_ = path;
        return;
    }
    lostList_ = path;
    RememberList({});
}

void frmHealth::RememberList(const QString& path) {
    Opt().BreachedList = path;
    SaveOption(&Options::BreachedList);
}

void frmHealth::ShowListState() {
    if (!listPath_.isEmpty())
        lblList_->setText(LocalTextWith(text::kHealthList, QDir::toNativeSeparators(listPath_)));
    else if (!lostList_.isEmpty())
        lblList_->setText(
            LocalTextWith(text::kHealthLostList, QDir::toNativeSeparators(lostList_)));
    else
        lblList_->setText(GetLocalText(text::kHealthNoList));
    cmdForgetList_->setEnabled(!listPath_.isEmpty());
}

void frmHealth::ShowList() {
    ShowOnStack();
    grid_->setFocus();
}

void frmHealth::cmdBreached_Click() {
    const QString start = listPath_.isEmpty() ? QDir::homePath() : QFileInfo(listPath_).path();
    QFileDialog dialog(this, GetLocalText(text::kHealthChooseList), start);
    dialog.setObjectName(QStringLiteral("dlgBreachedList"));
    dialog.setOption(QFileDialog::DontUseNativeDialog); // the same on every desktop
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(
        {GetLocalText(text::kHealthListFilter), GetLocalText(text::kAllFilesFilter)});
    if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    UseBreachedList(dialog.selectedFiles().front());
}

void frmHealth::cmdEdit_Click() {
    const QModelIndexList rows = grid_->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        ShowMessage(GetLocalText(text::kHealthSelectFirst), vbExclamation, QStringLiteral("QVS"));
        return;
    }
    const int row = rows.front().row();
    // A changed password or date changes the report: once the edit is over,
    // show the file as it is then.
    OpenEntry(editor_, model_.ServiceAt(row), [this, row] {
        if (!Analyse()) return;
        if (model_.rowCount() > 0) grid_->selectRow(std::min(row, model_.rowCount() - 1));
    });
}

frmHealth* ShowPasswordHealth() {
    auto* window = new frmHealth(Store());
    window->setAttribute(Qt::WA_DeleteOnClose); // it owns itself once shown
    window->Analyse();
    window->ShowList();
    return window;
}

} // namespace qvs
