#include "mainwin/entry_grid_model.h"

#include "frame/image_list.h"
#include "frame/language.h"
#include "frame/options.h"
#include "mainwin/entry_drag.h"
#include "mainwin/entry_grid_cells.h"
#include "mainwin/node_entries.h"
#include "store/pw.h"

#include <QBrush>
#include <QIcon>
#include <QTextDocument>

#include <algorithm>
#include <numeric>

namespace qvs {

using ardeko::clsPW;
using ardeko::T_Password;

namespace {

const GridColumnInfo& Info(int column) {
    return kGridColumns[static_cast<std::size_t>(column)];
}

CellContext ContextFor(const clsPW& store) {
    return {store, store.Today(), Opt().SecurityLevel != 0, Opt().ShowNotes};
}

// Tool tips take text that looks like mark-up as HTML: notes are shown as
// the text they are (an "<img src=...>" in a hostile file loads nothing).
QVariant NotesTip(const T_Password& p) {
    if (p.Descr.empty()) return {};
    return Qt::convertFromPlainText(NotesText(p.Descr, true), Qt::WhiteSpaceNormal);
}

} // namespace

EntryGridModel::EntryGridModel(StoreAccess store, QObject* parent)
    : QAbstractTableModel(parent), store_(std::move(store)) {
    for (const char* key : {"ALERT", "WARNING", "PDELETE", "PEDIT"})
        icons_.insert(QString::fromLatin1(key), KeyIcon(QString::fromLatin1(key)));
}

void EntryGridModel::ShowNode(const QString& key) {
    const ardeko::PasswordCollection& entries = store_().Password();
    const EntryPredicate listed = NodeEntries(key, store_());
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < entries.Count(); ++i)
        if (listed(entries[i])) positions.push_back(i);
    ShowPositions(key, positions);
}

void EntryGridModel::ShowPositions(const QString& key, const std::vector<std::size_t>& positions) {
    beginResetModel();
    node_ = key;
    rows_.clear();
    rows_.reserve(positions.size());
    const ardeko::PasswordCollection& entries = store_().Password();
    for (std::size_t i : positions)
        if (i < entries.Count())
            rows_.push_back({entries.KeyAt(i), NoteLineCount(entries[i].Descr),
                             static_cast<int>(rows_.size()), i});
    ApplySort();
    endResetModel();
}

void EntryGridModel::KeepPositions(const std::vector<std::size_t>& positions) {
    beginResetModel();
    std::erase_if(rows_, [&positions](const Row& r) {
        return !std::binary_search(positions.begin(), positions.end(), r.position);
    });
    endResetModel();
}

void EntryGridModel::Clear() {
    beginResetModel();
    node_.clear();
    rows_.clear();
    endResetModel();
}

QString EntryGridModel::ServiceAt(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return QString::fromStdString(rows_[static_cast<std::size_t>(row)].key);
}

