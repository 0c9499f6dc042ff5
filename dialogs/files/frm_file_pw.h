// Asks for the password of a data file: to open it, to give a file a new
// password, or to change the password of the open file.
#pragma once

#include "frame/modal_stack.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ardeko {
class clsPW;
}

namespace qvs {

class OpenTimer;

class frmFilePW : public QDialog {
    Q_OBJECT
public:
    // Owned by the top dialog, or the main window, unless told otherwise.
    explicit frmFilePW(QWidget* parent = DialogOwner());

    // Enter mode: the typed password, or "" when cancelled.
    QString controlla();
    // The same, naming the file whose password is asked for.
    QString controlla(const QString& path);
    // Set mode: cannot be left until the same password was typed twice.
    QString nuova();
    // Change mode: checks the old password against store and gives it the
    // new one, with a slower key derivation when the user asked for one
    // (stronger: that box starts ticked). True when the password was changed.
    bool changepw(ardeko::clsPW& store, bool stronger = false);

    // Accepts the new password when both boxes hold the same text.
    void PasswordCorretta();
    bool Cancelled() const { return cancelled_; }
    // The password the last confirmation gave ("" after a cancel).
    const QString& Password() const { return result_; }

public slots:
    // Escape: Cancel where the window offers it, nothing otherwise.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Mode { Enter, Set, Change };

    QString Run(Mode mode);
    void SetMode(Mode mode);
    void OnOK();
    void OnCancel();
    void Unload();

    void ShowFile(const QString& path);
    void ShowOpenTime();
    void ChangePassword();
    void ShowMakingKey();

    Mode mode_ = Mode::Enter;
    QString result_;
    bool cancelled_ = true;
    bool closeLock_ = true; // the frame may not close the window while set
    ardeko::clsPW* store_ = nullptr;
    bool strongerTicked_ = false; // the box's state when the window opens
    QLabel* lblFile_;
    QLabel* Label1_;
    QLabel* Label2_;
    QLabel* Label3_;
    QLineEdit* txtPW1_;
    QLineEdit* txtPW2_;
    QLineEdit* txtPW3_;
    QCheckBox* chkStronger_;
    QLabel* lblOpenTime_;
    OpenTimer* openTimer_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
};

} // namespace qvs
