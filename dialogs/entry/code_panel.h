// The editor's one-time-code frame: the secret (base32 or an otpauth://totp/
// address, typed, pasted or read from a QR code image), the code it gives
// now with the seconds it has left, updated each second, and a copy button.
#pragma once

#include "store/totp.h"

#include <QGroupBox>

#include <optional>
#include <string>

class QLineEdit;
class QPushButton;

namespace qvs {

class CodeDisplay;

class CodePanel : public QGroupBox {
    Q_OBJECT
public:
    explicit CodePanel(QWidget* parent);

    // The entry's stored secret (an address, or "").
    void SetStored(const std::string& stored);
    // What to store: the filled value while the box is untouched, "" for an
    // empty box, else the address of the secret typed (or the text itself
    // when it does not parse; Problem() tells why).
    std::string Stored() const;
    // Why the box's text cannot be stored; None when it can.
    ardeko::TotpError Problem() const;

    QLineEdit* Box() const { return box_; }
    // A lock takes the stored value as it came and wipes the panel's copies
    // of it (the lock empties the box itself); the unlock gives it back.
    std::string TakeForLock();
    void PutBackAfterLock(std::string filled);
    // Reads a QR code image chosen in a file dialog.
    void ReadImage();
    // The same for a known file; false (after saying why) when it holds no
    // one-time-code address.
    bool ReadImageFile(const QString& path);
    // The code shown now; "" when there is none.
    QString ShownCode() const;
    void UpdateCode();

private:
    void Build();

    QLineEdit* box_;
    QPushButton* read_;
    CodeDisplay* display_;
    std::string filled_; // the stored value as it came
    QString filledText_; // what the box showed for it
};

} // namespace qvs
