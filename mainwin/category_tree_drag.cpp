// Drag and drop on the category tree: folder drags start here, and drags of
// folders and grid rows end here on a node.
#include "mainwin/category_tree.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>

namespace qvs {

void CategoryTree::SetupDragAndDrop() {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    // A drop goes onto a node, never between two.
    setDragDropOverwriteMode(true);
    setDropIndicatorShown(true);
}

void CategoryTree::SetDropRules(DropTest accepts, DropRun run) {
    dropAccepts_ = std::move(accepts);
    dropRun_ = std::move(run);
}

bool CategoryTree::Accepts(const QString& key, const DragPayload& payload) const {
    return dropAccepts_ && dropRun_ && dropAccepts_(key, payload);
}

QStringList CategoryTree::mimeTypes() const {
    return {QLatin1String(kDragMimeType)};
}

QMimeData* CategoryTree::mimeData(const QList<QTreeWidgetItem*>& items) const {
    if (items.size() != 1) return nullptr;
    const QString key = NodeKey(items.front());
    return IsDraggableFolder(key) ? EncodeDrag({{}, key}) : nullptr;
}

Qt::DropActions CategoryTree::supportedDropActions() const {
    return Qt::MoveAction;
}

bool CategoryTree::dropMimeData(QTreeWidgetItem* parent, int, const QMimeData* data,
                                Qt::DropAction action) {
    const std::optional<DragPayload> payload = DecodeDrag(data);
    const QString key = NodeKey(parent);
    if (action != Qt::MoveAction || !payload || !Accepts(key, *payload)) return false;
    // The drop rebuilds the tree, which must not happen inside its own
    // drop event.
    QTimer::singleShot(0, this, [run = dropRun_, key, p = *payload] { run(key, p); });
    return true;
}

void CategoryTree::startDrag(Qt::DropActions) {
    QTreeWidgetItem* item = currentItem();
    if (!item) return;
    ExecDrag(this, mimeData({item}), "DRAGFOLD");
}

void CategoryTree::dragEnterEvent(QDragEnterEvent* event) {
    dragged_ = DecodeDrag(event->mimeData());
    if (!dragged_) {
        event->ignore();
        return;
    }
    QTreeWidget::dragEnterEvent(event);
    event->setDropAction(Qt::MoveAction);
    event->accept(); // the nodes decide as the drag moves over them
}

void CategoryTree::dragMoveEvent(QDragMoveEvent* event) {
    const bool taken = dragged_ && Accepts(KeyAt(event->position().toPoint()), *dragged_);
    // Only a node that takes the drop is outlined.
    setDropIndicatorShown(taken);
    QTreeWidget::dragMoveEvent(event); // scrolls and opens nodes as the drag goes
    event->setDropAction(Qt::MoveAction);
    event->setAccepted(taken);
}

void CategoryTree::dragLeaveEvent(QDragLeaveEvent* event) {
    dragged_.reset();
    QTreeWidget::dragLeaveEvent(event);
}

void CategoryTree::dropEvent(QDropEvent* event) {
    dragged_.reset();
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    const bool taken =
        target && dropMimeData(target, target->childCount(), event->mimeData(), Qt::MoveAction);
    event->setDropAction(Qt::MoveAction);
    event->setAccepted(taken);
    // Ends the drag state of the view, as the base drop does.
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
}

} // namespace qvs
