// Importing the passwords another program exported: the file, its format
// (detected, and changeable), how a generic CSV's columns map to fields, a
// preview of the first entries as they will be stored, and the counts. The
// store changes only when Import is pressed, all at once.
#pragma once

#include "frame/modal_stack.h"
#include "store/import/foreign_import.h"

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace ardeko {
class clsPW;
}

namespace qvs {

class CsvColumnsPanel;

class frmImportForeign : public QDialog {
    Q_OBJECT
public:
    explicit frmImportForeign(ardeko::clsPW& store, QWidget* parent = DialogOwner());

    // Asks for a file first when none was set; true when entries were added.
    bool Run();
    // Reads path (a failure shows in the window, Import stays off).
    void SetFile(const QString& path);

    const ardeko::ImportPlan& Plan() const { return plan_; }
    QComboBox* cboFormat() const { return cboFormat_; }
    CsvColumnsPanel* Columns() const { return columns_; }
    QStandardItemModel* Preview() const { return preview_; }
    QLabel* lblCounts() const { return lblCounts_; }
    QLabel* lblProblem() const { return lblProblem_; }
    QPushButton* cmdImport() const { return cmdImport_; }

private:
    QString AskFile();
    void Replan();
    void ShowProblem(const QString& text);
    void ShowPlan();
    void ShowDetails();
    void cmdImport_Click();

    ardeko::clsPW& store_;
    std::string bytes_;
    bool haveFile_ = false;
    ardeko::ForeignData data_;
    ardeko::ImportPlan plan_;
    bool imported_ = false;

    QLineEdit* txtFile_;
    QPushButton* cmdBrowse_;
    QComboBox* cboFormat_;
    QLabel* lblDetected_;
    CsvColumnsPanel* columns_;
    QTableView* grdPreview_;
    QStandardItemModel* preview_;
    QLabel* lblCounts_;
    QPlainTextEdit* txtDetails_;
    QLabel* lblProblem_;
    QPushButton* cmdImport_;
    QPushButton* cmdCancel_;
};

} // namespace qvs
