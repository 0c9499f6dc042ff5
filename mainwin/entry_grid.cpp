#include "mainwin/entry_grid.h"

#include "frame/options.h"
#include "frame/program_state.h"
#include "mainwin/entry_grid_view.h"
#include "mainwin/node_key.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace qvs {

namespace {

constexpr int kFirstDefaultAction = 1;
constexpr int kLastDefaultAction = 5;

bool IsEntryColumn(int column) {
    return column >= GridColumn::Service && column < GridColumn::Count;
}

} // namespace

EntryGrid::EntryGrid(QWidget* parent)
    : EntryGrid([]() -> const ardeko::clsPW& { return Store(); }, parent) {}

EntryGrid::EntryGrid(EntryGridModel::StoreAccess store, QWidget* parent)
    : QWidget(parent), model_(new EntryGridModel(std::move(store), this)),
      vbuSplitter2_(new QSplitter(Qt::Vertical, this)),
      grdpw_(new EntryGridView(model_, vbuSplitter2_)),
      txtNotes_(new QPlainTextEdit(vbuSplitter2_)) {
    vbuSplitter2_->setObjectName(QStringLiteral("vbuSplitter2"));
    vbuSplitter2_->setChildrenCollapsible(true);
    vbuSplitter2_->setStretchFactor(0, 1);
    txtNotes_->setObjectName(QStringLiteral("txtNotes"));
    txtNotes_->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(vbuSplitter2_);
    BuildColumns();
    Connect();
}

void EntryGrid::BuildColumns() {
    const QHeaderView* header = grdpw_->horizontalHeader();
    for (int c = 0; c < GridColumn::Count; ++c) {
        // Wide enough for the caption, which is longer in some languages.
        const int width =
            std::max(kGridColumns[static_cast<std::size_t>(c)].width, header->sectionSizeHint(c));
        hiddenWidths_[static_cast<std::size_t>(c)] = width;
        if (IsGroupColumn(c))
            grdpw_->setColumnHidden(c, true);
        else
            grdpw_->setColumnWidth(c, width);
    }
}

void EntryGrid::Connect() {
    connect(grdpw_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &EntryGrid::OnSelectionChanged);
    connect(grdpw_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &EntryGrid::OnSelectionChanged);
    connect(grdpw_, &QAbstractItemView::doubleClicked, this, &EntryGrid::RunDefaultAction);
    connect(grdpw_, &EntryGridView::enterPressed, this, &EntryGrid::RunDefaultAction);
    connect(grdpw_, &EntryGridView::editKeyPressed, this,
            [this] { emit editRequested(SelectedService()); });
    connect(grdpw_, &EntryGridView::deleteKeyPressed, this, &EntryGrid::OnDeleteKey);
    connect(grdpw_, &QWidget::customContextMenuRequested, this, &EntryGrid::RowContextMenu);
    QHeaderView* header = grdpw_->horizontalHeader();
    connect(header, &QHeaderView::sectionClicked, this, &EntryGrid::OnHeaderClicked);
    connect(header, &QWidget::customContextMenuRequested, this, [this, header](const QPoint& pos) {
        emit headerContextMenuRequested(header->logicalIndexAt(pos), header->mapToGlobal(pos));
    });
}

void EntryGrid::ShowNode(const QString& key) {
    Refill([&] { model_->ShowNode(key); });
}

void EntryGrid::ShowEntries(const QString& key, const std::vector<std::size_t>& positions) {
    Refill([&] { model_->ShowPositions(key, positions); });
}

void EntryGrid::NarrowEntries(const std::vector<std::size_t>& positions) {
    Refill([&] { model_->KeepPositions(positions); });
}

void EntryGrid::Refill(const std::function<void()>& fill) {
    UpdateTallNotes();
    fill();
    // The notes may have been edited, or their entry deleted (or the file
    // closed): the box never shows notes the store no longer holds.
    ShowNotesOf(notesService_);
    OnSelectionChanged();
}

QString EntryGrid::ShownNode() const {
    return model_->ShownNode();
}

void EntryGrid::Clear() {
    model_->Clear();
    ShowNotesOf({});
    OnSelectionChanged();
}

