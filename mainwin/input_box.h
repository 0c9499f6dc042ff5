// Small question windows of the main window's commands: a name to type, or a
// category to choose. Shown through the modal stack, captions localised.
#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace qvs {

class frmInputBox : public QDialog {
    Q_OBJECT
public:
    // A text box (typed name) or, with choices, a drop-down list.
    frmInputBox(const QString& prompt, const QString& title, QWidget* parent);

    QLineEdit* txtInput() const { return txtInput_; }
    QComboBox* cboChoice() const { return cboChoice_; }
    void UseChoices();

private:
    QLabel* lblPrompt_;
    QLineEdit* txtInput_;
    QComboBox* cboChoice_;
};

// The typed text, or none when cancelled.
std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                const QString& text = QString());

// The code of the chosen category, or none when cancelled or when there is
// nothing to choose. The category with code except is not offered.
std::optional<std::int16_t> ChooseCategory(const QString& prompt, const QString& title,
                                           std::int16_t except);

} // namespace qvs
