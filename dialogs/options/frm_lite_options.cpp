#include "dialogs/options/frm_lite_options.h"

#include "dialogs/files/choose_data_file.h"
#include "dialogs/options/option_choosers.h"
#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/named_widget.h"
#include "frame/window_placement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qvs {

namespace {

const QString kPlacementName = QStringLiteral("frmLiteOptions");

QString Id(int textId) {
    return QString::number(textId);
}

QFormLayout* Group(int textId, QLayout* layout) {
    auto* group = new QGroupBox(Id(textId));
    layout->addWidget(group);
    auto* form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return form;
}

QComboBox* Chooser(const char* name, std::span<const ChooserItem> items) {
    auto* box = Named(new QComboBox, name);
    FillChooser(box, items);
    return box;
}

} // namespace

frmLiteOptions::frmLiteOptions(QWidget* parent) : OptionDialog(parent) {
    setObjectName(QStringLiteral("frmLiteOptions"));
    setWindowTitle(Id(text::kLiteOptionsCaption));
    auto* layout = new QVBoxLayout(this);
    BuildStartup(layout);
    BuildSecurityAndTray(layout);
    BuildKeys(layout);
    layout->addLayout(ButtonRow());
    LocalizeForm(this);
    connect(chkLastOpened_, &QCheckBox::toggled, this, &frmLiteOptions::EnableFileBox);
    connect(cmdBrowse_, &QPushButton::clicked, this, &frmLiteOptions::Browse);
    connect(this, &QDialog::finished, this, [this] { SaveWindowPlacement(this, kPlacementName); });
    ShowSettings();
    EnableFileBox();
    adjustSize();
    RestoreWindowPlacement(this, kPlacementName);
}

void frmLiteOptions::BuildStartup(QLayout* layout) {
    QFormLayout* form = Group(text::kLiteStartupGroup, layout);
    auto* autostart = Named(new QCheckBox(Id(text::kLiteAutoStart)), "chkAutostart");
    chkLastOpened_ = Named(new QCheckBox(Id(text::kLiteLastOpened)), "chkLastOpened");
    txtFile_ = Named(new QLineEdit, "txtFile");
    cmdBrowse_ = Named(new QPushButton(Id(text::kLiteBrowse)), "cmdBrowse");
    cmdBrowse_->setAutoDefault(false);
    form->addRow(autostart);
    form->addRow(chkLastOpened_);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(txtFile_, 1);
    fileRow->addWidget(cmdBrowse_);
    auto* fileLabel = new QLabel(Id(text::kLiteFileLabel));
    fileLabel->setBuddy(txtFile_);
    form->addRow(fileLabel, fileRow);
    Bindings().Check(autostart, &Options::AutoStart);
    Bindings().Check(chkLastOpened_, &Options::LoadLastOpen);
    Bindings().Custom([this](const Options& o) { txtFile_->setText(o.FileToLoad); },
                      [this](Options& o) { o.FileToLoad = txtFile_->text().trimmed(); });
}

void frmLiteOptions::BuildSecurityAndTray(QLayout* layout) {
    QComboBox* level = Chooser("cbSecurity", SecurityItems(true));
    Group(10550, layout)->addRow(Id(10551), level);
    Bindings().Chooser(level, &Options::SecurityLevel);

    QFormLayout* tray = Group(10350, layout);
    auto* icons = Named(new QCheckBox(Id(10301)), "chkViewIcon");
    QComboBox* click = Chooser("cbSystray2", TrayClickItems(true));
    QComboBox* show = Chooser("cbSystrayShow", TrayShowItems());
    tray->addRow(icons);
    tray->addRow(Id(10358), click);
    tray->addRow(Id(10351), show);
    Bindings().Check(icons, &Options::ViewMenuIcon);
    Bindings().Chooser(click, &Options::SysTrayPWDefault);
    Bindings().Chooser(show, &Options::SysTrayShow);
}

void frmLiteOptions::BuildKeys(QLayout* layout) {
    QFormLayout* keys = Group(10500, layout);
    auto* before =
        new KeySettingChooser(QStringLiteral("cbBefore"), QStringLiteral("txtbefore"), this);
    auto* after =
        new KeySettingChooser(QStringLiteral("cbAfter"), QStringLiteral("txtAfter"), this);
    keys->addRow(Id(10501), before);
    keys->addRow(Id(10506), after);
    QComboBox* fields = Chooser("cbLoginFields", LoginFieldItems());
    keys->addRow(Id(35103), fields);
    Bindings().Chooser(fields, &Options::LoginFields);
    Bindings().Key(before, &Options::KeyBeforeCB, &Options::KeyBefore);
    Bindings().Key(after, &Options::KeyAfterCB, &Options::KeyAfter);
}

// A fixed file to open matters only while the last opened one is not used.
void frmLiteOptions::EnableFileBox() {
    const bool fixedFile = !chkLastOpened_->isChecked();
    txtFile_->setEnabled(fixedFile);
    cmdBrowse_->setEnabled(fixedFile);
}

void frmLiteOptions::Browse() {
    const QString chosen = ChooseDataFile(false);
    if (!chosen.isEmpty()) txtFile_->setText(chosen);
}

} // namespace qvs
