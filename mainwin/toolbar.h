// The main window's toolbar (Toolbar1): 19 buttons by key, each running the
// File, Edit or Entries command it stands for; "search" (also Ctrl+F) opens
// the search box above the grid.
#pragma once

#include <QString>

class QAction;
class QToolBar;

namespace qvs {

class frmMain;
class MainMenus;

// Adds the toolbar to window; the buttons that need a file follow menus'
// file state.
QToolBar* BuildToolbar(frmMain& window, MainMenus& menus);

// The button with this key ("new", "sep1", ...); nullptr when none.
QAction* ToolbarButton(const QToolBar& toolbar, const QString& key);

} // namespace qvs
