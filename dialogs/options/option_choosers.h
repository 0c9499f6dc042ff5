// The choosers of the option windows of both programs: which items they offer
// and which stored value each item stands for, and the key chooser with its
// own-text box.
#pragma once

#include <QWidget>

#include <span>

class QComboBox;
class QLineEdit;

namespace qvs {

// An item: its language text and the value stored when it is chosen.
struct ChooserItem {
    int textId;
    int value;
};

// Value of the key choosers' item that asks for a text of the user's own.
inline constexpr int kOwnKeyValue = -1;

// The item lists. QVSLite offers only the values its tray can act on.
std::span<const ChooserItem> GridActionItems();
std::span<const ChooserItem> TrayShowItems();
std::span<const ChooserItem> TrayDefaultItems();
std::span<const ChooserItem> TrayClickItems(bool lite);
std::span<const ChooserItem> SecurityItems(bool lite);
std::span<const ChooserItem> KeyItems();
std::span<const ChooserItem> LoginFieldItems();

// Fills box with the items (value as item data) and selects the first one.
void FillChooser(QComboBox* box, std::span<const ChooserItem> items);
// Selects the item of value; a value no item has selects the first item, so
// a damaged setting still shows a valid choice.
void SelectValue(QComboBox* box, int value);
int SelectedValue(const QComboBox* box);

// A key setting's chooser (code and own text, as "KeyBeforeCB"/"KeyBefore"
// store them; an entry's packed key has its own KeyChooser) and the box for
// its own text, which takes input only while
// "-Other-" is chosen.
class KeySettingChooser : public QWidget {
    Q_OBJECT
public:
    KeySettingChooser(const QString& chooserName, const QString& boxName, QWidget* parent);

    void SetKey(int value, const QString& ownText);
    int Value() const;
    QString OwnText() const;
    QComboBox* Chooser() const { return chooser_; }
    QLineEdit* Box() const { return box_; }

private:
    void EnableBox();

    QComboBox* chooser_;
    QLineEdit* box_;
};

} // namespace qvs
