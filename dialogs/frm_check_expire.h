// The list of passwords that have expired or are about to, and of those due
// or about to be due for a change, from which any entry opens in the editor.
#pragma once

#include "dialogs/entry_list_window.h"

#include <QStandardItemModel>

class QPushButton;
class QTableView;

namespace ardeko {
class clsPW;
}

namespace qvs {

class frmCheckExpire : public EntryListWindow {
    Q_OBJECT
public:
    explicit frmCheckExpire(ardeko::clsPW& store, QWidget* parent = DialogOwner());

    // Refills the grid from the store; the number of lines.
    int Fill();
    // Shows the window (not modal) on the window stack.
    void ShowList();

private:
    void cmdEdit_Click();
    void Refill(int row);
    void FitColumns();

    ardeko::clsPW& store_;
    QStandardItemModel model_;
    QTableView* grid_;
    QPushButton* cmdEdit_;
    QPushButton* cmdcancel_;
};

// The editor the list opens entries in; set once at start-up by the
// program, which owns the editor.
void SetExpiryEntryEditor(EntryEditor editor);

// Checks the open file. With something to report a new window shows it and
// is returned (it deletes itself when closed); otherwise nullptr, after
// saying so when showEmptyMessage is set.
frmCheckExpire* View_Expires(bool showEmptyMessage);

} // namespace qvs
