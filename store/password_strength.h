// How hard a password is to guess, as a bar and a few words under the
// password box. The estimate looks for words, names, dates, keyboard runs and
// repeats rather than only counting character kinds.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace qvs {

// Estimated bits of entropy (0 for an empty password).
double PasswordEntropyBits(const QString& password);

// 0 very weak, 1 weak, 2 fair, 3 strong, 4 very strong.
int StrengthLevel(double bits);
inline constexpr int kStrongestLevel = 4;

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
