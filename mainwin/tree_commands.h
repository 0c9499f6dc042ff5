// The category tree pop-up's commands on the node with this key: add a
// category (or a subcategory of a category), rename, delete and move. Each
// asks what it needs, runs the store operation, shows a refusal, and after a
// change has the current main window rebuild its view. True when the store
// changed.
#pragma once

#include <QString>

namespace qvs {

bool TreeAddNode(const QString& key);
bool TreeRenameNode(const QString& key);
bool TreeDeleteNode(const QString& key);
// A category becomes a subcategory of the chosen category; a subcategory
// moves with its entries to the chosen category.
bool TreeMoveNode(const QString& key);
// A subcategory is dropped and its entries go to the chosen category.
bool TreeMoveSubCategoryEntries(const QString& key);

} // namespace qvs
