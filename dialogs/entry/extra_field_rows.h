// The extra fields of an entry in the small entry window, below its user
// name and password: a row each with the field's name, its value and a copy
// button. A protected value is masked until "Show" is pressed for it, and
// every copy goes to the clipboard as a secret, cleared after the usual
// delay, as the password's does.
#pragma once

#include "store/records.h"

#include <QObject>

#include <vector>

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qvs {

class ExtraFieldRows : public QObject {
    Q_OBJECT
public:
    // The rows go into grid (three columns: name, value, copy button) below
    // the rows it holds when the fields are set.
    ExtraFieldRows(QGridLayout* grid, QWidget* window);
    ~ExtraFieldRows() override;

    // Replaces the rows shown with one per field.
    void SetFields(std::vector<ardeko::T_CustomField> fields);
    // Removes the rows and overwrites the values held.
    void Clear();

private:
    struct Row {
        QLabel* name;
        QHBoxLayout* valueRow; // the value and its show button
        QLineEdit* value;
        QPushButton* show; // protected fields only
        QPushButton* copy;
        bool shown = false;
    };
    void AddRow(std::size_t index);
    void Toggle(std::size_t index);
    void ShowValue(std::size_t index);

    QGridLayout* grid_;
    QWidget* window_;
    std::vector<ardeko::T_CustomField> fields_;
    std::vector<Row> rows_;
};

} // namespace qvs
