#include "dialogs/frm_tips.h"

#include "dialogs/text_ids.h"
#include "frame/image_list.h"
#include "frame/language.h"
#include "frame/options.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

#include <array>

namespace qvs {

namespace {

constexpr std::array kTipIds{20110, 20111, 20112, 20113, 20114};
constexpr int kIconSize = 32;

QPushButton* MakeButton(QWidget* parent, const char* name, int textId) {
    auto* button = new QPushButton(GetLocalText(textId), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

int FirstTip(int wanted) {
    if (wanted < 0) return int(QRandomGenerator::global()->bounded(frmTips::TipCount()));
    return wanted % frmTips::TipCount();
}

} // namespace

frmTips::frmTips(int firstTip, QWidget* parent)
    : QDialog(parent), lblTip_(new QLabel(this)),
      chkViewTips_(new QCheckBox(GetLocalText(text::kViewTips), this)) {
    setObjectName(QStringLiteral("frmTips"));
    setWindowTitle(GetLocalText(text::kTipsCaption));
    auto* icon = new QLabel(this);
    icon->setPixmap(KeyIcon(QStringLiteral("HELP")).pixmap(kIconSize, kIconSize));
    icon->setAlignment(Qt::AlignTop);
    lblTip_->setObjectName(QStringLiteral("lblTip"));
    lblTip_->setWordWrap(true);
    lblTip_->setMinimumSize(320, 80);
    lblTip_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    chkViewTips_->setObjectName(QStringLiteral("chkViewTips"));
    chkViewTips_->setChecked(Opt().ViewTips);
    connect(chkViewTips_, &QCheckBox::toggled, this, [](bool on) { Opt().ViewTips = on; });

    auto* cmdNext = MakeButton(this, "cmdNext", 20102);
    auto* cmdClose = MakeButton(this, "cmdClose", text::kClose);
    cmdClose->setDefault(true);
    connect(cmdNext, &QPushButton::clicked, this, &frmTips::NextTip);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(lblTip_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(chkViewTips_);
    bottom->addStretch();
    bottom->addWidget(cmdNext);
    bottom->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
    ShowTip(FirstTip(firstTip));
}

int frmTips::TipCount() {
    return int(kTipIds.size());
}

void frmTips::NextTip() {
    ShowTip((current_ + 1) % TipCount());
}

void frmTips::ShowTip(int index) {
    current_ = index;
    lblTip_->setText(GetLocalText(kTipIds[size_t(index)]));
}

void ShowTips() {
    frmTips tips;
    ExecModal(tips);
}

} // namespace qvs
