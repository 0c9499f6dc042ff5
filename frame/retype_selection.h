// Keeping a box's text selected for the user to type over.
#pragma once

class QLineEdit;

namespace qvs {

// Gives box the focus with its text selected, and selects it again each
// time the box gets the focus back, until the user edits it. A window
// activated late (after a message closes) would otherwise drop the
// selection, and the user's typing would be added to the wrong text.
void SelectForRetyping(QLineEdit* box);

} // namespace qvs
