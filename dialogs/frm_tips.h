// The tip-of-the-day window: one tip at a time, the next on request, and the
// choice whether it appears at start-up (the "ViewTips" setting).
#pragma once

#include "frame/modal_stack.h"

#include <QDialog>

class QCheckBox;
class QLabel;

namespace qvs {

class frmTips : public QDialog {
    Q_OBJECT
public:
    // Starts at tip firstTip (counted from 0, taken modulo the number of
    // tips); a negative value picks one at random.
    explicit frmTips(int firstTip = -1, QWidget* parent = DialogOwner());

    static int TipCount();
    int CurrentTip() const { return current_; }
    void NextTip();

private:
    void ShowTip(int index);

    int current_ = 0;
    QLabel* lblTip_;
    QCheckBox* chkViewTips_;
};

// Shows the tips through the modal stack until the window is closed.
void ShowTips();

} // namespace qvs
