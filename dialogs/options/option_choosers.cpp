#include "dialogs/options/option_choosers.h"

#include "frame/language.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>

namespace qvs {

namespace {

constexpr ChooserItem kGridActions[] = {
    {10307, 1}, {10308, 2}, {10309, 3}, {10310, 4}, {10311, 5},
};
constexpr ChooserItem kTrayShow[] = {{10352, 0}, {10353, 1}, {10354, 2}};
constexpr ChooserItem kTrayDefault[] = {{10356, 1}, {10357, 2}};
// 31400: opening the entry's web address, the last click action.
constexpr ChooserItem kTrayClick[] = {
    {10359, 0}, {10360, 1}, {10361, 2}, {10362, 3}, {10363, 4},
    {10364, 5}, {10365, 6}, {31400, 7}, {35101, 8}, {35102, 9},
};
// QVSLite cannot edit entries.
constexpr ChooserItem kTrayClickLite[] = {
    {10359, 0}, {10361, 2}, {10362, 3}, {10363, 4}, {10364, 5},
    {10365, 6}, {31400, 7}, {35101, 8}, {35102, 9},
};
constexpr ChooserItem kSecurity[] = {{10552, 0}, {10553, 1}, {10554, 2}};
// QVSLite has no grid or editor, where the middle level differs.
constexpr ChooserItem kSecurityLite[] = {{10552, 0}, {10554, 2}};
constexpr ChooserItem kLoginFields[] = {{35104, 0}, {35105, 1}, {35106, 2}};
constexpr ChooserItem kKeys[] = {{10502, 8}, {10503, 13}, {10504, 0}, {10505, kOwnKeyValue}};

// Own key texts are sent as typed characters; a few are plenty.
constexpr int kOwnKeyMaxLength = 16;

} // namespace

std::span<const ChooserItem> GridActionItems() {
    return kGridActions;
}

std::span<const ChooserItem> TrayShowItems() {
    return kTrayShow;
}

std::span<const ChooserItem> TrayDefaultItems() {
    return kTrayDefault;
}

std::span<const ChooserItem> TrayClickItems(bool lite) {
    if (lite) return kTrayClickLite;
    return kTrayClick;
}

std::span<const ChooserItem> SecurityItems(bool lite) {
    if (lite) return kSecurityLite;
    return kSecurity;
}

std::span<const ChooserItem> LoginFieldItems() {
    return kLoginFields;
}

std::span<const ChooserItem> KeyItems() {
    return kKeys;
}

void FillChooser(QComboBox* box, std::span<const ChooserItem> items) {
    box->clear();
    for (const ChooserItem& item : items)
        box->addItem(GetLocalText(item.textId), item.value);
    box->setCurrentIndex(0);
}

void SelectValue(QComboBox* box, int value) {
    const int index = box->findData(value);
    box->setCurrentIndex(index >= 0 ? index : 0);
}

int SelectedValue(const QComboBox* box) {
    return box->currentData().toInt();
}

KeySettingChooser::KeySettingChooser(const QString& chooserName, const QString& boxName,
                                     QWidget* parent)
    : QWidget(parent), chooser_(new QComboBox(this)), box_(new QLineEdit(this)) {
    chooser_->setObjectName(chooserName);
    box_->setObjectName(boxName);
    box_->setMaxLength(kOwnKeyMaxLength);
    FillChooser(chooser_, KeyItems());
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(chooser_, 1);
    row->addWidget(box_, 1);
    connect(chooser_, &QComboBox::currentIndexChanged, this, &KeySettingChooser::EnableBox);
    EnableBox();
}

void KeySettingChooser::SetKey(int value, const QString& ownText) {
    SelectValue(chooser_, value);
    box_->setText(ownText);
    EnableBox();
}

int KeySettingChooser::Value() const {
    return SelectedValue(chooser_);
}

QString KeySettingChooser::OwnText() const {
    return box_->text();
}

void KeySettingChooser::EnableBox() {
    box_->setEnabled(Value() == kOwnKeyValue);
}

} // namespace qvs
