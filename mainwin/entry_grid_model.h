// The rows of the entry grid: the entries of one tree node, held as their
// keys in the store's Password collection. Nothing is copied out of the
// store; every cell is computed from the entry when the view asks, so a
// refill costs one pass over the store and a row whose entry has gone (the
// store changed and the grid was not yet refilled) shows empty cells.
#pragma once

#include "mainwin/entry_grid_columns.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace ardeko {
class clsPW;
struct T_Password;
} // namespace ardeko

namespace qvs {

class EntryGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The store is reached through this each time, as the program may
    // replace its store while the grid lives.
    using StoreAccess = std::function<const ardeko::clsPW&()>;

    // The row's service name, for any column.
    static constexpr int ServiceRole = Qt::UserRole + 1;

    explicit EntryGridModel(StoreAccess store, QObject* parent = nullptr);

    // Lists the entries of the node with this key in store order, then
    // applies the current sort.
    void ShowNode(const QString& key);
    // Lists the entries at these positions of the store's Password
    // collection (in store order; positions out of range are skipped) under
    // the node key given, then applies the current sort.
    void ShowPositions(const QString& key, const std::vector<std::size_t>& positions);
    // Keeps, in their present order, only the rows listed from these
    // positions (ascending). For a list that only narrows while the store is
    // unchanged since the fill: no entry is looked up and nothing re-sorted.
    void KeepPositions(const std::vector<std::size_t>& positions);
    const QString& ShownNode() const { return node_; }
    void Clear();

    // "" for a row out of range.
    QString ServiceAt(int row) const;
    // -1 when no row lists that service (letter case ignored).
    int RowOfService(const QString& service) const;
    // nullptr for a row out of range or whose entry is gone. Valid until the
    // store changes.
    const ardeko::T_Password* EntryAt(int row) const;
    // The store's entry of this service; nullptr when it has none.
    const ardeko::T_Password* EntryOf(const QString& service) const;
    // Lines of the row's notes as they were when the grid was filled; 1 for
    // a row out of range.
    int NoteLinesAt(int row) const;

    // -1 while the rows are in store order.
    int SortColumn() const { return sortColumn_; }
    Qt::SortOrder SortOrder() const { return sortOrder_; }
    // Rows with equal keys stay in store order, whatever the order before;
    // the grouping columns do not sort.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Dragged rows carry their services (entry_drag.h).
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

private:
    QVariant CellData(const ardeko::T_Password& p, int column, int role) const;
    // Row order for the current sort, as indexes into rows_.
    std::vector<std::size_t> SortedOrder() const;
    // Puts the rows in the order of the current sort; the new row of each
    // old row.
    std::vector<int> ApplySort();

    QIcon Icon(const QString& key) const { return icons_.value(key); }

    StoreAccess store_;
    // Loaded once: the view asks for them at every paint.
    QHash<QString, QIcon> icons_;
    QString node_;
    struct Row {
        std::string key;      // the entry's key in the Password collection
        int noteLines;        // counted at the fill, for cheap row heights
        int storeOrder;       // position at the fill; sorting keeps it among equals
        std::size_t position; // in the store's collection at the fill
    };
    std::vector<Row> rows_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

} // namespace qvs
