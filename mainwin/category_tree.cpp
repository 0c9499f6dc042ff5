#include "mainwin/category_tree.h"

#include "frame/image_list.h"
#include "frame/program_state.h"
#include "mainwin/node_key.h"
#include "mainwin/text_ids.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace qvs {

CategoryTree::CategoryTree(QWidget* parent)
    : CategoryTree([]() -> ardeko::clsPW& { return Store(); }, parent) {}

CategoryTree::CategoryTree(StoreSource store, QWidget* parent)
    : QTreeWidget(parent), store_(std::move(store)) {
    setObjectName(QStringLiteral("tvtreeview"));
    setColumnCount(2);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    // Our own pop-up is asked for by signal; keep Qt's (and the parent's) out.
    setContextMenuPolicy(Qt::PreventContextMenu);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    header()->setSectionResizeMode(NumberColumn, QHeaderView::ResizeToContents);
    SetupDragAndDrop();

    connect(this, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { OnExpandedChanged(item, true); });
    connect(this, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { OnExpandedChanged(item, false); });
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { OnNodeSelected(current); });
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { OnNodeSelected(item); });
}

CategoryTree::~CategoryTree() {
    // The base classes tear the items down after our members are gone.
    disconnect(this, nullptr, this, nullptr);
}

QTreeWidgetItem* CategoryTree::FindNode(const QString& key) const {
    return nodes_.value(key, nullptr);
}

QString CategoryTree::NodeKey(const QTreeWidgetItem* item) {
    return item ? item->data(NameColumn, KeyRole).toString() : QString();
}

QString CategoryTree::KeyAt(const QPoint& viewportPos) const {
    return NodeKey(itemAt(viewportPos));
}

QString CategoryTree::SelectedKey() const {
    return NodeKey(currentItem());
}

int CategoryTree::Number(const QString& key) const {
    const QTreeWidgetItem* item = FindNode(key);
    return item ? item->data(NameColumn, NumberRole).toInt() : -1;
}

bool CategoryTree::SelectNode(const QString& key) {
    QTreeWidgetItem* item = FindNode(key);
    if (!item) return false;
    setCurrentItem(item);
    // Already the current item: no change signal, so report it here.
    OnNodeSelected(item);
    return true;
}

int CategoryTree::FavouriteCaptionId() const {
    return shownKey_ == QLatin1String(kFavouritesKey) ? text::kRemoveFavourite
                                                      : text::kAddFavourite;
}

void CategoryTree::OnNodeSelected(QTreeWidgetItem* item) {
    if (loading_ || !item) return;
    const QString key = NodeKey(item);
    if (key == shownKey_) return;
    shownKey_ = key;
    emit nodeActivated(key);
    emit favouriteCaptionChanged(FavouriteCaptionId());
}

void CategoryTree::OnExpandedChanged(QTreeWidgetItem* item, bool expanded) {
    ShowImage(item, expanded);
    // Rebuilding restores the remembered state; only the user changes it.
    if (loading_) return;
    store_().ChangeNodeStatus(item->text(NameColumn).toStdString(), expanded);
}

void CategoryTree::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QTreeWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    const QPoint pos = event->position().toPoint();
    RequestMenu(itemAt(pos), pos);
}

void CategoryTree::keyPressEvent(QKeyEvent* event) {
    QTreeWidgetItem* item = currentItem();
    if (event->key() != Qt::Key_Menu || !item) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    RequestMenu(item, visualItemRect(item).center());
}

void CategoryTree::RequestMenu(QTreeWidgetItem* item, const QPoint& viewportPos) {
    if (!item) return;
    setCurrentItem(item);
    OnNodeSelected(item);
    emit contextMenuRequested(NodeKey(item), viewport()->mapToGlobal(viewportPos));
}

void CategoryTree::ShowImage(QTreeWidgetItem* item, bool open) {
    const QString image = item->data(NameColumn, open ? OpenImageRole : ClosedImageRole).toString();
    item->setData(NameColumn, ImageRole, image);
    item->setIcon(NameColumn, Icon(image));
}

const QIcon& CategoryTree::Icon(const QString& imageKey) {
    auto it = icons_.find(imageKey);
    if (it == icons_.end()) it = icons_.insert(imageKey, KeyIcon(imageKey));
    return *it;
}

} // namespace qvs
