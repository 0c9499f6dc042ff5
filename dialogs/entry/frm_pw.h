// The entry editor: the window in which one entry is created or changed, on
// seven pages (general, extended, web addresses, expiry, notes, one-time code
// and earlier passwords, extra fields). It creates
// missing categories and subcategories on request, checks the input when the
// user confirms, and saves through the store's PWAdd or PWEdit.
//
// The window is modeless but sits on the modal-window stack, so its owner
// takes no input while it is open. Each opening uses a new window, which
// deletes itself when closed.
#pragma once

#include "frame/modal_stack.h"
#include "store/merge/entry_rebase.h"
#include "store/records.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace qvs {

class CodePanel;
class CustomFieldsPanel;
class DueDateFrame;
class HistoryPanel;
class KeyChooser;
class StrengthMeter;
class frmCalendar;

class frmPW : public QDialog {
    Q_OBJECT
public:
    enum class Mode { New, Modify, Paste };

    explicit frmPW(QWidget* parent = DialogOwner());
    ~frmPW() override;

    // A new entry, proposed in this category and subcategory.
    void PasswordAdd(std::int16_t cat, std::int16_t scat);
    // The entry of service; false, and nothing shown, when there is none.
    bool PasswordEdit(const QString& service);
    // A new entry filled from a copied one, without its service name.
    void PasswordPasteNew(const ardeko::T_Password& record);

    Mode CurrentMode() const { return mode_; }
    // Whether the controls differ from what the window was filled with.
    bool HasChanges() const;

    // A lock hides the window with its input kept, off the window stack so
    // that the lock screen takes the password; after the unlock it comes
    // back as it was.
    void HoldForLock();
    void ResumeAfterLock();
    // Locked means sealed: the lock takes every copy of the entry the window
    // holds (the input boxes' texts, the entry as opened and as filled, the
    // earlier passwords, extra fields and one-time-code secret), leaving
    // them wiped, to seal them with the store; the unlock gives them back
    // and the window shows the user's unsaved input again.
    std::vector<std::string> TakeForLock();
    void PutBackAfterLock(std::vector<std::string>& taken);

public slots:
    // OK: check, save, close on success.
    void accept() override;
    // Cancel or Escape: close, after asking when something was changed.
    void reject() override;
    // Check, save, and start over with a new entry in the same category.
    void Another();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Building the window.
    void BuildPages();
    QWidget* BuildGeneralPage();
    QWidget* BuildExtendedPage();
    QWidget* BuildUrlPage();
    QWidget* BuildExpiryPage();
    QWidget* BuildNotesPage();
    QWidget* BuildCodesPage();
    QWidget* BuildFieldsPage();
    QWidget* BuildCategoryFrame(QWidget* page);
    QWidget* BuildEntryFrame(QWidget* page);
    void BuildButtons();
    void Connect();
    void ApplySecurityLevel();
    void OnPageChanged(int page);

    // Filling and reading the controls.
    void Open(Mode mode);
    void NewEntryDefaults();
    void FillFromRecord(const ardeko::T_Password& record);
    void ShowTimes(double inserted, double modified);
    // The record as the controls describe it, on top of the working record.
    ardeko::T_Password FromControls() const;

    // Category and subcategory boxes.
    void FillCategories();
    void FillSubCategories();
    void SetCategoryTexts(const QString& category, const QString& subcategory);
    void AddCategory();
    void AddSubCategory();
    bool NameStorable(QComboBox* box, int captionId);

    // Confirming.
    bool Validate();
    bool CheckTexts();
    bool CheckKeys();
    bool CheckCode();
    bool CheckFields();
    bool Save();
    // An edited entry against the store now (see frm_pw_rebase.cpp).
    enum class Fit { Replace, Add, Drop, Back };
    const ardeko::T_Password* EntryNow() const;
    Fit FitToStore(ardeko::T_Password& record);
    bool AddConflictCopy(double now);
    // The category boxes again from the store, their texts kept: the store
    // may have been replaced since the window was filled.
    void RefillCategoryBoxes();
    // True when nothing was changed or the user lets the changes go.
    bool ConfirmDiscard();
    void ShowProblemAt(QWidget* control);
    void OpenAddress(int index);
    void OpenGenerator();
    // An earlier password chosen as the password again.
    void RestorePassword(const QString& password);
    // The earlier passwords, extra fields and one-time-code secret, out of
    // their panels, which are left empty; the caller wipes them.
    ardeko::T_Password TakePanels();

    Mode mode_ = Mode::New;
    ardeko::T_Password working_;
    std::string formerService_;
    std::int16_t formerCat_ = 0;
    std::int16_t formerSCat_ = 0;
    ardeko::T_Password filled_;                       // what HasChanges compares with
    ardeko::PlacedEntry opened_;                      // the entry as the window was filled from it
    std::optional<ardeko::PlacedEntry> conflictCopy_; // "keep both": the user's version
    bool loading_ = false;
    bool changed_ = false; // a category or subcategory was added here
    QString lastSaved_;    // the service saved last, for the main window
    bool closing_ = false; // closing after a confirmed cancel or a save
    std::optional<ModalStackEntry> stackEntry_;

    frmCalendar* picker_;
    QTabWidget* sstPassword_ = nullptr;
    QComboBox* cboCateg_ = nullptr;
    QComboBox* cboSCateg_ = nullptr;
    QPushButton* cmdAddCat_ = nullptr;
    QPushButton* cmdAddSubCat_ = nullptr;
    QLineEdit* txtService_ = nullptr;
    QLineEdit* txtName_ = nullptr;
    QLineEdit* txtPw_ = nullptr;
    QLineEdit* txtPW2_ = nullptr;
    QLabel* lblPW2_ = nullptr;
    QToolButton* cmdGenerate_ = nullptr;
    StrengthMeter* strength_ = nullptr;
    QLineEdit* txtEmail_ = nullptr;
    QCheckBox* chkFav_ = nullptr;
    QLabel* lblInsert_ = nullptr;
    QLabel* lblModif_ = nullptr;
    QLineEdit* txtSentence_ = nullptr;
    KeyChooser* before_ = nullptr;
    KeyChooser* after_ = nullptr;
    QLineEdit* txtURL_[3] = {};
    DueDateFrame* expire_ = nullptr;
    DueDateFrame* change_ = nullptr;
    QPlainTextEdit* txtNotes_ = nullptr;
    CodePanel* codes_ = nullptr;
    HistoryPanel* history_ = nullptr;
    QLabel* lblFormat_ = nullptr; // the older format holds neither
    CustomFieldsPanel* fields_ = nullptr;
    QLabel* lblFieldsFormat_ = nullptr; // nor extra fields
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QPushButton* cmdAnother_ = nullptr;
};

// The editor's entry points, for every command that opens it: each opens a
// new window and returns it (nullptr when there is no such entry to edit).
// Its owner is the main window, never the dialog it was opened from: a
// dialog that goes first (the expiry list, closed or locked) would take the
// editor and its unsaved input with it.
frmPW* PasswordAdd(std::int16_t cat, std::int16_t scat);
frmPW* PasswordEdit(const QString& service);
frmPW* PasswordPasteNew(const ardeko::T_Password& record);

} // namespace qvs
