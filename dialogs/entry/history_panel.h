// The editor's list of an entry's earlier passwords, newest first, masked as
// the password is, with copy, "restore as current" and forget.
#pragma once

#include "store/records.h"

#include <QGroupBox>

#include <vector>

class QPushButton;
class QTreeWidget;

namespace qvs {

class HistoryPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit HistoryPanel(QWidget* parent);

    void SetHistory(std::vector<ardeko::T_PwHistory> history);
    // Hands the list over and empties it, no copy of a password left in the
    // list's texts (a lock seals them; SetHistory gives them back).
    std::vector<ardeko::T_PwHistory> TakeForLock();
    const std::vector<ardeko::T_PwHistory>& History() const { return history_; }

    QTreeWidget* List() const { return list_; }
    void CopySelected();
    // Takes the chosen password out of the list and hands it to the editor,
    // whose save puts the replaced one into the history.
    void RestoreSelected();
    void ForgetSelected();

signals:
    void restoreRequested(const QString& password);

private:
    void Fill();
    int Selected() const; // -1 for none
    void EnableButtons();

    std::vector<ardeko::T_PwHistory> history_;
    QTreeWidget* list_;
    QPushButton* copy_;
    QPushButton* restore_;
    QPushButton* forget_;
};

} // namespace qvs
