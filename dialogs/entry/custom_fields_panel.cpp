#include "dialogs/entry/custom_fields_panel.h"

#include "autotype/secret_clipboard.h"
#include "dialogs/entry/extra_field_text.h"
#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/named_widget.h"
#include "store/crypto/secret_key.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

namespace qvs {

namespace {

enum Column { kName, kValue, kProtected };

QPushButton* Button(const char* textId, const char* name, QWidget* parent) {
    auto* button = Named(new QPushButton(QString::fromLatin1(textId), parent), name);
    button->setAutoDefault(false);
    return button;
}

QString FromStd(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

CustomFieldsPanel::CustomFieldsPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("36851"), parent),
      table_(Named(new QTableWidget(0, 3, this), "grdFields")),
      add_(Button("36855", "cmdAddField", this)), remove_(Button("36856", "cmdRemoveField", this)),
      show_(Button("36857", "cmdShowField", this)), copy_(Button("36859", "cmdCopyField", this)) {
    table_->setHorizontalHeaderLabels({GetLocalText(text::kFieldNameColumn),
                                       GetLocalText(text::kFieldValueColumn),
                                       GetLocalText(text::kFieldProtectedColumn)});
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->horizontalHeader()->setSectionResizeMode(kName, QHeaderView::Interactive);
    table_->horizontalHeader()->setSectionResizeMode(kValue, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(kProtected, QHeaderView::ResizeToContents);
    table_->setColumnWidth(kName, 160);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add_, remove_})
        buttons->addWidget(b);
    buttons->addStretch();
    for (QPushButton* b : {show_, copy_})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    connect(add_, &QPushButton::clicked, this, &CustomFieldsPanel::AddField);
    connect(remove_, &QPushButton::clicked, this, &CustomFieldsPanel::RemoveSelected);
    connect(show_, &QPushButton::clicked, this, &CustomFieldsPanel::ToggleShown);
    connect(copy_, &QPushButton::clicked, this, &CustomFieldsPanel::CopySelected);
    connect(table_, &QTableWidget::currentCellChanged, this, &CustomFieldsPanel::EnableButtons);
    EnableButtons();
}

void CustomFieldsPanel::SetFields(std::vector<ardeko::T_CustomField> fields) {
    fields_ = std::move(fields);
    shown_.assign(fields_.size(), false);
    Fill();
}

void CustomFieldsPanel::Fill() {
    table_->setRowCount(0);
    table_->setRowCount(int(fields_.size()));
    for (int row = 0; row < int(fields_.size()); ++row)
        AddRow(row);
    if (!fields_.empty()) table_->setCurrentCell(0, kName);
    EnableButtons();
}

// The row's editors write straight into fields_, so a value nobody typed
// into stays exactly as it was.
void CustomFieldsPanel::AddRow(int row) {
    const ardeko::T_CustomField& f = fields_[std::size_t(row)];
    auto* name = new QLineEdit(FromStd(f.name));
    name->setObjectName(QStringLiteral("txtFieldName%1").arg(row));
    auto* value = new QLineEdit;
    value->setObjectName(QStringLiteral("txtFieldValue%1").arg(row));
    auto* protect = new QCheckBox;
    protect->setObjectName(QStringLiteral("chkFieldProtected%1").arg(row));
    protect->setChecked(f.protect);
    table_->setCellWidget(row, kName, name);
    table_->setCellWidget(row, kValue, value);
    table_->setCellWidget(row, kProtected, protect);
    ShowValue(row);
    connect(name, &QLineEdit::textEdited, this, [this, name](const QString& text) {
        if (const int r = RowOf(name); r >= 0) fields_[std::size_t(r)].name = text.toStdString();
    });
    connect(value, &QLineEdit::textEdited, this, [this, value](const QString& text) {
        if (const int r = RowOf(value); r >= 0) fields_[std::size_t(r)].value = text.toStdString();
        EnableButtons();
    });
    connect(protect, &QCheckBox::toggled, this, [this, protect](bool on) {
        const int r = RowOf(protect);
        if (r < 0) return;
        fields_[std::size_t(r)].protect = on;
        shown_[std::size_t(r)] = false;
        ShowValue(r);
        EnableButtons();
    });
    // Working in a row's box makes it the row the buttons act on.
    for (QWidget* w : {static_cast<QWidget*>(name), static_cast<QWidget*>(value),
                       static_cast<QWidget*>(protect)})
        w->installEventFilter(this);
}

int CustomFieldsPanel::RowOf(const QObject* widget) const {
    for (int r = 0; r < table_->rowCount(); ++r)
        for (int c = kName; c <= kProtected; ++c)
            if (table_->cellWidget(r, c) == widget) return r;
    return -1;
}

bool CustomFieldsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        if (const int r = RowOf(watched); r >= 0 && r != table_->currentRow()) {
            table_->setCurrentCell(r,
                                   table_->currentColumn() < 0 ? kName : table_->currentColumn());
            EnableButtons();
        }
    return QGroupBox::eventFilter(watched, event);
}

