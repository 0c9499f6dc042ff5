// Where a window was left: "<name>-State" (0 normal, 1 minimised,
// 2 maximised) and, for a normal window, "<name>-X", "-Y", "-W", "-H" in
// pixels (position of the frame, size of the inside).
#pragma once

#include <QString>

class QWidget;

namespace qvs {

enum WindowPlacementState : int {
    kPlacementNormal = 0,
    kPlacementMinimised = 1,
    kPlacementMaximised = 2
};

// Centres the window on its parent's window (or its screen), then applies
// the stored state and place. A place no screen shows any more is ignored,
// so the window cannot come back out of sight.
void RestoreWindowPlacement(QWidget* window, const QString& name);

void SaveWindowPlacement(const QWidget* window, const QString& name);

// Centres the window on its parent's window, or on its screen.
void CentreWindow(QWidget* window);

} // namespace qvs
