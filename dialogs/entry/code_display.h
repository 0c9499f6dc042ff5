// The current one-time code of a stored secret with the seconds it has left,
// updated each second, and a button that copies it as a secret. The owner
// lays the three widgets out where its window wants them.
#pragma once

#include <QObject>
#include <QString>

#include <string>

class QLabel;
class QPushButton;
class QTimer;
class QWidget;

namespace qvs {

class CodeDisplay : public QObject {
    Q_OBJECT
public:
    // The widgets are children of parent; copyTextId names the button's text.
    CodeDisplay(QWidget* parent, const char* copyTextId);

    // The secret as stored (an address), or "" for no code.
    void SetStored(std::string stored);
    // The code shown now; "" when there is none.
    QString ShownCode() const;
    void UpdateCode();

    QLabel* Code() const { return code_; }
    QLabel* Left() const { return left_; }
    QPushButton* CopyButton() const { return copy_; }

private:
    void CopyCode();

    QLabel* code_;
    QLabel* left_;
    QPushButton* copy_;
    QTimer* timer_;
    std::string stored_;
};

} // namespace qvs