void CustomFieldsPanel::ShowValue(int row) {
    const ardeko::T_CustomField& f = fields_[std::size_t(row)];
    auto* value = static_cast<QLineEdit*>(table_->cellWidget(row, kValue));
    const bool shown = shown_[std::size_t(row)];
    value->setReadOnly((f.protect && !shown) || !IsOneLine(f.value));
    value->setEchoMode(QLineEdit::Normal);
    value->setText(ExtraFieldText(f, shown));
}

std::vector<ardeko::T_CustomField> CustomFieldsPanel::Fields() const {
    std::vector<ardeko::T_CustomField> out;
    for (ardeko::T_CustomField f : fields_) {
        f.name = FromStd(f.name).trimmed().toStdString();
        if (!f.name.empty() || !f.value.empty()) out.push_back(std::move(f));
    }
    return out;
}

std::vector<ardeko::T_CustomField> CustomFieldsPanel::TakeForLock() {
    std::vector<ardeko::T_CustomField> taken = fields_;
    for (ardeko::T_CustomField& f : fields_) {
        ardeko::WipeString(f.name);
        ardeko::WipeString(f.value);
    }
    return taken;
}

void CustomFieldsPanel::PutBackAfterLock(std::vector<ardeko::T_CustomField> fields) {
    if (fields.size() != fields_.size()) {
        SetFields(std::move(fields));
        return;
    }
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields_[i] = std::move(fields[i]);
    EnableButtons();
}

std::optional<CustomFieldsPanel::Problem> CustomFieldsPanel::Check() const {
    std::set<QString> names;
    for (int row = 0; row < int(fields_.size()); ++row) {
        const ardeko::T_CustomField& f = fields_[std::size_t(row)];
        const QString name = FromStd(f.name).trimmed();
        if (name.isEmpty() && !f.value.empty()) return Problem{row, QString()};
        if (!name.isEmpty() && !names.insert(name.toCaseFolded()).second) return Problem{row, name};
    }
    return std::nullopt;
}

int CustomFieldsPanel::Selected() const {
    const int row = table_->currentRow();
    return row >= 0 && row < int(fields_.size()) ? row : -1;
}

void CustomFieldsPanel::EnableButtons() {
    const int row = Selected();
    remove_->setEnabled(row >= 0);
    copy_->setEnabled(row >= 0 && !fields_[std::size_t(row)].value.empty());
    const bool secret = row >= 0 && fields_[std::size_t(row)].protect;
    show_->setEnabled(secret);
    show_->setText(
        GetLocalText(secret && shown_[std::size_t(row)] ? text::kHideField : text::kShowField));
}

void CustomFieldsPanel::AddField() {
    fields_.push_back({});
    shown_.push_back(false);
    const int row = int(fields_.size()) - 1;
    table_->setRowCount(row + 1);
    AddRow(row);
    FocusRow(row);
}

void CustomFieldsPanel::FocusRow(int row) {
    if (row < 0 || row >= table_->rowCount()) return;
    table_->setCurrentCell(row, kName);
    table_->cellWidget(row, kName)->setFocus();
    EnableButtons();
}

void CustomFieldsPanel::RemoveSelected() {
    const int row = Selected();
    if (row < 0) return;
    fields_.erase(fields_.begin() + row);
    shown_.erase(shown_.begin() + row);
    Fill();
    if (!fields_.empty()) table_->setCurrentCell(std::min(row, int(fields_.size()) - 1), kName);
}

void CustomFieldsPanel::ToggleShown() {
    const int row = Selected();
    if (row < 0 || !fields_[std::size_t(row)].protect) return;
    shown_[std::size_t(row)] = !shown_[std::size_t(row)];
    ShowValue(row);
    EnableButtons();
}

void CustomFieldsPanel::CopySelected() {
    const int row = Selected();
    if (row >= 0) CopySecretToClipboard(FromStd(fields_[std::size_t(row)].value));
}

} // namespace qvs
