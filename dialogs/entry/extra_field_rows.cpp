#include "dialogs/entry/extra_field_rows.h"

#include "autotype/secret_clipboard.h"
#include "dialogs/entry/extra_field_text.h"
#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "store/crypto/secret_key.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace qvs {

namespace {

QPushButton* MakeButton(int textId, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(GetLocalText(textId), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

ExtraFieldRows::ExtraFieldRows(QGridLayout* grid, QWidget* window)
    : QObject(window), grid_(grid), window_(window) {}

ExtraFieldRows::~ExtraFieldRows() {
    for (ardeko::T_CustomField& f : fields_)
        ardeko::WipeString(f.value);
}

void ExtraFieldRows::SetFields(std::vector<ardeko::T_CustomField> fields) {
    Clear();
    fields_ = std::move(fields);
    for (std::size_t i = 0; i < fields_.size(); ++i)
        AddRow(i);
}

void ExtraFieldRows::Clear() {
    for (const Row& row : rows_) {
        // Deleted widgets leave the layout by themselves; the row's own
        // layout is taken out first.
        for (QWidget* w : {static_cast<QWidget*>(row.name), static_cast<QWidget*>(row.value),
                           static_cast<QWidget*>(row.show), static_cast<QWidget*>(row.copy)})
            delete w;
        grid_->removeItem(row.valueRow);
        std::unique_ptr<QHBoxLayout> gone(row.valueRow);
    }
    rows_.clear();
    for (ardeko::T_CustomField& f : fields_)
        ardeko::WipeString(f.value);
    fields_.clear();
}

void ExtraFieldRows::AddRow(std::size_t index) {
    const ardeko::T_CustomField& f = fields_[index];
    const QString number = QString::number(index);
    Row row;
    // The name as typed (no markup, an "&" is no shortcut), with a colon as
    // the user name's and password's labels have.
    row.name = new QLabel(
        QString::fromStdString(f.name).replace(QStringLiteral("&"), QStringLiteral("&&")) + u':',
        window_);
    row.name->setTextFormat(Qt::PlainText);
    row.name->setObjectName(QStringLiteral("lblField") + number);
    row.value = new QLineEdit(window_);
    row.value->setObjectName(QStringLiteral("txtField") + number);
    row.value->setReadOnly(true);
    row.name->setBuddy(row.value);
    row.show = f.protect
                   ? MakeButton(text::kShowField, QStringLiteral("cmdShowField") + number, window_)
                   : nullptr;
    row.copy = MakeButton(text::kCopyField, QStringLiteral("cmdCPField") + number, window_);
    row.copy->setEnabled(!f.value.empty());
    const int at = grid_->rowCount();
    row.valueRow = new QHBoxLayout;
    row.valueRow->addWidget(row.value, 1);
    if (row.show) row.valueRow->addWidget(row.show);
    grid_->addWidget(row.name, at, 0);
    grid_->addLayout(row.valueRow, at, 1);
    grid_->addWidget(row.copy, at, 2);
    if (row.show) connect(row.show, &QPushButton::clicked, this, [this, index] { Toggle(index); });
    connect(row.copy, &QPushButton::clicked, this,
            [this, index] { CopySecretToClipboard(QString::fromStdString(fields_[index].value)); });
    rows_.push_back(row);
    ShowValue(index);
}

void ExtraFieldRows::Toggle(std::size_t index) {
    rows_[index].shown = !rows_[index].shown;
    ShowValue(index);
}

void ExtraFieldRows::ShowValue(std::size_t index) {
    const Row& row = rows_[index];
    row.value->setText(ExtraFieldText(fields_[index], row.shown));
    row.value->setCursorPosition(0);
    if (row.show) row.show->setText(GetLocalText(row.shown ? text::kHideField : text::kShowField));
}

} // namespace qvs
