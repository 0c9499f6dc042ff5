// What the main window shows while the open file is locked: the file's name
// and a box for its password.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qvs {

class LockedView : public QWidget {
    Q_OBJECT
public:
    explicit LockedView(QWidget* parent = nullptr);

    // Ready for a password, naming the file.
    void Prepare(const QString& fileName);
    // The password was refused: say so and ask again.
    void ShowWrongPassword();

    QLineEdit* txtPassword() const { return txtPassword_; }
    QPushButton* cmdUnlock() const { return cmdUnlock_; }
    QLabel* lblFile() const { return lblFile_; }
    QLabel* lblWrong() const { return lblWrong_; }

signals:
    void unlockRequested(const QString& password);

private:
    void OnUnlock();

    QLabel* lblFile_;
    QLineEdit* txtPassword_;
    QPushButton* cmdUnlock_;
    QLabel* lblWrong_;
};

} // namespace qvs