// With several rows selected, the commands on one entry take the row that
// has the focus.
QString EntryGrid::SelectedService() const {
    const QItemSelectionModel* selection = grdpw_->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row()))
        return model_->ServiceAt(current.row());
    const QModelIndexList rows = selection->selectedRows();
    return rows.isEmpty() ? QString() : model_->ServiceAt(rows.front().row());
}

bool EntryGrid::SelectService(const QString& service) {
    const int row = model_->RowOfService(service);
    if (row < 0) return false;
    grdpw_->selectRow(row);
    grdpw_->scrollTo(model_->index(row, GridColumn::Service));
    return true;
}

void EntryGrid::ResizeGrid() {
    const QModelIndex current = grdpw_->currentIndex();
    if (current.isValid()) grdpw_->scrollTo(current);
}

void EntryGrid::SortGrid(int column, Qt::SortOrder order) {
    if (!IsEntryColumn(column)) return;
    model_->sort(column, order);
    QHeaderView* header = grdpw_->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, order);
    ResizeGrid();
    emit sortChanged(column, order);
}

bool EntryGrid::ColumnVisible(int column) const {
    return IsEntryColumn(column) && !grdpw_->isColumnHidden(column);
}

void EntryGrid::SetColumnVisible(int column, bool visible) {
    if (!IsEntryColumn(column) || visible == ColumnVisible(column)) return;
    const std::size_t at = static_cast<std::size_t>(column);
    if (!visible) hiddenWidths_[at] = grdpw_->columnWidth(column);
    grdpw_->setColumnHidden(column, !visible);
    if (visible) grdpw_->setColumnWidth(column, hiddenWidths_[at]);
    if (column == GridColumn::Notes) UpdateTallNotes();
}

int EntryGrid::ColumnWidth(int column) const {
    if (!IsEntryColumn(column)) return 0;
    if (!ColumnVisible(column)) return hiddenWidths_[static_cast<std::size_t>(column)];
    return grdpw_->columnWidth(column);
}

void EntryGrid::SetColumnWidth(int column, int width) {
    // A zero width would hide a column that counts as shown.
    if (!IsEntryColumn(column) || width <= 0) return;
    if (ColumnVisible(column))
        grdpw_->setColumnWidth(column, width);
    else
        hiddenWidths_[static_cast<std::size_t>(column)] = width;
}

void EntryGrid::OnSelectionChanged() {
    const QString service = SelectedService();
    if (!service.isEmpty()) ShowNotesOf(service);
    if (service == selectedService_) return;
    selectedService_ = service;
    emit selectedServiceChanged(service);
}

void EntryGrid::OnHeaderClicked(int column) {
    const bool flip = column == SortColumn() && SortOrder() == Qt::AscendingOrder;
    SortGrid(column, flip ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void EntryGrid::OnDeleteKey() {
    const QString service = SelectedService();
    if (service.isEmpty()) return;
    switch (NodeKindOf(ShownNode())) {
    case NodeKind::Favourites:
        emit favouriteRemoveRequested(service);
        return;
    case NodeKind::DueState:
        return;
    default:
        emit deleteRequested(service);
    }
}

void EntryGrid::RunDefaultAction() {
    const int action = Opt().DefaultGridAction;
    if (action < kFirstDefaultAction || action > kLastDefaultAction) return;
    emit defaultActionRequested(action, SelectedService());
}

void EntryGrid::RowContextMenu(const QPoint& pos) {
    const QModelIndex index = grdpw_->indexAt(pos);
    if (!index.isValid()) return;
    grdpw_->selectRow(index.row());
    emit rowContextMenuRequested(SelectedService(), grdpw_->viewport()->mapToGlobal(pos));
}

void EntryGrid::ShowNotesOf(const QString& service) {
    const ardeko::T_Password* p = service.isEmpty() ? nullptr : model_->EntryOf(service);
    notesService_ = p ? service : QString();
    const QString text = p ? QString::fromStdString(p->Descr) : QString();
    if (txtNotes_->toPlainText() != text) txtNotes_->setPlainText(text);
}

void EntryGrid::UpdateTallNotes() {
    grdpw_->SetTallNotes(Opt().ShowNotes && ColumnVisible(GridColumn::Notes));
}

} // namespace qvs
