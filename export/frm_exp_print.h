// The export and print dialog: the fields, grouping, order and target of an
// export to HTML, text or CSV, or of the printed report (preview, print,
// PDF). Every choice is remembered in the settings.
#pragma once

#include "export/export_choice.h"
#include "export/printer_list.h"
#include "frame/modal_stack.h"

#include <QDialog>

#include <functional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qvs {

class FieldLists;
class Report;

// Shows a line in the main window's status bar ("" clears it).
using StatusText = std::function<void(const QString&)>;

class frmExpPrint : public QDialog {
    Q_OBJECT
public:
    frmExpPrint(int mode, const IPrinterLookup& printers, StatusText status = {},
                QWidget* parent = DialogOwner());
    ~frmExpPrint() override;

    // The choices as the controls show them now.
    ExportChoice Choice() const;

    void Export();
    void Preview();
    void Print();
    void SavePdf();
    void View();
    void Browse();

    QString LastExport() const { return lastExport_; }

private:
    void Build();
    QWidget* BuildFieldPart();
    QWidget* BuildOptionPart();
    QWidget* BuildTargetPart();
    QWidget* BuildPrintPart();
    QWidget* BuildButtons();
    void ShowChoice(const ExportChoice& c);
    void FitToMode();

    // Stores the choices; false (after saying why) when they cannot be used.
    bool TakeChoice(bool needsFile);
    void BuildReportInto(Report& report);
    void ShowProgress(int done, int count);
    void ShowError(const QString& text);

    int mode_;
    std::vector<InstalledPrinter> printers_;
    StatusText status_;
    QString lastExport_;

    QListWidget* lstAll_;
    QListWidget* lstSelected_;
    FieldLists* fields_ = nullptr;
    QButtonGroup* optGroup_;
    QButtonGroup* optSort_;
    QButtonGroup* optPType_;
    QCheckBox* chkSplit_;
    QCheckBox* chkEmptyCat_;
    QCheckBox* chkEmptySub_;
    QCheckBox* chkHeader_;
    QCheckBox* chkNotes_;
    QCheckBox* chkHistory_;
    QCheckBox* chkCsvSafe_;
    QLineEdit* txtDir_;
    QLineEdit* txtFile_;
    QLineEdit* txtDelim_;
    QLabel* lblDelim_;
    QComboBox* cboPrinter_;
    QWidget* printPart_ = nullptr;
    QPushButton* cmdExport_;
    QPushButton* cmdView_;
    QPushButton* cmdPreview_;
    QPushButton* cmdPrint_;
    QPushButton* cmdPdf_;
    QPushButton* cmdCancel_;
};

// Opens the dialog for mode through the modal-window stack.
void ExportPrint(int mode, StatusText status = {});

} // namespace qvs
