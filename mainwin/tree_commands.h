// The category tree pop-up's commands on a node (its key read once): add a
// category (or a subcategory of a category), rename, delete and move. Each
// asks what it needs, runs the store operation, shows a refusal, and after a
// change has the current main window rebuild its view. True when the store
// changed.
#pragma once

#include "mainwin/node_key.h"

namespace qvs {

bool TreeAddNode(const NodeRef& node);
bool TreeRenameNode(const NodeRef& node);
bool TreeDeleteNode(const NodeRef& node);
// A category becomes a subcategory of the chosen category; a subcategory
// moves with its entries to the chosen category.
bool TreeMoveNode(const NodeRef& node);
// A subcategory is dropped and its entries go to the chosen category.
bool TreeMoveSubCategoryEntries(const NodeRef& node);

} // namespace qvs
