#include "dialogs/categories/frm_sub_category.h"

#include "dialogs/categories/frm_category_common.h"
#include "dialogs/categories/frm_change_cat.h"
#include "dialogs/combo_list.h"
#include "dialogs/text_ids.h"
#include "frame/help.h"
#include "frame/language.h"
#include "frame/named_widget.h"
#include "frame/program_state.h"
#include "frame/store_reason.h"
#include "frame/text_ids.h"
#include "store/pw.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace qvs {

namespace {

const QString kPlacementName = QStringLiteral("frmSubCategory");
constexpr int kHelpTopic = 32;

} // namespace

frmSubCategory::frmSubCategory(ardeko::clsPW& store, QWidget* parent)
    : QDialog(parent), store_(store), cboCategorie_(Named(new QComboBox(this), "cboCategorie")),
      lstSubCateg_(Named(new QListWidget(this), "lstSubCateg")),
      txtSubCateg_(Named(new QLineEdit(this), "txtSubCateg")),
      cmdAdd_(CategoryButton("cmdAdd", text::kSubCategoryAdd, this)),
      cmdDel_(CategoryButton("cmdDel", text::kSubCategoryDelete, this)),
      cmdRename_(CategoryButton("cmdRename", text::kSubCategoryRename, this)),
      cmdChange_(CategoryButton("cmdChange", text::kSubCategoryMove, this)),
      cmdOK_(CategoryButton("cmdOK", text::kOk, this)) {
    setObjectName(kPlacementName);
    setWindowTitle(QString::number(text::kSubCategoriesCaption));
    auto* lblCategory =
        Named(new QLabel(QString::number(text::kCategoryChoiceLabel), this), "lblCategory");
    lblCategory->setBuddy(cboCategorie_);
    auto* lblName = Named(new QLabel(QString::number(text::kCategoryNameLabel), this), "lblName");
    lblName->setBuddy(txtSubCateg_);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblCategory, 0, 0);
    grid->addWidget(cboCategorie_, 1, 0);
    grid->addWidget(lblName, 2, 0);
    grid->addWidget(txtSubCateg_, 3, 0);
    grid->addWidget(lstSubCateg_, 4, 0);
    grid->addLayout(ButtonColumn({cmdAdd_, cmdDel_, cmdRename_, cmdChange_}, cmdOK_), 3, 1, 2, 1);
    lstSubCateg_->setMinimumSize(260, 220);
    setTabOrder(cboCategorie_, txtSubCateg_);
    setTabOrder(txtSubCateg_, lstSubCateg_);

    connect(cmdAdd_, &QPushButton::clicked, this, &frmSubCategory::cmdAdd_Click);
    connect(cmdDel_, &QPushButton::clicked, this, &frmSubCategory::cmdDel_Click);
    connect(cmdRename_, &QPushButton::clicked, this, &frmSubCategory::cmdRename_Click);
    connect(cmdChange_, &QPushButton::clicked, this, &frmSubCategory::cmdChange_Click);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(txtSubCateg_, &QLineEdit::returnPressed, this, &frmSubCategory::cmdAdd_Click);
    connect(lstSubCateg_, &QListWidget::itemClicked, this, &frmSubCategory::OnSelect);
    auto* del = new QShortcut(QKeySequence::Delete, lstSubCateg_);
    del->setContext(Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this, &frmSubCategory::cmdDel_Click);

    ComboListControl categories(cboCategorie_);
    store_.ControlCat(categories);
    FillSubCategories();
    connect(cboCategorie_, &QComboBox::currentIndexChanged, this,
            &frmSubCategory::FillSubCategories);
    LocalizeForm(this);
    SetHelpTopic(this, kHelpTopic);
    txtSubCateg_->setFocus();
}

void frmSubCategory::FillSubCategories() {
    ListWidgetControl list(lstSubCateg_);
    if (const std::optional<std::int16_t> code = ChosenCategory())
        store_.ControlSCat(list, *code);
    else
        list.Clear();
}

