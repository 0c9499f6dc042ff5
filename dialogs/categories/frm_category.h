// Adds, renames and deletes the categories of the open file. Every change
// goes to the store at once; closing only closes.
#pragma once

#include "frame/modal_stack.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace ardeko {
class clsPW;
}

namespace qvs {

class frmCategory : public QDialog {
    Q_OBJECT
public:
    explicit frmCategory(ardeko::clsPW& store, QWidget* parent = DialogOwner());

    // Whether a change reached the store since the window was built.
    bool Changed() const { return changed_; }

    void cmdAdd_Click();
    void cmdRen_Click();
    void cmdDel_Click();

private:
    void OnSelect();

    ardeko::clsPW& store_;
    bool changed_ = false;
    QListWidget* lstCategorie_;
    QLineEdit* txtcateg_;
    QPushButton* cmdAdd_;
    QPushButton* cmdDel_;
    QPushButton* cmdRen_;
    QPushButton* cmdOK_;
};

// The main window's category command: the window on the stack; the main
// window's view is rebuilt when something changed.
void ShowCategoryDialog();

} // namespace qvs
