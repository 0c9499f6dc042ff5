// The right pane of the main window: the entry grid (grdpw) listing the
// entries of one tree node, and below it the notes box (txtNotes) showing the
// notes of the selected row, divided by the splitter vbuSplitter2.
//
// The main window hosts it, fills it with ShowNode, saves and restores its
// columns and sort, and runs the commands it asks for through its signals.
// Every signal carries the selected service, "" when no row is selected.
#pragma once

#include "mainwin/entry_grid_model.h"

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QPlainTextEdit;
class QSplitter;

namespace qvs {

class EntryGridView;

class EntryGrid : public QWidget {
    Q_OBJECT
public:
    // Shows the program's store.
    explicit EntryGrid(QWidget* parent = nullptr);
    EntryGrid(EntryGridModel::StoreAccess store, QWidget* parent = nullptr);

    // Lists the entries of the node with this key (tree key grammar), in the
    // current sort. Call it again after every change to the store.
    void ShowNode(const QString& key);
    // Lists the entries at these store positions (search results) under the
    // node key given; see EntryGridModel::ShowPositions.
    void ShowEntries(const QString& key, const std::vector<std::size_t>& positions);
    // Narrows the entries listed to these; see EntryGridModel::KeepPositions.
    void NarrowEntries(const std::vector<std::size_t>& positions);
    QString ShownNode() const;
    // Empties the grid (no file open).
    void Clear();

    QString SelectedService() const;
    // Selects the row of this service and scrolls it into view; false when
    // no row lists it.
    bool SelectService(const QString& service);
    // Keeps the selected row in view after a size change.
    void ResizeGrid();

    // Sorting by a column index of GridColumn. The grouping columns do not
    // sort. Unsorted rows are in store order (service name).
    void SortGrid(int column, Qt::SortOrder order);
    bool IsSorted() const { return SortColumn() >= 0; }
    int SortColumn() const { return model_->SortColumn(); }
    Qt::SortOrder SortOrder() const { return model_->SortOrder(); }

    // Columns by GridColumn index (the layout settings number them from 1:
    // ColVis4 is column 3, "Service"). The grouping columns are never shown.
    bool ColumnVisible(int column) const;
    void SetColumnVisible(int column, bool visible);
    // A hidden column keeps its width for when it is shown again.
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    EntryGridModel* model() const { return model_; }
    EntryGridView* grdpw() const { return grdpw_; }
    QPlainTextEdit* txtNotes() const { return txtNotes_; }
    QSplitter* vbuSplitter2() const { return vbuSplitter2_; }

signals:
    // Double-click or Enter: the action number of "DefaultGridAction"
    // (1 edit, 2 copy password, 3 copy login, 4 copy address, 5 open
    // address). Other numbers do nothing and are not reported.
    void defaultActionRequested(int action, const QString& service);
    // F4.
    void editRequested(const QString& service);
    // Delete on a selected row: removal from the favourites while they are
    // shown, nothing in a state folder, else deleting the entry (to be
    // confirmed by the receiver).
    void favouriteRemoveRequested(const QString& service);
    void deleteRequested(const QString& service);
    void selectedServiceChanged(const QString& service);
    // After every sort, from a header click or from SortGrid.
    void sortChanged(int column, Qt::SortOrder order);
    // Right button: on a row (now selected), on a column header.
    void rowContextMenuRequested(const QString& service, const QPoint& globalPos);
    void headerContextMenuRequested(int column, const QPoint& globalPos);

private:
    void BuildColumns();
    void Connect();
    void OnSelectionChanged();
    void OnHeaderClicked(int column);
    void OnDeleteKey();
    void RunDefaultAction();
    void RowContextMenu(const QPoint& pos);
    void ShowNotesOf(const QString& service);
    void UpdateTallNotes();
    void Refill(const std::function<void()>& fill);

    EntryGridModel* model_;
    QSplitter* vbuSplitter2_;
    EntryGridView* grdpw_;
    QPlainTextEdit* txtNotes_;
    QString notesService_;    // the entry whose notes txtNotes shows
    QString selectedService_; // as last reported
    std::array<int, GridColumn::Count> hiddenWidths_{};
};

} // namespace qvs
