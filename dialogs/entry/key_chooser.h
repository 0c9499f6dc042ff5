// One auto-typing key of an entry: a choice of TAB, ENTER, nothing or another
// key, with a box for that other key's character.
#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;

namespace qvs {

class KeyChooser : public QWidget {
    Q_OBJECT
public:
    // Values of the choices; kOtherKey takes the character in the box.
    static constexpr int kTab = 8;
    static constexpr int kEnter = 13;
    static constexpr int kNoKey = 0;
    static constexpr int kOtherKey = -1;

    KeyChooser(const char* comboName, const char* boxName, QWidget* parent);

    // A setting's choice and character (the new-entry defaults).
    void SetChoice(int value, const QString& character);
    // A packed key code: TAB, ENTER and nothing select their choice, any
    // other code is a character of the data file's code page.
    void SetCode(int code);
    // The code to pack; 0 for another key with no storable character.
    int Code() const;

    enum class Problem { None, NoCharacter, Unstorable };
    Problem Check() const;

    QComboBox* Combo() const { return combo_; }
    QLineEdit* Box() const { return box_; }

private:
    int Choice() const;
    void EnableBox();

    QComboBox* combo_;
    QLineEdit* box_;
};

} // namespace qvs
