// How hard a password is to guess, as a bar and a few words under the
// password box, by the store's strength measure.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace qvs {

// Estimated bits of entropy (0 for an empty password).
double PasswordEntropyBits(const QString& password);

// "very weak" .. "very strong" for a level of the measure.
QString StrengthLevelText(int level);

class StrengthMeter : public QWidget {
    Q_OBJECT
public:
    explicit StrengthMeter(QWidget* parent = nullptr);

    // -1 while the password is empty.
    int Level() const { return level_; }

public slots:
    // An estimate from the password's look.
    void SetPassword(const QString& password);
    // The known strength of a generated password; the bits are shown too.
    void SetBits(double bits);

private:
    void Show(int level, const QString& words);

    QProgressBar* bar_;
    QLabel* words_;
    int level_ = -1;
};

} // namespace qvs
