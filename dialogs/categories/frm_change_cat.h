// Asks for one category of the open file: to move a subcategory there, or
// for a command of the main window.
#pragma once

#include "frame/modal_stack.h"

#include <QDialog>

#include <cstdint>

class QComboBox;
class QPushButton;

namespace ardeko {
class clsPW;
}

namespace qvs {

class frmChangeCat : public QDialog {
    Q_OBJECT
public:
    // Lists the categories, the first one chosen.
    explicit frmChangeCat(ardeko::clsPW& store, QWidget* parent = DialogOwner());

    // The list, for a caller that proposes another category before asking.
    QComboBox* cboCategorie() const { return cboCategorie_; }

    // Shows the window with caption as its title; the code of the category
    // chosen, or -1 when the window was cancelled or there was none to choose.
    std::int16_t ChooseCat(const QString& caption);
    // Shows the window; the list position chosen, or the one proposed when
    // the window was cancelled.
    int ChangeCat();

    bool Cancelled() const { return cancelled_; }

private:
    void Run();
    void cmdOK_Click();

    bool cancelled_ = true;
    int chosenIndex_ = -1;
    std::int16_t chosenCode_ = -1;
    QComboBox* cboCategorie_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
};

} // namespace qvs
