// The node that stands for a search's results while they are shown. It is
// kept out of the node table: CalcNumber must not overwrite its number, and
// the tree commands must not find it.
#include "mainwin/category_tree.h"

#include "mainwin/node_key.h"

#include <QScopedValueRollback>

namespace qvs {

QTreeWidgetItem* CategoryTree::SearchNode() const {
    QTreeWidgetItem* first = topLevelItem(0);
    return NodeKey(first) == QLatin1String(kSearchKey) ? first : nullptr;
}

void CategoryTree::ShowSearchNode(const QString& text, int results) {
    QTreeWidgetItem* node = SearchNode();
    const bool added = node == nullptr;
    if (added) {
        const QScopedValueRollback<bool> quiet(loading_, true);
        node = new QTreeWidgetItem(QStringList{text});
        node->setData(NameColumn, KeyRole, QLatin1String(kSearchKey));
        node->setIcon(NameColumn, Icon(QStringLiteral("SEARCH")));
        node->setData(NameColumn, ImageRole, QStringLiteral("SEARCH"));
        node->setTextAlignment(NumberColumn, Qt::AlignRight | Qt::AlignVCenter);
        insertTopLevelItem(0, node);
        setCurrentItem(node);
    }
    SetNumber(node, results);
    if (!added) return;
    scrollToItem(node);
    shownKey_ = QLatin1String(kSearchKey);
    emit favouriteCaptionChanged(FavouriteCaptionId());
}

void CategoryTree::RemoveSearchNode() {
    QTreeWidgetItem* node = SearchNode();
    if (!node) return;
    const QScopedValueRollback<bool> quiet(loading_, true);
    if (shownKey_ == QLatin1String(kSearchKey)) shownKey_.clear();
    delete node;
}

} // namespace qvs
