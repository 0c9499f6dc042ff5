// The list of passwords that have expired or are about to, and of those due
// or about to be due for a change, from which any entry opens in the editor.
#pragma once

#include "frame/modal_stack.h"

#include <QDialog>
#include <QStandardItemModel>

#include <functional>
#include <optional>

class QPushButton;
class QTableView;

namespace ardeko {
class clsPW;
}

namespace qvs {

class frmCheckExpire : public QDialog {
    Q_OBJECT
public:
    explicit frmCheckExpire(ardeko::clsPW& store, QWidget* parent = DialogOwner());

    // Refills the grid from the store; the number of lines.
    int Fill();
    // Shows the window (not modal) on the window stack.
    void ShowList();

protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void cmdEdit_Click();
    void Refill(int row);
    void FitColumns();
    void Leave();

    ardeko::clsPW& store_;
    QStandardItemModel model_;
    QTableView* grid_;
    QPushButton* cmdEdit_;
    QPushButton* cmdcancel_;
    std::optional<ModalStackEntry> stackEntry_; // while shown
};

// Opens an entry in the editor and returns its window (nullptr when the
// store has no such entry); set once at start-up by the program, which owns
// the editor.
using EntryEditor = std::function<QWidget*(const QString& service)>;
void SetExpiryEntryEditor(EntryEditor editor);

// Checks the open file. With something to report a new window shows it and
// is returned (it deletes itself when closed); otherwise nullptr, after
// saying so when showEmptyMessage is set.
frmCheckExpire* View_Expires(bool showEmptyMessage);

} // namespace qvs
