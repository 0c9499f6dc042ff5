// A small window that stays on top and shows one entry's user name and
// password, to copy either to the clipboard or drag it into another program,
// the entry's current one-time code when it has one, and its extra fields.
#pragma once

#include "frame/modal_stack.h"

#include <QPoint>
#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ardeko {
class clsPW;
}

namespace qvs {

class CodeDisplay;
class ExtraFieldRows;

class frmShowPW : public QWidget {
    Q_OBJECT
public:
    // The password is masked when securityLevel is 2.
    explicit frmShowPW(int securityLevel, QWidget* parent = nullptr);

    void SetSecurityLevel(int securityLevel);
    // Fills the window with the entry of service and shows it; false, and
    // nothing shown, when the store has no such entry.
    bool ShowPW(const ardeko::clsPW& store, const QString& service);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool OnBoxMouse(QLineEdit* box, QEvent* event);
    void StartDrag(QLineEdit* box);
    void ShowCodeRow(bool shown);

    QLineEdit* txtUser_;
    QLineEdit* txtPW_;
    QPushButton* cmdCPUser_;
    QPushButton* CMDCPPW_;
    QLabel* codeLabel_;
    CodeDisplay* code_;
    ExtraFieldRows* fields_;
    QLineEdit* dragBox_ = nullptr;
    QPoint dragStart_;
    std::optional<ModalStackEntry> stackEntry_; // while shown
};

// Opens a new window for the entry of service, one per call; it deletes
// itself when closed. nullptr when the store has no such entry.
frmShowPW* OpenShowPW(const ardeko::clsPW& store, const QString& service, int securityLevel,
                      QWidget* parent = nullptr);

} // namespace qvs
