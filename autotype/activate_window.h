// Bringing a window of this program to the front for the user.
#pragma once

class QWidget;

namespace qvs {

// Restores the window if it is minimised, then raises and activates it. The
// window manager may still refuse the focus; nothing else is done then.
void ActivateWindow(QWidget* window);

} // namespace qvs
