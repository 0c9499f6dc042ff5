#include "dialogs/categories/frm_change_cat.h"

#include "dialogs/categories/frm_category_common.h"
#include "dialogs/combo_list.h"
#include "dialogs/text_ids.h"
#include "frame/help.h"
#include "frame/language.h"
#include "frame/named_widget.h"
#include "frame/text_ids.h"
#include "store/pw.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace qvs {

namespace {

const QString kPlacementName = QStringLiteral("frmChangeCat");
constexpr int kHelpTopic = 35;

} // namespace

frmChangeCat::frmChangeCat(ardeko::clsPW& store, QWidget* parent)
    : QDialog(parent), cboCategorie_(Named(new QComboBox(this), "cboCategorie")),
      cmdOK_(CategoryButton("cmdOK", text::kOk, this)),
      cmdCancel_(CategoryButton("cmdCancel", text::kCancel, this)) {
    setObjectName(kPlacementName);
    setWindowTitle(QString::number(text::kChangeCategoryCaption));
    auto* label =
        Named(new QLabel(QString::number(text::kCategoryChoiceLabel), this), "lblCategory");
    label->setBuddy(cboCategorie_);
    cboCategorie_->setMinimumWidth(260);

    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->addWidget(label, 0, 0);
    grid->addWidget(cboCategorie_, 0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    grid->addLayout(buttons, 1, 0, 1, 2);
    cmdOK_->setDefault(true);

    connect(cmdOK_, &QPushButton::clicked, this, &frmChangeCat::cmdOK_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);

    ComboListControl list(cboCategorie_);
    store.ControlCat(list);
    LocalizeForm(this);
    SetHelpTopic(this, kHelpTopic);
}

std::int16_t frmChangeCat::ChooseCat(const QString& caption) {
    setWindowTitle(caption);
    Run();
    return cancelled_ ? std::int16_t(-1) : chosenCode_;
}

int frmChangeCat::ChangeCat() {
    const int proposed = cboCategorie_->currentIndex();
    Run();
    return cancelled_ ? proposed : chosenIndex_;
}

void frmChangeCat::Run() {
    cancelled_ = true;
    chosenIndex_ = -1;
    chosenCode_ = -1;
    cboCategorie_->setFocus();
    ExecCategoryWindow(*this, kPlacementName, [] { return false; });
}

void frmChangeCat::cmdOK_Click() {
    const int index = cboCategorie_->currentIndex();
    // An empty list chooses nothing: OK then means the same as Cancel.
    if (index >= 0) {
        cancelled_ = false;
        chosenIndex_ = index;
        chosenCode_ = static_cast<std::int16_t>(cboCategorie_->itemData(index).toInt());
    }
    accept();
}

} // namespace qvs
