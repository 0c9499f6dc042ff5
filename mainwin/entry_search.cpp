#include "mainwin/entry_search.h"

#include "frame/language.h"
#include "mainwin/category_tree.h"
#include "mainwin/entry_grid.h"
#include "mainwin/entry_grid_view.h"
#include "mainwin/entry_search_box.h"
#include "mainwin/node_key.h"
#include "mainwin/text_ids.h"
#include "store/pw.h"
#include "store/search_fold.h"

#include <QItemSelectionModel>
#include <QShortcut>

namespace qvs {

EntrySearch::EntrySearch(CategoryTree& tree, EntryGrid& grid, EntrySearchBox& box, QWidget& scope,
                         StoreAccess store)
    : QObject(&box), tree_(tree), grid_(grid), box_(box),
      escape_(new QShortcut(QKeySequence(Qt::Key_Escape), &scope)), store_(std::move(store)) {
    escape_->setContext(Qt::WidgetWithChildrenShortcut);
    escape_->setEnabled(false);
    connect(escape_, &QShortcut::activated, this, &EntrySearch::End);
    connect(&box_, &EntrySearchBox::textChanged, this, &EntrySearch::OnTextChanged);
    connect(&box_, &EntrySearchBox::closeRequested, this, &EntrySearch::End);
    connect(&box_, &EntrySearchBox::resultsRequested, this, &EntrySearch::GoToResults);
}

bool EntrySearch::IsOpen() const {
    return box_.IsOpen();
}

void EntrySearch::Begin() {
    if (store_().Filename().empty()) return;
    box_.Open();
    escape_->setEnabled(true);
    Index(); // folded now, so that the first character finds at once
}

void EntrySearch::End() {
    const bool wasShowing = showing_;
    Reset();
    if (wasShowing) ReturnToPrevious();
    grid_.grdpw()->setFocus();
}

void EntrySearch::Leave() {
    showing_ = false;
    tree_.RemoveSearchNode();
    Reset();
}

void EntrySearch::Reset() {
    box_.Close();
    escape_->setEnabled(false);
    query_.clear();
    results_.clear();
}

void EntrySearch::StoreChanged() {
    index_.Invalidate();
}

const EntrySearchIndex& EntrySearch::Index() {
    if (!index_.IsCurrentFor(store_())) index_.Build(store_());
    return index_;
}

void EntrySearch::OnTextChanged(const QString& text) {
    const QString folded = QString::fromStdString(ardeko::FoldForSearch(text.toStdString()));
    if (folded.isEmpty()) {
        query_.clear();
        results_.clear();
        box_.ShowNothingFound(false);
        if (showing_) ReturnToPrevious();
        return;
    }
    // A longer text finds only among what the shorter one found.
    const bool narrow =
        showing_ && !query_.isEmpty() && folded.contains(query_) && index_.IsCurrentFor(store_());
    query_ = folded;
    results_ = Index().Find(query_, narrow ? &results_ : nullptr);
    if (!showing_) {
        previousKey_ = tree_.ShownKey();
        fileName_ = store_().Filename();
    }
    ShowResults(narrow && grid_.ShownNode() == QLatin1String(kSearchKey));
}

// Narrowed, the rows keep their order and the grid need not sort again.
void EntrySearch::ShowResults(bool narrowed) {
    const QString selected = grid_.SelectedService();
    showing_ = true;
    tree_.ShowSearchNode(GetLocalText(text::kSearchResultsNode), static_cast<int>(results_.size()));
    if (narrowed)
        grid_.NarrowEntries(results_);
    else
        grid_.ShowEntries(QLatin1String(kSearchKey), results_);
    if (!selected.isEmpty()) grid_.SelectService(selected);
    box_.ShowNothingFound(results_.empty());
    emit resultsShown(static_cast<int>(results_.size()));
}

void EntrySearch::Refresh() {
    if (!showing_) return;
    results_ = Index().Find(query_);
    ShowResults(false);
}

bool EntrySearch::Reshow() {
    if (!showing_) return false;
    if (store_().Filename() != fileName_) {
        showing_ = false;
        Reset();
        return false;
    }
    Refresh();
    return true;
}

void EntrySearch::ReturnToPrevious() {
    showing_ = false;
    const QString selected = grid_.SelectedService();
    tree_.RemoveSearchNode();
    // The node may have gone with a change made while searching.
    if (!tree_.SelectNode(previousKey_)) tree_.SelectNode(QLatin1String(kRootKey));
    if (!selected.isEmpty()) grid_.SelectService(selected);
}

void EntrySearch::GoToResults() {
    if (grid_.model()->rowCount() == 0) return;
    EntryGridView* view = grid_.grdpw();
    if (!view->selectionModel()->hasSelection()) view->selectRow(0);
    view->setFocus(Qt::OtherFocusReason);
}

} // namespace qvs
