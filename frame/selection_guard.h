// Keeping a password shown in clear out of the X11 PRIMARY selection.
#pragma once

class QLineEdit;

namespace qvs {

// Selecting text in a box that shows it puts that text in the PRIMARY
// selection, where every program on the desktop can read it, unmarked and
// never cleared. Whatever box puts there is taken off again at once; the
// copy commands (marked and cleared) stay the way to take a password along.
void KeepOutOfSelection(QLineEdit* box);

} // namespace qvs
