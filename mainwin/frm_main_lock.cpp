// Locking the main window: what it hides and empties, and how the file
// password brings the view back as it was.
#include "mainwin/frm_main.h"

#include "app/lock_command.h"
#include "frame/program_state.h"
#include "mainwin/category_tree.h"
#include "mainwin/entry_grid.h"
#include "mainwin/entry_search.h"
#include "mainwin/locked_view.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSplitter>
#include <QStackedWidget>

namespace qvs {

void frmMain::BuildLockedView() {
    lockedView_ = new LockedView(panes_);
    panes_->addWidget(lockedView_);
    connect(lockedView_, &LockedView::unlockRequested, this, &frmMain::OnUnlockRequested);
}

bool frmMain::ShowsLockedView() const {
    return panes_->currentWidget() == lockedView_;
}

void frmMain::LockCommand() {
    LockOnDemand();
}

void frmMain::LockView() {
    search_->End(); // the typed text goes too, and the node shown before comes back
    lockedState_ = {tree_->ShownKey(), tree_->SelectedKey(), grid_->SelectedService(), {}, {}};
    // Every command waits, shortcuts included; the password box has none.
    for (QAction* action : findChildren<QAction*>()) {
        if (!action->isEnabled() ||
            lockedView_->isAncestorOf(qobject_cast<QWidget*>(action->parent())))
            continue;
        action->setEnabled(false);
        lockedState_.disabled.append(action);
    }
    // A menu follows its window's enabled state into its title's action: a
    // lock that comes while a dialog has the window disabled would find the
    // titles disabled already, and they would come back with the window.
    for (QMenu* menu : findChildren<QMenu*>()) {
        if (menu->testAttribute(Qt::WA_ForceDisabled)) continue;
        menu->setEnabled(false);
        lockedState_.disabledMenus.append(menu);
    }
    tree_->Empty();
    grid_->Clear();
    panes_->setCurrentWidget(lockedView_);
    lockedView_->Prepare(QFileInfo(QString::fromStdString(Store().Filename())).fileName());
}

void frmMain::UnlockView() {
    const LockedState state = std::exchange(lockedState_, {});
    panes_->setCurrentWidget(vbuSplitter_);
    for (const QPointer<QWidget>& menu : state.disabledMenus)
        if (menu) menu->setEnabled(true);
    for (const QPointer<QAction>& action : state.disabled)
        if (action) action->setEnabled(true);
    tree_->LoadTree();
    const QString shown = tree_->FindNode(state.shownKey) ? state.shownKey : tree_->SelectedKey();
    tree_->SelectNode(shown);
    if (!state.service.isEmpty()) grid_->SelectService(state.service);
    ShowCounts();
    EnableFileCommands(!Store().Filename().empty());
    ShowTitle();
}

void frmMain::OnUnlockRequested(const QString& password) {
    if (!Locking().Unlock(password)) lockedView_->ShowWrongPassword();
}

} // namespace qvs
