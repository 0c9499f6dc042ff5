#include "dialogs/entry/key_chooser.h"

#include "autotype/key_pair.h"
#include "store/codepage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>

namespace qvs {

namespace {

struct Item {
    const char* textId;
    int value;
};
constexpr Item kItems[] = {{"10502", KeyChooser::kTab},
                           {"10503", KeyChooser::kEnter},
                           {"10504", KeyChooser::kNoKey},
                           {"10505", KeyChooser::kOtherKey}};

} // namespace

KeyChooser::KeyChooser(const char* comboName, const char* boxName, QWidget* parent)
    : QWidget(parent), combo_(new QComboBox(this)), box_(new QLineEdit(this)) {
    combo_->setObjectName(QString::fromLatin1(comboName));
    box_->setObjectName(QString::fromLatin1(boxName));
    for (const Item& item : kItems)
        combo_->addItem(QString::fromLatin1(item.textId), item.value);
    box_->setMaxLength(1);
    box_->setFixedWidth(box_->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 3);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(combo_);
    layout->addWidget(box_);
    layout->addStretch();
    connect(combo_, &QComboBox::currentIndexChanged, this, &KeyChooser::EnableBox);
    EnableBox();
}

void KeyChooser::SetChoice(int value, const QString& character) {
    const int index = combo_->findData(value);
    combo_->setCurrentIndex(index < 0 ? combo_->findData(kNoKey) : index);
    box_->setText(character.left(1));
}

void KeyChooser::SetCode(int code) {
    if (code == kTab || code == kEnter || code == kNoKey) {
        SetChoice(code, QString());
        return;
    }
    const std::string byte(1, static_cast<char>(code & 0xFF));
    SetChoice(kOtherKey, QString::fromStdString(ardeko::Cp1252ToUtf8(byte)));
}

int KeyChooser::Choice() const {
    return combo_->currentData().toInt();
}

int KeyChooser::Code() const {
    return KeyCodeByte(Choice(), box_->text());
}

KeyChooser::Problem KeyChooser::Check() const {
    if (Choice() != kOtherKey) return Problem::None;
    if (box_->text().isEmpty()) return Problem::NoCharacter;
    return ardeko::Utf8ToCp1252(box_->text().toStdString()).badCodePoint ? Problem::Unstorable
                                                                         : Problem::None;
}

void KeyChooser::EnableBox() {
    box_->setEnabled(Choice() == kOtherKey);
}

} // namespace qvs
