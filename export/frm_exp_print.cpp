// Building the export and print dialog and showing the remembered choices.
#include "export/frm_exp_print.h"

#include "export/field_lists.h"
#include "export/text_ids.h"
#include "frame/language.h"
#include "frame/named_widget.h"
#include "frame/options.h"
#include "store/export/export_fields.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace qvs {

namespace {

QString Id(int textId) {
    return QString::number(textId); // localised with the window
}

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    auto* button = Named(new QPushButton(text, parent), name);
    button->setAutoDefault(false);
    return button;
}

// A frame of option buttons whose ids are their values.
QGroupBox* OptionFrame(int titleId, std::initializer_list<int> textIds, QButtonGroup*& group,
                       QWidget* parent) {
    auto* frame = new QGroupBox(Id(titleId), parent);
    auto* layout = new QVBoxLayout(frame);
    group = new QButtonGroup(frame);
    int value = 0;
    for (int textId : textIds) {
        auto* option = new QRadioButton(Id(textId), frame);
        group->addButton(option, value++);
        layout->addWidget(option);
    }
    return frame;
}

QLabel* Label(int textId, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(Id(textId), parent);
    label->setBuddy(buddy);
    return label;
}

void Check(QButtonGroup* group, int value) {
    if (QAbstractButton* button = group->button(value)) button->setChecked(true);
}

} // namespace

frmExpPrint::frmExpPrint(int mode, const IPrinterLookup& printers, StatusText status,
                         QWidget* parent)
    : QDialog(parent), mode_(mode), printers_(printers.Printers()), status_(std::move(status)) {
    setObjectName(QStringLiteral("frmExpPrint"));
    setWindowTitle(Id(6000));
    Build();
    ShowChoice(ChoiceFromOptions(Opt(), mode_));
    FitToMode();
    LocalizeForm(this);
}

frmExpPrint::~frmExpPrint() = default;

void frmExpPrint::Build() {
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    columns->addWidget(BuildFieldPart(), 1);
    columns->addWidget(BuildOptionPart());
    layout->addLayout(columns);
    layout->addWidget(BuildTargetPart());
    layout->addWidget(BuildPrintPart());
    auto* warning = Named(new QLabel(Id(text::kClearTextWarning), this), "lblClearText");
    warning->setWordWrap(true);
    layout->addWidget(warning);
    layout->addWidget(BuildButtons());
}

QWidget* frmExpPrint::BuildFieldPart() {
    auto* part = new QWidget(this);
    auto* grid = new QGridLayout(part);
    grid->setContentsMargins(0, 0, 0, 0);
    lstAll_ = Named(new QListWidget(part), "lstAll");
    lstSelected_ = Named(new QListWidget(part), "lstSelected");
    grid->addWidget(Label(6006, lstAll_, part), 0, 0);
    grid->addWidget(Label(6007, lstSelected_, part), 0, 2);
    grid->addWidget(lstAll_, 1, 0);
    grid->addWidget(lstSelected_, 1, 2);
    QStringList fields;
    for (const std::string& caption : ardeko::FieldCaptions())
        fields << QString::fromStdString(caption);
    fields_ = new FieldLists(lstAll_, lstSelected_, fields, &FieldLabel);
    auto* moves = new QVBoxLayout;
    auto* order = new QVBoxLayout;
    auto add = [&](const QString& text, const char* name, void (FieldLists::*move)(),
                   QVBoxLayout* column) {
        QPushButton* button = Button(text, name, part);
        connect(button, &QPushButton::clicked, fields_, move);
        column->addWidget(button);
    };
    // The moves between the lists show arrows; Up and Down are words.
    add(QStringLiteral(">"), "cmdRight", &FieldLists::MoveRight, moves);
    add(QStringLiteral(">>"), "cmdAllRight", &FieldLists::MoveAllRight, moves);
    add(QStringLiteral("<"), "cmdLeft", &FieldLists::MoveLeft, moves);
    add(QStringLiteral("<<"), "cmdAllLeft", &FieldLists::MoveAllLeft, moves);
    add(Id(6008), "cmdUp", &FieldLists::MoveUp, order);
    add(Id(6009), "cmdDown", &FieldLists::MoveDown, order);
    moves->addStretch();
    moves->addLayout(order);
    grid->addLayout(moves, 1, 1);
    return part;
}

