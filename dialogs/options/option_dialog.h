// What the option windows of both programs share: the OK, Cancel and Apply
// buttons and what they do with the bound controls. Apply stores every bound
// control into the settings, writes the settings out and lets the current
// main window show the changes; OK applies and closes; Cancel closes and
// keeps what was applied before.
#pragma once

#include "dialogs/options/option_bindings.h"
#include "frame/modal_stack.h"

#include <QDialog>

class QHBoxLayout;
class QPushButton;

namespace qvs {

class OptionDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionDialog(QWidget* parent = DialogOwner());

    // Shows the dialog through the modal-window stack, with the controls
    // filled from the current settings.
    int Run();

    // False, storing nothing, when a control holds a value that cannot be
    // stored (the control has said so and has the focus).
    bool Apply();

    QPushButton* cmdOK() const { return cmdOK_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }
    QPushButton* cmdApply() const { return cmdApply_; }

signals:
    void applied();

protected:
    OptionBindings& Bindings() { return bindings_; }
    // The button row, for the derived window's layout.
    QHBoxLayout* ButtonRow() const { return buttons_; }
    // Fills the controls from the current settings.
    void ShowSettings();

    // Checks the controls before anything is stored; shows its own message.
    virtual bool CheckControls() { return true; }
    // Adjusts the stored settings that do not follow their control as they are.
    virtual void AdjustStored(Options& options) { (void)options; }

private:
    void OnOK();

    OptionBindings bindings_;
    QHBoxLayout* buttons_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
    QPushButton* cmdApply_;
};

} // namespace qvs
