#include "mainwin/entry_grid_view.h"

#include "mainwin/entry_drag.h"
#include "mainwin/entry_grid_model.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

namespace qvs {

namespace {

constexpr int kRowPadding = 4;
constexpr int kIconSize = 16;

} // namespace

EntryGridView::EntryGridView(EntryGridModel* model, QWidget* parent)
    : QTableView(parent), model_(model) {
    setObjectName(QStringLiteral("grdpw"));
    setModel(model);
    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    setDragEnabled(true);
    setDragDropMode(DragOnly);
    setDefaultDropAction(Qt::MoveAction);
    setEditTriggers(NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    lineSpacing_ = fontMetrics().lineSpacing();
    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(std::max(fontMetrics().height(), kIconSize) + kRowPadding);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* columns = horizontalHeader();
    columns->setSectionsClickable(true);
    columns->setHighlightSections(false);
    columns->setContextMenuPolicy(Qt::CustomContextMenu);
    // The header keeps or moves heights through a refill or sort as it
    // sees fit; they are made right again afterwards.
    connect(model, &QAbstractItemModel::modelReset, this, &EntryGridView::FitRowHeights);
    connect(model, &QAbstractItemModel::layoutChanged, this, &EntryGridView::FitRowHeights);
}

void EntryGridView::SetTallNotes(bool on) {
    if (on == tallNotes_) return;
    tallNotes_ = on;
    FitRowHeights();
}

int EntryGridView::OneLineHeight() const {
    return verticalHeader()->defaultSectionSize();
}

void EntryGridView::FitRowHeights() {
    if (!tallNotes_ && !customHeights_) return;
    const int oneLine = OneLineHeight();
    for (int row = 0; row < model_->rowCount(); ++row) {
        const int lines = tallNotes_ ? model_->NoteLinesAt(row) : 1;
        const int wanted = oneLine + (lines - 1) * lineSpacing_;
        if (rowHeight(row) != wanted) setRowHeight(row, wanted);
    }
    customHeights_ = tallNotes_;
}

void EntryGridView::startDrag(Qt::DropActions) {
    ExecDrag(this, model_->mimeData(selectionModel()->selectedRows()), "DRAGPW");
}

void EntryGridView::keyPressEvent(QKeyEvent* event) {
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit enterPressed();
            return;
        case Qt::Key_F4:
            emit editKeyPressed();
            return;
        case Qt::Key_Delete:
            emit deleteKeyPressed();
            return;
        default:
            break;
        }
    }
    QTableView::keyPressEvent(event);
}

} // namespace qvs
