#include "dialogs/categories/frm_category.h"

#include "dialogs/categories/frm_category_common.h"
#include "dialogs/text_ids.h"
#include "frame/help.h"
#include "frame/language.h"
#include "frame/named_widget.h"
#include "frame/program_state.h"
#include "frame/store_reason.h"
#include "frame/text_ids.h"
#include "store/pw.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace qvs {

namespace {

const QString kPlacementName = QStringLiteral("frmCategory");
constexpr int kHelpTopic = 31;

} // namespace

frmCategory::frmCategory(ardeko::clsPW& store, QWidget* parent)
    : QDialog(parent), store_(store), lstCategorie_(Named(new QListWidget(this), "lstCategorie")),
      txtcateg_(Named(new QLineEdit(this), "txtcateg")),
      cmdAdd_(CategoryButton("cmdAdd", text::kCategoryAdd, this)),
      cmdDel_(CategoryButton("cmdDel", text::kCategoryDelete, this)),
      cmdRen_(CategoryButton("cmdRen", text::kCategoryRename, this)),
      cmdOK_(CategoryButton("cmdOK", text::kOk, this)) {
    setObjectName(kPlacementName);
    setWindowTitle(QString::number(text::kCategoriesCaption));
    auto* label = Named(new QLabel(QString::number(text::kCategoryNameLabel), this), "lblName");
    label->setBuddy(txtcateg_);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(txtcateg_, 1, 0);
    grid->addWidget(lstCategorie_, 2, 0);
    grid->addLayout(ButtonColumn({cmdAdd_, cmdDel_, cmdRen_}, cmdOK_), 1, 1, 2, 1);
    lstCategorie_->setMinimumSize(260, 220);
    setTabOrder(txtcateg_, lstCategorie_);

    connect(cmdAdd_, &QPushButton::clicked, this, &frmCategory::cmdAdd_Click);
    connect(cmdDel_, &QPushButton::clicked, this, &frmCategory::cmdDel_Click);
    connect(cmdRen_, &QPushButton::clicked, this, &frmCategory::cmdRen_Click);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(txtcateg_, &QLineEdit::returnPressed, this, &frmCategory::cmdAdd_Click);
    connect(lstCategorie_, &QListWidget::itemClicked, this, &frmCategory::OnSelect);
    auto* del = new QShortcut(QKeySequence::Delete, lstCategorie_);
    del->setContext(Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this, &frmCategory::cmdDel_Click);

    ListWidgetControl list(lstCategorie_);
    store_.ControlCat(list);
    LocalizeForm(this);
    SetHelpTopic(this, kHelpTopic);
    txtcateg_->setFocus();
}

// The chosen name goes into the box, ready to be changed for a rename.
void frmCategory::OnSelect() {
    txtcateg_->setText(QString::fromStdString(SelectedName(lstCategorie_)));
    txtcateg_->selectAll();
}

void frmCategory::cmdAdd_Click() {
    const std::string name = TypedName(txtcateg_);
    if (name.empty()) return;
    if (!store_.CatAdd(name)) {
        ShowRefusal(text::kCategoryAddRefused, StoreReason(store_));
        return;
    }
    lstCategorie_->addItem(QString::fromStdString(name));
    txtcateg_->clear();
    txtcateg_->setFocus();
    changed_ = true;
}

void frmCategory::cmdRen_Click() {
    const std::string old = SelectedName(lstCategorie_);
    const std::string name = TypedName(txtcateg_);
    if (old.empty() || name.empty()) {
        ShowMissingInput();
        return;
    }
    // The same name again would only move the category to the end of the file.
    if (name == old) return;
    if (!store_.CatRen(old, name)) {
        ShowRefusal(text::kCategoryRenameRefused);
        return;
    }
    lstCategorie_->currentItem()->setText(QString::fromStdString(name));
    changed_ = true;
}

void frmCategory::cmdDel_Click() {
    const std::string name = SelectedName(lstCategorie_);
    if (name.empty()) return;
    const std::optional<std::int32_t> entries = store_.PwInCat(name);
    if (!entries) {
        ShowRefusal(text::kCategoryDeleteRefused);
        return;
    }
    bool keep = true;
    if (*entries > 0) {
        const std::optional<bool> answer =
            AskKeepEntries(*entries == 1 ? text::kCategoryOneEntry : text::kCategoryEntries,
                           text::kCategoryKeepEntries, *entries);
        if (!answer) return;
        keep = *answer;
    }
    if (!store_.CatDel(name, keep)) {
        ShowRefusal(text::kCategoryDeleteRefused);
        return;
    }
    delete lstCategorie_->currentItem();
    changed_ = true;
}

void ShowCategoryDialog() {
    frmCategory form(Store());
    ExecCategoryWindow(form, kPlacementName, [&form] { return form.Changed(); });
}

} // namespace qvs
