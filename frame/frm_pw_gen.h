// The password generator: a small dialog that proposes a password or a
// passphrase and lets the user change the length and kinds of characters
// until it suits the service.
#pragma once

#include "store/passwords/password_generator.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace qvs {

using ardeko::GeneratorOptions;

class StrengthMeter;

class frmPwGen : public QDialog {
    Q_OBJECT
public:
    explicit frmPwGen(QWidget* parent = nullptr);

    GeneratorOptions Options() const;
    void SetOptions(const GeneratorOptions& options);
    // What OK hands over.
    QString Result() const;

public slots:
    // Draws a new proposal with the options shown.
    void Generate();

private:
    void EnableControls();

    QRadioButton* optCharacters_;
    QRadioButton* optPassphrase_;
    QSpinBox* txtLength_;
    QCheckBox* chkCapitals_;
    QCheckBox* chkSmall_;
    QCheckBox* chkDigits_;
    QCheckBox* chkSymbols_;
    QCheckBox* chkLookAlikes_;
    QSpinBox* txtWords_;
    QLineEdit* txtResult_;
    StrengthMeter* strength_;
    QPushButton* cmdNew_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
    std::vector<std::string> words_;
    bool setting_ = false;
};

// Shows the generator on the modal-window stack; the chosen password, or
// none when cancelled. The options chosen are kept for the next time.
std::optional<QString> RunPasswordGenerator(QWidget* parent);
// A password (or passphrase) with the options the generator was last used
// with in this run, without showing it: for a request from elsewhere.
std::string GenerateWithLastOptions();

} // namespace qvs
