#include "dialogs/options/frm_options.h"

#include "dialogs/options/browser_page.h"
#include "dialogs/options/history_size_box.h"
#include "dialogs/text_ids.h"
#include "frame/help.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/program_identity.h"
#include "frame/window_placement.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTreeWidget>

#include <optional>

namespace qvs {

namespace {

const QString kPlacementName = QStringLiteral("frmOptions");
// Pages 1 to 7 have the help topics 45 to 51.
constexpr int kFirstHelpTopic = 45;
constexpr int kMaxDayCount = 32767;

// A whole number of days from 0 to 32,767; blanks around it are allowed.
std::optional<int> DayCount(const QString& text) {
    bool isNumber = false;
    const int value = text.trimmed().toInt(&isNumber);
    if (!isNumber || value < 0 || value > kMaxDayCount) return std::nullopt;
    return value;
}

// A label's text as a message names it: without the access key mark and
// the colon.
QString BoxName(const QLabel* label) {
    QString name = label->text();
    name.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    while (name.endsWith(u':') || name.endsWith(u' '))
        name.chop(1);
    return name;
}

} // namespace

frmOptions::frmOptions(OptionsContext context, QWidget* parent)
    : OptionDialog(parent), context_(context), SSTab1_(new QTabWidget(this)) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("10000"));
    SSTab1_->setObjectName(QStringLiteral("SSTab1"));
    // Every page's caption stays in sight: each carries an access key.
    SSTab1_->setUsesScrollButtons(false);
    BuildStartupPage();
    BuildLoadSavePage();
    BuildViewPage();
    BuildDefaultAddPage();
    BuildKeyPage();
    BuildLanguagePage();
    BuildBrowserPage();
    for (int page = 0; page < SSTab1_->count(); ++page)
        static_cast<QBoxLayout*>(SSTab1_->widget(page)->layout())->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1_);
    layout->addLayout(ButtonRow());
    LocalizeForm(this);
    browserPage_->FitNote();
    Connect();
    ShowSettings();
    for (QRadioButton* option : optStart_)
        if (option->isChecked()) pageFocus_[0] = option;
    chkWizard_->setVisible(chkAutoLoadData_->isChecked());
    OnPageChanged(0);
    adjustSize(); // centred by its real size
    RestoreWindowPlacement(this, kPlacementName);
}

void frmOptions::Connect() {
    connect(SSTab1_, &QTabWidget::currentChanged, this, &frmOptions::OnPageChanged);
    connect(chkAutoLoadData_, &QCheckBox::toggled, chkWizard_, &QWidget::setVisible);
    for (int i = 0; i < int(optStart_.size()); ++i)
        connect(optStart_[size_t(i)], &QRadioButton::clicked, this,
                [this, i] { OnStartChosen(i); });
    connect(cmdLanguage_, &QPushButton::clicked, this, &frmOptions::StoreLanguage);
    connect(this, &QDialog::finished, this, [this] { SaveWindowPlacement(this, kPlacementName); });
    connect(this, &OptionDialog::applied, this, [] { NotifyBrowserConnectionChanged(); });
}

void frmOptions::BindDayBoxes() {
    int Options::*const settings[] = {&Options::ExpirationDays, &Options::ChangeDays,
                                      &Options::ExpirationNotify, &Options::ChangeNotify};
    for (size_t i = 0; i < dayBoxes_.size(); ++i) {
        QLineEdit* box = dayBoxes_[i];
        int Options::*setting = settings[i];
        Bindings().Custom(
            [box, setting](const Options& o) { box->setText(QString::number(o.*setting)); },
            [box, setting](Options& o) {
                o.*setting = DayCount(box->text()).value_or(o.*setting);
            });
    }
}

void frmOptions::OnPageChanged(int index) {
    SetHelpTopic(this, kFirstHelpTopic + index);
    if (QWidget* first = pageFocus_[size_t(index)]) first->setFocus();
}

// The start option also takes the focus when its page is shown again.
void frmOptions::OnStartChosen(int index) {
    pageFocus_[0] = optStart_[size_t(index)];
    if (index == 3 && !chkAutoLoadData_->isChecked())
        ShowMessage(GetLocalText(text::kWithSystemNeedsAutoLoad), vbOKOnly, ProgramName());
}

bool frmOptions::CheckControls() {
    for (size_t i = 0; i < dayBoxes_.size(); ++i) {
        if (DayCount(dayBoxes_[i]->text())) continue;
        SSTab1_->setCurrentWidget(SSTab1_->widget(3));
        ShowMessage(
            GetLocalText(text::kBadDayCount).replace(QLatin1String("%s"), BoxName(dayLabels_[i])),
            vbExclamation, ProgramName());
        dayBoxes_[i]->setFocus();
        dayBoxes_[i]->selectAll();
        return false;
    }
    return true;
}

void frmOptions::AdjustStored(Options& options) {
    options.ViewSplash = true;
    browserPage_->ApplyManifests(options);
}

void frmOptions::StoreLanguage() {
    const QTreeWidgetItem* row = grdlanguage_->currentItem();
    const QString code = row ? row->text(1) : QString();
    if (code.isEmpty() || !CanLoadLanguage(code)) {
        ShowMessage(GetLocalText(text::kLanguageNotFound), vbCritical, ProgramName());
        return;
    }
    if (!SaveLanguage(code.toUpper())) {
        ShowMessage(GetLocalText(text::kOptionsNotSaved), vbCritical, ProgramName());
        return;
    }
    ShowMessage(GetLocalText(text::kLanguageNextStart), vbInformation, ProgramName());
}

void ShowOptions(OptionsContext context) {
    frmOptions window(context);
    window.Run();
}

} // namespace qvs
