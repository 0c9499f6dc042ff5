// The commands on one entry that the menus, pop-ups, toolbar and keys share.
// Each refreshes the current main window after a change.
#pragma once

#include "mainwin/node_key.h"
#include "store/pw.h"

#include <QString>

namespace qvs {

class CategoryTree;

// Asks text 30007 (Yes/No); on Yes deletes the entry and refreshes the
// current main window and, when given (not in tray mode), the tree's numbers.
// True when the entry was deleted.
bool DeleteEntry(const QString& service, CategoryTree* tree);

// The entry editor for a new entry in the node's category and subcategory.
void AddEntry(const NodeRef& node);
// The entry editor for service; text 9005 when no row is selected.
void EditEntry(const QString& service);
// Removes the entry from the favourites while they are shown, else adds it.
void ToggleFavourite(const QString& service, const QString& shownNode, CategoryTree* tree);

// The main window lists the shown node again with the changed entry's row
// selected; with a tree, its numbers are counted again.
void RefreshAfterEntryChange(CategoryTree* tree, const ardeko::T_Password& changed);

// The web addresses of an entry; opening one may take the program to the
// tray ("GTSAfterURL").
enum class EntryUrl { Access, Delete, Change };
QString EntryUrlOf(const QString& service, EntryUrl which);
void OpenEntryUrl(const QString& service, EntryUrl which);

} // namespace qvs
