// The options window of QVS: seven pages of settings, the language chooser,
// and the settings for clearing copied passwords and locking the open file.
#pragma once

#include "dialogs/options/option_dialog.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;

namespace qvs {

class BrowserOptionsPage;
class HistorySizeBox;
class KeyChooser;

// What the window cannot find out for itself.
struct OptionsContext {
    // Whether the desktop reports when its session locks.
    bool sessionLockAvailable = false;
};

class frmOptions : public OptionDialog {
    Q_OBJECT
public:
    static constexpr int kPages = 7;

    explicit frmOptions(OptionsContext context = {}, QWidget* parent = DialogOwner());

    QTabWidget* SSTab1() const { return SSTab1_; }
    QRadioButton* optStart(int index) const { return optStart_[size_t(index)]; }
    QComboBox* cbBackup() const { return cbBackup_; }
    HistorySizeBox* txthistory() const { return txthistory_; }
    QLineEdit* DayBox(int index) const { return dayBoxes_[size_t(index)]; }
    QTreeWidget* grdlanguage() const { return grdlanguage_; }
    QPushButton* cmdLanguage() const { return cmdLanguage_; }
    BrowserOptionsPage* BrowserPage() const { return browserPage_; }

    // Stores the language of the selected row for the next start.
    void StoreLanguage();

protected:
    bool CheckControls() override;
    void AdjustStored(Options& options) override;

private:
    QWidget* AddPage(int textId, const char* key);
    void BuildStartupPage();
    void BuildLoadSavePage();
    void BuildViewPage();
    void BuildDefaultAddPage();
    void BuildKeyPage();
    void BuildLockGroup(QWidget* page);
    void BuildLanguagePage();
    void BuildBrowserPage();
    void BindBackup();
    void BindDayBoxes();
    void FillLanguages();
    void Connect();
    void OnPageChanged(int index);
    void OnStartChosen(int index);

    OptionsContext context_;
    QTabWidget* SSTab1_;
    std::array<QWidget*, kPages> pageFocus_{};
    std::array<QRadioButton*, 4> optStart_{};
    QCheckBox* chkAutoLoadData_ = nullptr;
    QCheckBox* chkWizard_ = nullptr;
    QComboBox* cbBackup_ = nullptr;
    HistorySizeBox* txthistory_ = nullptr;
    // txtDExpire, txtDChange, txtNExpire, txtNChange
    std::array<QLineEdit*, 4> dayBoxes_{};
    std::array<QLabel*, 4> dayLabels_{};
    QTreeWidget* grdlanguage_ = nullptr;
    QPushButton* cmdLanguage_ = nullptr;
    BrowserOptionsPage* browserPage_ = nullptr;
};

// The options command of the main window.
void ShowOptions(OptionsContext context);

} // namespace qvs
