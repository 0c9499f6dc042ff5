// The option window of QVSLite: start-up, security, tray and key settings,
// built from the same choosers and bindings as the options window of QVS.
#pragma once

#include "dialogs/options/option_dialog.h"

class QCheckBox;
class QLineEdit;

namespace qvs {

class frmLiteOptions : public OptionDialog {
    Q_OBJECT
public:
    explicit frmLiteOptions(QWidget* parent = DialogOwner());

    QCheckBox* chkLastOpened() const { return chkLastOpened_; }
    QLineEdit* txtFile() const { return txtFile_; }
    QPushButton* cmdBrowse() const { return cmdBrowse_; }

private:
    void BuildStartup(QLayout* layout);
    void BuildSecurityAndTray(QLayout* layout);
    void BuildKeys(QLayout* layout);
    void EnableFileBox();
    void Browse();

    QCheckBox* chkLastOpened_ = nullptr;
    QLineEdit* txtFile_ = nullptr;
    QPushButton* cmdBrowse_ = nullptr;
};

} // namespace qvs
