// The password health window: the report of the open file's weak, shared,
// due, old and breached passwords, one line per finding, each opening its
// entry in the editor. A breached-password list can be chosen; it is
// searched on this computer, and stays chosen for the next start until the
// user forgets it.
#pragma once

#include "dialogs/entry_list_window.h"
#include "dialogs/health_model.h"

#include <memory>

class QLabel;
class QPushButton;
class QTableView;

namespace ardeko {
class BreachedList;
class clsPW;
} // namespace ardeko

namespace qvs {

class frmHealth : public EntryListWindow {
    Q_OBJECT
public:
    // editor opens an entry; the program's editor unless a test gives another.
    explicit frmHealth(ardeko::clsPW& store, EntryEditor editor = {},
                       QWidget* parent = DialogOwner());
    ~frmHealth() override;

    // Analyses the file again; false when the user stopped it or the list
    // could not be read (said so, and the list is dropped).
    bool Analyse();
    // Checks against the list at path from now on, also after the next start,
    // and analyses again; false, after saying why, when it is no list that
    // can be searched.
    bool UseBreachedList(const QString& path);
    // Checks against no list from now on, and analyses again.
    void ForgetBreachedList();
    // Shows the window (not modal) on the window stack.
    void ShowList();

    const HealthModel& Model() const { return model_; }

private:
    void cmdEdit_Click();
    void cmdBreached_Click();
    void RestoreBreachedList();
    void RememberList(const QString& path);
    void ShowListState();

    ardeko::clsPW& store_;
    EntryEditor editor_;
    HealthModel model_;
    std::unique_ptr<ardeko::BreachedList> list_;
    QString listPath_;
    QString lostList_; // chosen earlier, no longer there: said once
    QLabel* lblSummary_;
    QLabel* lblList_;
    QTableView* grid_;
    QPushButton* cmdBreached_;
    QPushButton* cmdForgetList_;
    QPushButton* cmdEdit_;
    QPushButton* cmdClose_;
};

// Tools menu: analyses the open file and shows the window, which deletes
// itself when closed.
frmHealth* ShowPasswordHealth();

} // namespace qvs