QWidget* frmExpPrint::BuildOptionPart() {
    auto* part = new QWidget(this);
    auto* layout = new QVBoxLayout(part);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Named(OptionFrame(6010, {6011, 6012, 6013}, optGroup_, part), "fraGroup"));
    layout->addWidget(Named(OptionFrame(6014, {6015, 6016, 6017}, optSort_, part), "fraSort"));
    chkSplit_ = Named(new QCheckBox(Id(6018), part), "chkSplit");
    chkEmptyCat_ = Named(new QCheckBox(Id(6019), part), "chkEmptyCat");
    chkEmptySub_ = Named(new QCheckBox(Id(6020), part), "chkEmptySub");
    chkHeader_ = Named(new QCheckBox(Id(6021), part), "chkHeader");
    chkNotes_ = Named(new QCheckBox(Id(6022), part), "chkNotes");
    chkHistory_ = Named(new QCheckBox(Id(text::kExportHistory), part), "chkHistory");
    chkCsvSafe_ = Named(new QCheckBox(Id(text::kCsvSafe), part), "chkCsvSafe");
    for (QCheckBox* box :
         {chkSplit_, chkEmptyCat_, chkEmptySub_, chkHeader_, chkNotes_, chkHistory_, chkCsvSafe_})
        layout->addWidget(box);
    layout->addStretch();
    return part;
}

QWidget* frmExpPrint::BuildTargetPart() {
    auto* part = new QWidget(this);
    auto* grid = new QGridLayout(part);
    grid->setContentsMargins(0, 0, 0, 0);
    txtDir_ = Named(new QLineEdit(part), "txtDir");
    txtFile_ = Named(new QLineEdit(part), "txtFile");
    txtDelim_ = Named(new QLineEdit(part), "txtDelim");
    txtDelim_->setMaximumWidth(80);
    QPushButton* browse = Button(Id(6005), "cmdBrowse", part);
    connect(browse, &QPushButton::clicked, this, &frmExpPrint::Browse);
    lblDelim_ = Label(6025, txtDelim_, part);
    grid->addWidget(Label(6023, txtDir_, part), 0, 0);
    grid->addWidget(txtDir_, 0, 1, 1, 3);
    grid->addWidget(browse, 0, 4);
    grid->addWidget(Label(6024, txtFile_, part), 1, 0);
    grid->addWidget(txtFile_, 1, 1);
    grid->addWidget(lblDelim_, 1, 2);
    grid->addWidget(txtDelim_, 1, 3);
    grid->setColumnStretch(1, 1);
    return part;
}

QWidget* frmExpPrint::BuildPrintPart() {
    printPart_ = new QWidget(this);
    auto* layout = new QHBoxLayout(printPart_);
    layout->setContentsMargins(0, 0, 0, 0);
    cboPrinter_ = Named(new QComboBox(printPart_), "cboPrinter");
    for (const InstalledPrinter& printer : printers_)
        cboPrinter_->addItem(PrinterListText(printer));
    auto* printers = new QVBoxLayout;
    printers->addWidget(Label(6026, cboPrinter_, printPart_));
    printers->addWidget(cboPrinter_);
    printers->addStretch();
    layout->addLayout(printers, 1);
    layout->addWidget(Named(OptionFrame(6027, {6028, 6029}, optPType_, printPart_), "fraPType"));
    return printPart_;
}

