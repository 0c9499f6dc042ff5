// The main window's search: the box above the grid, and what starts it.
#include "mainwin/frm_main.h"

#include "frame/program_state.h"
#include "mainwin/entry_grid.h"
#include "mainwin/entry_search.h"
#include "mainwin/entry_search_box.h"

#include <QSplitter>
#include <QVBoxLayout>

namespace qvs {

QWidget* frmMain::BuildGridPane() {
    auto* pane = new QWidget(vbuSplitter_);
    auto* box = new EntrySearchBox(pane);
    grid_ = new EntryGrid(pane);
    auto* column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(box);
    column->addWidget(grid_, 1);
    // Escape ends a search wherever the focus is in the panes.
    search_ = new EntrySearch(*tree_, *grid_, *box, *vbuSplitter_,
                              []() -> const ardeko::clsPW& { return Store(); });
    return pane;
}

void frmMain::BeginSearch() {
    if (!ShowsLockedView()) search_->Begin();
}

} // namespace qvs
