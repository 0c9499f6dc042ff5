// Adds, renames and deletes the subcategories of a chosen category, and
// moves one to another category. Every change goes to the store at once;
// closing only closes.
#pragma once

#include "frame/modal_stack.h"

#include <QDialog>

#include <cstdint>
#include <optional>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace ardeko {
class clsPW;
}

namespace qvs {

class frmSubCategory : public QDialog {
    Q_OBJECT
public:
    explicit frmSubCategory(ardeko::clsPW& store, QWidget* parent = DialogOwner());

    // Whether a change reached the store since the window was built.
    bool Changed() const { return changed_; }

    void cmdAdd_Click();
    void cmdRename_Click();
    void cmdDel_Click();
    void cmdChange_Click();

private:
    void FillSubCategories();
    void OnSelect();
    // The code of the category chosen in the list; none when there is none.
    std::optional<std::int16_t> ChosenCategory() const;

    ardeko::clsPW& store_;
    bool changed_ = false;
    QComboBox* cboCategorie_;
    QListWidget* lstSubCateg_;
    QLineEdit* txtSubCateg_;
    QPushButton* cmdAdd_;
    QPushButton* cmdDel_;
    QPushButton* cmdRename_;
    QPushButton* cmdChange_;
    QPushButton* cmdOK_;
};

// The main window's subcategory command: the window on the stack; the main
// window's view is rebuilt when something changed.
void ShowSubCategoryDialog();

} // namespace qvs
