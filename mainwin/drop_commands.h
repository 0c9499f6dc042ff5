// What a drop onto a node of the category tree does. Entries dropped onto
// the favourites become favourites, onto any other node they are filed
// there; a folder dropped onto the favourites makes all its entries
// favourites; a category dropped onto another becomes its subcategory; a
// subcategory dropped onto the root becomes a category, onto another
// category it moves there with its entries. The state folders take nothing.
#pragma once

#include "mainwin/entry_drag.h"

#include <QString>

namespace qvs {

class CategoryTree;

enum class DropEffect {
    None,
    FavouriteEntries,
    FavouriteFolder,
    FileEntries,
    CategoryIntoCategory,
    SubCategoryToRoot,
    SubCategoryToCategory,
};

// What dropping payload onto the node with this key would do; None where
// the node takes nothing (the drag shows "NODRAG" there).
DropEffect DropEffectOf(const QString& targetKey, const DragPayload& payload);

// Runs the drop: the store operations, a message when the drop is refused
// (a category with subcategories of its own, a name in use) or a store
// operation fails, and the main window rebuilt after a change. When the
// store changed, the node to show now: the folder where a moved folder
// landed, else shownKey (the node shown before; entries moved out of it
// leave it in place). "" when nothing changed.
QString DropOnNode(const QString& targetKey, const DragPayload& payload, const QString& shownKey);

// Lets tree take drags of this run and run the drops above, showing the
// node DropOnNode names.
void ConnectDrops(CategoryTree& tree);

} // namespace qvs