// The chosen name goes into the box, ready to be changed for a rename.
void frmSubCategory::OnSelect() {
    txtSubCateg_->setText(QString::fromStdString(SelectedName(lstSubCateg_)));
    txtSubCateg_->selectAll();
}

std::optional<std::int16_t> frmSubCategory::ChosenCategory() const {
    const int index = cboCategorie_->currentIndex();
    if (index < 0) return std::nullopt;
    return static_cast<std::int16_t>(cboCategorie_->itemData(index).toInt());
}

void frmSubCategory::cmdAdd_Click() {
    const std::string name = TypedName(txtSubCateg_);
    if (name.empty()) return;
    // The store takes any code: without a category the new subcategory
    // would belong to none and never be shown.
    const std::optional<std::int16_t> category = ChosenCategory();
    if (!category) {
        ShowMissingInput();
        return;
    }
    if (!store_.SubCatAdd(*category, name)) {
        ShowRefusal(text::kSubCategoryAddRefused, StoreReason(store_));
        return;
    }
    lstSubCateg_->addItem(QString::fromStdString(name));
    txtSubCateg_->clear();
    txtSubCateg_->setFocus();
    changed_ = true;
}

void frmSubCategory::cmdRename_Click() {
    const std::string old = SelectedName(lstSubCateg_);
    const std::string name = TypedName(txtSubCateg_);
    const std::optional<std::int16_t> category = ChosenCategory();
    if (old.empty() || name.empty() || !category) {
        ShowMissingInput();
        return;
    }
    if (name == old) return;
    if (!store_.SubCatRen(*category, old, name)) {
        ShowRefusal(text::kSubCategoryRenameRefused);
        return;
    }
    lstSubCateg_->currentItem()->setText(QString::fromStdString(name));
    changed_ = true;
}

void frmSubCategory::cmdDel_Click() {
    const std::string name = SelectedName(lstSubCateg_);
    const std::optional<std::int16_t> category = ChosenCategory();
    if (name.empty() || !category) return;
    const std::optional<std::int32_t> entries = store_.PwInSubCat(*category, name);
    if (!entries) {
        ShowRefusal(text::kSubCategoryDeleteRefused);
        return;
    }
    bool keep = true;
    if (*entries > 0) {
        const std::optional<bool> answer =
            AskKeepEntries(*entries == 1 ? text::kSubCategoryOneEntry : text::kSubCategoryEntries,
                           text::kSubCategoryKeepEntries, *entries);
        if (!answer) return;
        keep = *answer;
    }
    if (!store_.SubCatDel(*category, name, keep)) {
        ShowRefusal(text::kSubCategoryDeleteRefused);
        return;
    }
    delete lstSubCateg_->currentItem();
    changed_ = true;
}

void frmSubCategory::cmdChange_Click() {
    const std::string name = SelectedName(lstSubCateg_);
    const std::optional<std::int16_t> category = ChosenCategory();
    if (name.empty() || !category) {
        ShowMissingInput();
        return;
    }
    int position = cboCategorie_->currentIndex();
    {
        // Both lists come from the same store in the same order, so a
        // position in one names the same category in the other.
        frmChangeCat chooser(store_, this);
        chooser.cboCategorie()->setCurrentIndex(position);
        position = chooser.ChangeCat();
    }
    if (position < 0 || position >= cboCategorie_->count()) return;
    const auto target = static_cast<std::int16_t>(cboCategorie_->itemData(position).toInt());
    if (target == *category) return;
    if (!store_.CatChange(name, *category, target)) {
        ShowRefusal(text::kSubCategoryMoveRefused);
        return;
    }
    delete lstSubCateg_->currentItem();
    changed_ = true;
}

void ShowSubCategoryDialog() {
    frmSubCategory form(Store());
    ExecCategoryWindow(form, kPlacementName, [&form] { return form.Changed(); });
}

} // namespace qvs
