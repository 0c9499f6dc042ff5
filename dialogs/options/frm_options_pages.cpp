// The seven pages of the options window and which setting each control edits.
// Captions are text numbers, replaced when the window is localised.
#include "dialogs/options/frm_options.h"

#include "dialogs/options/browser_page.h"
#include "dialogs/options/history_size_box.h"
#include "dialogs/options/option_choosers.h"
#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/named_widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qvs {

namespace {

// An hour of seconds and a day of minutes: longer delays protect nothing.
constexpr int kClipboardClearMax = 3600;
constexpr int kLockIdleMax = 1440;
// Numbers of a few digits need no more room than this.
constexpr int kNumberBoxWidth = 110;

QString Id(int textId) {
    return QString::number(textId);
}

QCheckBox* Check(const char* name, int textId, QWidget* parent) {
    return Named(new QCheckBox(Id(textId), parent), name);
}

QComboBox* Chooser(const char* name, std::span<const ChooserItem> items, QWidget* parent) {
    auto* box = Named(new QComboBox(parent), name);
    FillChooser(box, items);
    return box;
}

QSpinBox* NumberBox(const char* name, int maximum, QWidget* parent) {
    auto* box = Named(new QSpinBox(parent), name);
    box->setRange(0, maximum);
    box->setMaximumWidth(kNumberBoxWidth);
    return box;
}

QGroupBox* Group(int textId, QWidget* page) {
    auto* group = new QGroupBox(Id(textId), page);
    page->layout()->addWidget(group);
    return group;
}

QVBoxLayout* Column(QGroupBox* group) {
    return new QVBoxLayout(group);
}

QFormLayout* Form(QGroupBox* group) {
    auto* form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return form;
}

QLabel* AddRow(QFormLayout* form, int textId, QWidget* field) {
    auto* label = new QLabel(Id(textId));
    label->setBuddy(field);
    form->addRow(label, field);
    return label;
}

QLabel* Note(int textId, QWidget* parent) {
    auto* label = new QLabel(Id(textId), parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

QWidget* frmOptions::AddPage(int textId, const char* key) {
    auto* page = Named(new QWidget(SSTab1_), key);
    page->setProperty("tag", textId);
    new QVBoxLayout(page);
    SSTab1_->addTab(page, Id(textId));
    return page;
}

void frmOptions::BuildStartupPage() {
    QWidget* page = AddPage(10001, "STARTUP");
    QGroupBox* group = Group(10100, page);
    QVBoxLayout* column = Column(group);
    for (int i = 0; i < 4; ++i) {
        optStart_[size_t(i)] = new QRadioButton(Id(10101 + i), group);
        optStart_[size_t(i)]->setObjectName(QStringLiteral("optStart%1").arg(i));
        column->addWidget(optStart_[size_t(i)]);
    }
    Bindings().Custom(
        [this](const Options& o) {
            optStart_[size_t(qBound(0, o.StartupType, 3))]->setChecked(true);
        },
        [this](Options& o) {
            for (int i = 0; i < 4; ++i)
                if (optStart_[size_t(i)]->isChecked()) o.StartupType = i;
        });
    const std::pair<const char*, bool Options::*> checks[] = {
        {"chkAutoSaveWin", &Options::AutoSaveWin},
        {"chkAutoLoadWin", &Options::AutoLoadWin},
        {"chkWizard", &Options::ViewWizard},
        {"chkTips", &Options::ViewTips},
    };
    int textId = 10105;
    for (const auto& [name, setting] : checks) {
        QCheckBox* box = Check(name, textId++, group);
        column->addWidget(box);
        Bindings().Check(box, setting);
    }
    chkWizard_ = group->findChild<QCheckBox*>(QStringLiteral("chkWizard"));
    // The splash always shows: the box cannot turn it off.
    QCheckBox* splash = Check("chkSplash", 10109, group);
    column->addWidget(splash);
    Bindings().Custom([splash](const Options&) { splash->setChecked(true); }, [](Options&) {});
}

void frmOptions::BuildLoadSavePage() {
    QWidget* page = AddPage(10002, "LOADSAVE");
    QGroupBox* group = Group(10200, page);
    QFormLayout* form = Form(group);
    const std::pair<const char*, bool Options::*> checks[] = {
        {"chkAutoSaveData", &Options::AutoSaveData},
        {"chkAutoLoadData", &Options::AutoLoadData},
        {"chkExpire", &Options::AutoCheck},
    };
    int textId = 10201;
    for (const auto& [name, setting] : checks) {
        QCheckBox* box = Check(name, textId++, group);
        form->addRow(box);
        Bindings().Check(box, setting);
    }
    chkAutoLoadData_ = group->findChild<QCheckBox*>(QStringLiteral("chkAutoLoadData"));
    txthistory_ = Named(new HistorySizeBox(group), "txthistory");
    txthistory_->setMaximumWidth(kNumberBoxWidth);
    AddRow(form, 10204, txthistory_);
    Bindings().Custom([this](const Options& o) { txthistory_->setValue(o.HistorySize); },
                      [this](Options& o) {
                          o.HistorySize = ClampHistorySize(txthistory_->cleanText());
                          txthistory_->setValue(o.HistorySize);
                      });
    cbBackup_ = Named(new QComboBox(group), "cbBackup");
    cbBackup_->addItems({Id(10205), Id(10206), Id(10207)});
    AddRow(form, 10208, cbBackup_);
    BindBackup();
}

// The backup chooser's position (1 to 3) stands for both backup settings.
void frmOptions::BindBackup() {
    Bindings().Custom(
        [this](const Options& o) {
            cbBackup_->setCurrentIndex(!o.BackupFile ? 0 : (o.BackupHistory ? 2 : 1));
        },
        [this](Options& o) {
            const int position = cbBackup_->currentIndex() + 1;
            o.BackupFile = position >= 2;
            o.BackupHistory = position == 3;
        });
}

void frmOptions::BuildViewPage() {
    QWidget* page = AddPage(10003, "VIEWSYSTRAY");
    QGroupBox* view = Group(10300, page);
    QFormLayout* form = Form(view);
    const std::pair<const char*, bool Options::*> checks[] = {
        {"chkViewIcon", &Options::ViewMenuIcon}, {"chkNotes", &Options::ShowNotes},
        {"chkFileName", &Options::ViewFileName}, {"chkViewExpChg", &Options::ViewExpChg},
        {"chkTV", &Options::ShowCatSub},
    };
    int textId = 10301;
    for (const auto& [name, setting] : checks) {
        QCheckBox* box = Check(name, textId++, view);
        form->addRow(box);
        Bindings().Check(box, setting);
    }
    QComboBox* action = Chooser("cbAction", GridActionItems(), view);
    AddRow(form, 10306, action);
    Bindings().Chooser(action, &Options::DefaultGridAction);

    QFormLayout* tray = Form(Group(10350, page));
    QComboBox* show = Chooser("cbSystrayShow", TrayShowItems(), page);
    QComboBox* item = Chooser("cbSystray", TrayDefaultItems(), page);
    QComboBox* click = Chooser("cbSystray2", TrayClickItems(false), page);
    AddRow(tray, 10351, show);
    AddRow(tray, 10355, item);
    AddRow(tray, 10358, click);
    Bindings().Chooser(show, &Options::SysTrayShow);
    Bindings().Chooser(item, &Options::SysTrayDef);
    Bindings().Chooser(click, &Options::SysTrayPWDefault);
    QCheckBox* url = Check("chkURLTray", 10366, page);
    tray->addRow(url);
    Bindings().Check(url, &Options::GTSAfterURL);
    QCheckBox* remind = Check("chkRemindDue", text::kRemindDue, page);
    tray->addRow(remind);
    Bindings().Check(remind, &Options::RemindDue);
}

void frmOptions::BuildDefaultAddPage() {
    QWidget* page = AddPage(10004, "DEFAULTADD");
    QFormLayout* form = Form(Group(10400, page));
    const char* names[] = {"txtDExpire", "txtDChange", "txtNExpire", "txtNChange"};
    for (size_t i = 0; i < dayBoxes_.size(); ++i) {
        dayBoxes_[i] = Named(new QLineEdit(page), names[i]);
        dayBoxes_[i]->setMaximumWidth(kNumberBoxWidth);
        dayLabels_[i] = AddRow(form, 10401 + int(i), dayBoxes_[i]);
    }
    BindDayBoxes();
}

void frmOptions::BuildKeyPage() {
    QWidget* page = AddPage(10005, "DEFAULTKEY");
    QFormLayout* security = Form(Group(10550, page));
    QComboBox* level = Chooser("cbSecurity", SecurityItems(false), page);
    AddRow(security, 10551, level);
    Bindings().Chooser(level, &Options::SecurityLevel);
    QSpinBox* kept = NumberBox("txtPwHistory", kPwHistoryMax, page);
    AddRow(security, 35133, kept);
    Bindings().Number(kept, &Options::PwHistoryLimit);

    QFormLayout* keys = Form(Group(10500, page));
    auto* before =
        new KeySettingChooser(QStringLiteral("cbBefore"), QStringLiteral("txtbefore"), page);
    auto* after =
        new KeySettingChooser(QStringLiteral("cbAfter"), QStringLiteral("txtAfter"), page);
    AddRow(keys, 10501, before);
    AddRow(keys, 10506, after);
    QComboBox* fields = Chooser("cbLoginFields", LoginFieldItems(), page);
    AddRow(keys, 35103, fields);
    Bindings().Chooser(fields, &Options::LoginFields);
    Bindings().Key(before, &Options::KeyBeforeCB, &Options::KeyBefore);
    Bindings().Key(after, &Options::KeyAfterCB, &Options::KeyAfter);
    BuildLockGroup(page);
}

void frmOptions::BuildLockGroup(QWidget* page) {
    QGroupBox* group = Group(text::kLockGroup, page);
    QFormLayout* form = Form(group);
    QSpinBox* clear = NumberBox("txtClipboardClear", kClipboardClearMax, group);
    QSpinBox* idle = NumberBox("txtLockIdle", kLockIdleMax, group);
    AddRow(form, text::kClipboardClearLabel, clear);
    AddRow(form, text::kLockIdleLabel, idle);
    Bindings().Number(clear, &Options::ClipboardClearSecs);
    Bindings().Number(idle, &Options::LockIdleMinutes);
    QCheckBox* session = Check("chkLockSession", text::kLockWithSession, group);
    form->addRow(session);
    Bindings().Check(session, &Options::LockOnSessionLock);
    if (!context_.sessionLockAvailable) {
        // The setting is kept for a desktop that reports it.
        session->setEnabled(false);
        form->addRow(Named(Note(text::kNoSessionSignal, group), "lblNoSessionSignal"));
    }
    form->addRow(Named(Note(text::kNoPasswordNoLock, group), "lblNoPasswordNoLock"));
}

void frmOptions::BuildLanguagePage() {
    QWidget* page = AddPage(10006, "LANGUAGE");
    QGroupBox* group = Group(10600, page);
    QVBoxLayout* column = Column(group);
    grdlanguage_ = Named(new QTreeWidget(group), "grdlanguage");
    grdlanguage_->setColumnCount(2);
    grdlanguage_->setHeaderHidden(true);
    grdlanguage_->setRootIsDecorated(false);
    grdlanguage_->setColumnHidden(1, true); // "KEY": the language code
    column->addWidget(grdlanguage_);
    cmdLanguage_ = Named(new QPushButton(Id(10601), group), "cmdLanguage");
    cmdLanguage_->setAutoDefault(false);
    column->addWidget(cmdLanguage_, 0, Qt::AlignRight);
    FillLanguages();
}

void frmOptions::BuildBrowserPage() {
    QWidget* page = AddPage(text::kBrowserPage, "BROWSER");
    browserPage_ = new BrowserOptionsPage(page, Bindings());
}

void frmOptions::FillLanguages() {
    for (const QString& code : AvailableLanguages()) {
        auto* row = new QTreeWidgetItem(grdlanguage_, {LanguageDisplayName(code), code});
        if (code == CurrentLanguage()) grdlanguage_->setCurrentItem(row);
    }
}

} // namespace qvs
