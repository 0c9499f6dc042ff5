// The small question window of the main window's commands: a name to type.
// Shown through the modal stack, captions localised.
#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;

namespace qvs {

class frmInputBox : public QDialog {
    Q_OBJECT
public:
    frmInputBox(const QString& prompt, const QString& title, QWidget* parent);

    QLineEdit* txtInput() const { return txtInput_; }

private:
    QLabel* lblPrompt_;
    QLineEdit* txtInput_;
};

// The typed text, or none when cancelled.
std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                const QString& text = QString());

} // namespace qvs
