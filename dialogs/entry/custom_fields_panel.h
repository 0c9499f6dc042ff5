// The editor's list of an entry's extra fields: name, value and whether it
// is protected. A protected value is masked like the password until "Show"
// is pressed for it, and "Copy value" puts it on the clipboard as a secret
// (cleared after the usual delay). A value of several lines (a key) cannot
// be typed into its one-line box: it is shown and copied as it is, and kept
// exactly unless the field is removed.
#pragma once

#include "store/records.h"

#include <QGroupBox>

#include <optional>
#include <vector>

class QPushButton;
class QTableWidget;

namespace qvs {

class CustomFieldsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit CustomFieldsPanel(QWidget* parent);

    void SetFields(std::vector<ardeko::T_CustomField> fields);
    // The fields as edited, rows left wholly empty dropped.
    std::vector<ardeko::T_CustomField> Fields() const;
    // A lock takes the fields as they are (rows left wholly empty too) and
    // wipes them, keeping the rows, whose boxes the lock empties itself;
    // the unlock puts them back into those rows.
    std::vector<ardeko::T_CustomField> TakeForLock();
    void PutBackAfterLock(std::vector<ardeko::T_CustomField> fields);
    // Why the fields cannot be saved: the row of a value without a name or of
    // a name given twice (with that name); none when they can.
    struct Problem {
        int row = 0;
        QString duplicateName; // "" for a missing name
    };
    std::optional<Problem> Check() const;

    QTableWidget* Table() const { return table_; }
    void AddField();
    void RemoveSelected();
    // Shows or masks the selected row's value (protected fields only).
    void ToggleShown();
    void CopySelected();
    // Puts the caret into the name of row.
    void FocusRow(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int RowOf(const QObject* widget) const;
    void Fill();
    void AddRow(int row);
    void ShowValue(int row);
    int Selected() const; // -1 for none
    void EnableButtons();

    std::vector<ardeko::T_CustomField> fields_;
    std::vector<bool> shown_; // per row: a protected value shown on request
    QTableWidget* table_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* show_;
    QPushButton* copy_;
};

} // namespace qvs
