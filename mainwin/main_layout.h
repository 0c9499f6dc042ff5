// The remembered layout of the main window, in its own section of the
// settings: the splitters (which panel is hidden, where they stand), the
// status bar and toolbar, the grid's columns (visibility and width, numbered
// from 1 as "ColVis4" for "Service") and its sort. A missing value leaves the
// control as the window built it.
#pragma once

#include <QString>

class QSplitter;
class QStatusBar;
class QWidget;

namespace qvs {

class EntryGrid;

struct MainLayoutParts {
    QSplitter* vbuSplitter = nullptr; // tree | grid and notes
    EntryGrid* grid = nullptr;        // holds vbuSplitter2 (grid / notes)
    QStatusBar* statusBar = nullptr;
    QWidget* toolbar = nullptr; // nullptr while the window has none
};

void SaveMainLayout(const MainLayoutParts& parts, const QString& section);
void LoadMainLayout(const MainLayoutParts& parts, const QString& section);

// Which panel of a two-panel splitter is hidden: 0 none; 1 left, 2 right
// (side by side); 3 top, 4 bottom (one above the other).
int SplitterHideState(const QSplitter* splitter);
void SetSplitterHideState(QSplitter* splitter, int state);

} // namespace qvs