int EntryGridModel::RowOfService(const QString& service) const {
    const T_Password* wanted = EntryOf(service);
    if (!wanted) return -1;
    // Rows hold the collection's keys, which are the service names.
    const auto it = std::find_if(rows_.begin(), rows_.end(),
                                 [wanted](const Row& r) { return r.key == wanted->service; });
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

const T_Password* EntryGridModel::EntryOf(const QString& service) const {
    return store_().Password().Find(service.toStdString());
}

const T_Password* EntryGridModel::EntryAt(int row) const {
    if (row < 0 || row >= rowCount()) return nullptr;
    return store_().Password().Find(rows_[static_cast<std::size_t>(row)].key);
}

int EntryGridModel::NoteLinesAt(int row) const {
    if (row < 0 || row >= rowCount()) return 1;
    return rows_[static_cast<std::size_t>(row)].noteLines;
}

void EntryGridModel::sort(int column, Qt::SortOrder order) {
    if (column < GridColumn::Service || column >= GridColumn::Count) return;
    sortColumn_ = column;
    sortOrder_ = order;
    emit layoutAboutToBeChanged({}, VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    const std::vector<int> newRowOf = ApplySort();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after << index(newRowOf[static_cast<std::size_t>(i.row())], i.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, VerticalSortHint);
}

std::vector<std::size_t> EntryGridModel::SortedOrder() const {
    const clsPW& store = store_();
    const CellContext ctx = ContextFor(store);
    std::vector<GridSortKey> keys(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (const T_Password* p = store.Password().Find(rows_[i].key))
            keys[i] = SortKeyOf(*p, sortColumn_, ctx);
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const bool descending = sortOrder_ == Qt::DescendingOrder;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const GridSortKey& first = descending ? keys[b] : keys[a];
        const GridSortKey& second = descending ? keys[a] : keys[b];
        if (first < second) return true;
        if (second < first) return false;
        return rows_[a].storeOrder < rows_[b].storeOrder;
    });
    return order;
}

std::vector<int> EntryGridModel::ApplySort() {
    std::vector<int> newRowOf(rows_.size());
    std::iota(newRowOf.begin(), newRowOf.end(), 0);
    if (sortColumn_ < 0) return newRowOf;
    const std::vector<std::size_t> order = SortedOrder();
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (std::size_t at = 0; at < order.size(); ++at) {
        newRowOf[order[at]] = static_cast<int>(at);
        sorted.push_back(std::move(rows_[order[at]]));
    }
    rows_ = std::move(sorted);
    return newRowOf;
}

int EntryGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int EntryGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : GridColumn::Count;
}

QVariant EntryGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    switch (role) {
    case ServiceRole:
        return ServiceAt(index.row());
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
    case Qt::ForegroundRole:
    case Qt::BackgroundRole:
    case Qt::DecorationRole:
        break;
    default:
        return {};
    }
    const T_Password* p = EntryAt(index.row());
    if (!p) return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    return CellData(*p, index.column(), role);
}

QVariant EntryGridModel::CellData(const T_Password& p, int column, int role) const {
    const CellContext ctx = ContextFor(store_());
    switch (role) {
    case Qt::DisplayRole:
        return CellText(p, column, ctx);
    case Qt::ToolTipRole:
        return column == GridColumn::Notes ? NotesTip(p) : QVariant();
    case Qt::ForegroundRole: {
        const std::optional<QColor> colour = CellColour(column);
        return colour ? QVariant(QBrush(*colour)) : QVariant();
    }
    case Qt::BackgroundRole: {
        const std::optional<QColor> tint = RowTint(p, ctx.today);
        return tint ? QVariant(QBrush(*tint)) : QVariant();
    }
    default: {
        const QString key = CellIconKey(p, column, ctx.today);
        return key.isEmpty() ? QVariant() : QVariant(Icon(key));
    }
    }
}

QVariant EntryGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= GridColumn::Count) return {};
    const GridColumnInfo& info = Info(section);
    switch (role) {
    case Qt::DisplayRole:
        return info.textId ? GetLocalText(info.textId) : QString();
    case TextIdRole:
        return info.textId ? QVariant(info.textId) : QVariant();
    case Qt::DecorationRole:
        return info.image ? QVariant(Icon(QString::fromLatin1(info.image))) : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags EntryGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList EntryGridModel::mimeTypes() const {
    return {QLatin1String(kDragMimeType)};
}

QMimeData* EntryGridModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(indexes.size()));
    for (const QModelIndex& i : indexes)
        if (i.isValid() && i.row() < rowCount()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    DragPayload payload;
    payload.services.reserve(static_cast<qsizetype>(rows.size()));
    for (int row : rows)
        payload.services << ServiceAt(row);
    return payload.services.isEmpty() ? nullptr : EncodeDrag(payload);
}

Qt::DropActions EntryGridModel::supportedDragActions() const {
    return Qt::MoveAction;
}

} // namespace qvs