QWidget* frmExpPrint::BuildButtons() {
    auto* part = new QWidget(this);
    auto* layout = new QHBoxLayout(part);
    layout->setContentsMargins(0, 0, 0, 0);
    cmdExport_ = Button(Id(6001), "cmdExport", part);
    cmdView_ = Button(Id(6004), "cmdView", part);
    cmdPreview_ = Button(Id(6003), "cmdPreview", part);
    cmdPrint_ = Button(Id(6002), "cmdPrint", part);
    cmdPdf_ = Button(Id(text::kPdfButton), "cmdPdf", part);
    cmdCancel_ = Button(Id(11), "cmdCancel", part);
    connect(cmdExport_, &QPushButton::clicked, this, &frmExpPrint::Export);
    connect(cmdView_, &QPushButton::clicked, this, &frmExpPrint::View);
    connect(cmdPreview_, &QPushButton::clicked, this, &frmExpPrint::Preview);
    connect(cmdPrint_, &QPushButton::clicked, this, &frmExpPrint::Print);
    connect(cmdPdf_, &QPushButton::clicked, this, &frmExpPrint::SavePdf);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    layout->addStretch();
    for (QPushButton* button : {cmdExport_, cmdView_, cmdPreview_, cmdPrint_, cmdPdf_, cmdCancel_})
        layout->addWidget(button);
    return part;
}

void frmExpPrint::ShowChoice(const ExportChoice& c) {
    fields_->Choose(c.fields);
    Check(optGroup_, c.grouping);
    Check(optSort_, c.order);
    Check(optPType_, c.printLayout == 0 ? 0 : 1);
    chkSplit_->setChecked(c.split);
    chkEmptyCat_->setChecked(c.emptyCategories);
    chkEmptySub_->setChecked(c.emptySubCategories);
    chkHeader_->setChecked(c.header);
    chkNotes_->setChecked(c.notes);
    chkHistory_->setChecked(c.history);
    chkCsvSafe_->setChecked(c.csvSafe);
    txtDir_->setText(c.folder);
    txtFile_->setText(c.fileName);
    txtDelim_->setText(c.delimiter);
    cboPrinter_->setCurrentIndex(ChosenPrinter(printers_, c.printer));
}

// Only what the mode uses can be changed.
void frmExpPrint::FitToMode() {
    const bool printing = mode_ == kModePrint;
    txtDelim_->setEnabled(mode_ == kModeCsv);
    lblDelim_->setEnabled(mode_ == kModeCsv);
    chkHeader_->setEnabled(mode_ == kModeColumns || mode_ == kModeCsv);
    chkCsvSafe_->setVisible(mode_ == kModeCsv);
    chkSplit_->setEnabled(!printing);
    printPart_->setVisible(printing);
    cmdExport_->setVisible(!printing);
    cmdView_->setVisible(!printing);
    cmdView_->setEnabled(false); // until something was exported
    cmdPreview_->setVisible(printing);
    cmdPrint_->setVisible(printing);
    cmdPrint_->setEnabled(!printers_.empty());
    cmdPdf_->setVisible(printing);
    QPushButton* main = printing ? cmdPreview_ : cmdExport_;
    main->setDefault(true);
}

ExportChoice frmExpPrint::Choice() const {
    ExportChoice c;
    c.mode = mode_;
    c.grouping = optGroup_->checkedId() < 0 ? 0 : optGroup_->checkedId();
    c.order = optSort_->checkedId() < 0 ? 0 : optSort_->checkedId();
    c.printLayout = optPType_->checkedId() < 0 ? 0 : optPType_->checkedId();
    c.split = chkSplit_->isChecked();
    c.emptyCategories = chkEmptyCat_->isChecked();
    c.emptySubCategories = chkEmptySub_->isChecked();
    c.header = chkHeader_->isChecked();
    c.notes = chkNotes_->isChecked();
    c.history = chkHistory_->isChecked();
    c.csvSafe = chkCsvSafe_->isChecked();
    c.folder = txtDir_->text().trimmed();
    c.fileName = txtFile_->text().trimmed();
    c.fields = fields_->Chosen();
    c.delimiter = txtDelim_->text();
    c.printer = cboPrinter_->currentText();
    return c;
}

} // namespace qvs
