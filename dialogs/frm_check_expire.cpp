#include "dialogs/frm_check_expire.h"

#include "dialogs/expiry_lines.h"
#include "dialogs/text_ids.h"
#include "frame/help.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/program_state.h"
#include "frame/text_ids.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace qvs {

namespace {

const QString kPlacementName = QStringLiteral("frmCheckExpire");
constexpr int kHelpTopic = 27;

enum Column { Service, ExpDate, ChangeDate, Status, ColumnCount };

struct ColumnDesign {
    int headerText;
    int width;
};
constexpr ColumnDesign kColumns[ColumnCount] = {{5008, 150}, {5009, 100}, {5010, 100}, {5011, 160}};

EntryEditor& Editor() {
    static EntryEditor editor;
    return editor;
}

QStandardItem* Cell(const QString& text) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    return item;
}

QList<QStandardItem*> Row(const ExpiryLine& line) {
    QList<QStandardItem*> row{Cell(line.service), Cell(line.expDate), Cell(line.changeDate),
                              Cell(line.status)};
    // Black on the grid's own colour for the state, readable on red and yellow alike.
    row[Status]->setBackground(DateLevelColour(line.level));
    row[Status]->setForeground(QColor(Qt::black));
    return row;
}

QPushButton* MakeButton(const char* name, int textId, QWidget* parent) {
    auto* button = new QPushButton(QString::number(textId), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

frmCheckExpire::frmCheckExpire(ardeko::clsPW& store, QWidget* parent)
    : EntryListWindow(kPlacementName, parent), store_(store), grid_(new QTableView(this)),
      cmdEdit_(MakeButton("cmdEdit", text::kExpiryEdit, this)),
      cmdcancel_(MakeButton("cmdcancel", text::kCancel, this)) {
    setObjectName(QStringLiteral("frmCheckExpire"));
    setWindowTitle(QString::number(text::kExpiryCaption));
    model_.setColumnCount(ColumnCount);
    for (int c = 0; c < ColumnCount; ++c)
        model_.setHeaderData(c, Qt::Horizontal, kColumns[c].headerText, TextIdRole);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setModel(&model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->setWordWrap(false);
    grid_->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdEdit_, QDialogButtonBox::ActionRole);
    buttons->addButton(cmdcancel_, QDialogButtonBox::RejectRole);
    cmdEdit_->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addWidget(buttons);
    resize(600, 300);

    connect(cmdEdit_, &QPushButton::clicked, this, &frmCheckExpire::cmdEdit_Click);
    connect(cmdcancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_, &QTableView::doubleClicked, this, &frmCheckExpire::cmdEdit_Click);
    SetHelpTopic(this, kHelpTopic);
    LocalizeForm(this);
    // The designed widths, or more where a header needs it.
    for (int c = 0; c < ColumnCount; ++c)
        grid_->setColumnWidth(
            c, std::max(kColumns[c].width, grid_->horizontalHeader()->sectionSizeHint(c)));
}

int frmCheckExpire::Fill() {
    model_.removeRows(0, model_.rowCount());
    for (const ExpiryLine& line : ExpiryLines(store_))
        model_.appendRow(Row(line));
    // Status texts are longer in some languages: never cut them.
    grid_->resizeColumnToContents(Status);
    grid_->setColumnWidth(Status, std::max(grid_->columnWidth(Status), kColumns[Status].width));
    return model_.rowCount();
}

void frmCheckExpire::ShowList() {
    FitColumns();
    ShowOnStack();
    if (model_.rowCount() > 0) grid_->selectRow(0);
    grid_->setFocus();
}

// Wide enough to show every column without scrolling sideways.
void frmCheckExpire::FitColumns() {
    const QMargins margins = layout()->contentsMargins();
    const int needed = grid_->horizontalHeader()->length() + 2 * grid_->frameWidth() +
                       grid_->verticalScrollBar()->sizeHint().width() + margins.left() +
                       margins.right();
    resize(std::max(width(), needed), height());
}

void frmCheckExpire::cmdEdit_Click() {
    const QModelIndexList rows = grid_->selectionModel()->selectedRows(Service);
    if (rows.isEmpty()) {
        ShowMessage(GetLocalText(text::kExpirySelectFirst), vbExclamation, QStringLiteral("QVS"));
        return;
    }
    const int row = rows.front().row();
    // The edit may move a date or rename the entry: once it is over, show
    // what is due then.
    OpenEntry(Editor(), rows.front().data().toString(), [this, row] { Refill(row); });
}

void frmCheckExpire::Refill(int row) {
    Fill();
    if (model_.rowCount() > 0) grid_->selectRow(std::min(row, model_.rowCount() - 1));
}

void SetExpiryEntryEditor(EntryEditor editor) {
    Editor() = std::move(editor);
}

frmCheckExpire* View_Expires(bool showEmptyMessage) {
    auto window = std::make_unique<frmCheckExpire>(Store());
    if (window->Fill() == 0) {
        if (showEmptyMessage) ShowMessage(GetLocalText(text::kNothingDue), vbOKOnly, QString());
        return nullptr;
    }
    window->setAttribute(Qt::WA_DeleteOnClose); // once shown, it owns itself
    window->ShowList();
    return window.release();
}

} // namespace qvs
