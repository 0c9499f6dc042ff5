// Finding entries as the user types: Ctrl+F (or the toolbar's search button)
// opens the search box above the grid; from the first character the grid
// lists the entries of the whole file whose service, user name, e-mail,
// addresses or notes contain the text, letter case and accents ignored, and
// the tree shows a "search results" node in place of the node shown before.
// Escape ends the search and shows that node again; choosing another node
// ends it too. Passwords are never searched.
//
// The results are positions in the store: whoever changes the store calls
// StoreChanged, then Refresh, so that they are found again.
#pragma once

#include "mainwin/entry_search_index.h"

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QShortcut;
class QWidget;

namespace ardeko {
class clsPW;
}

namespace qvs {

class CategoryTree;
class EntryGrid;
class EntrySearchBox;

class EntrySearch : public QObject {
    Q_OBJECT
public:
    using StoreAccess = std::function<const ardeko::clsPW&()>;

    // Escape ends the search while the focus is anywhere inside scope (the
    // box and the grid).
    EntrySearch(CategoryTree& tree, EntryGrid& grid, EntrySearchBox& box, QWidget& scope,
                StoreAccess store);

    // Opens the box, or puts the focus back in it with its text selected.
    // Nothing happens while no file is open.
    void Begin();
    // Escape: closes the box and shows the node shown before the search,
    // keeping the selected entry when that node lists it too.
    void End();
    // Another node was chosen while the results were shown: the search ends
    // and that node stays.
    void Leave();

    // The results are listed (the box holds text).
    bool Showing() const { return showing_; }
    bool IsOpen() const;
    const EntrySearchIndex::Positions& Results() const { return results_; }
    // The node shown before the search.
    const QString& PreviousKey() const { return previousKey_; }

    // The store changed: the folded text is to be built again.
    void StoreChanged();
    // Lists the results of the same text again (after StoreChanged), keeping
    // the selected entry when it is still found.
    void Refresh();
    // The tree was rebuilt: puts the results node back and lists them again.
    // False when no results were shown, or another file is open now (which
    // ends the search).
    bool Reshow();

signals:
    // The grid lists this many results.
    void resultsShown(int count);

private:
    void OnTextChanged(const QString& text);
    void GoToResults();
    const EntrySearchIndex& Index();
    void ShowResults(bool narrowed);
    void ReturnToPrevious();
    void Reset();

    CategoryTree& tree_;
    EntryGrid& grid_;
    EntrySearchBox& box_;
    QShortcut* escape_;
    StoreAccess store_;
    EntrySearchIndex index_;
    QString query_; // folded
    EntrySearchIndex::Positions results_;
    QString previousKey_;
    std::string fileName_; // the file searched
    bool showing_ = false;
};

} // namespace qvs
