#include "dialogs/options/option_dialog.h"

#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/message_box.h"
#include "frame/program_state.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace qvs {

namespace {

QPushButton* MakeButton(const char* name, const char* textId, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(textId), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

OptionDialog::OptionDialog(QWidget* parent)
    : QDialog(parent), buttons_(new QHBoxLayout), cmdOK_(MakeButton("cmdOK", "10", this)),
      cmdCancel_(MakeButton("cmdCancel", "11", this)),
      cmdApply_(MakeButton("cmdApply", "17", this)) {
    buttons_->addStretch();
    buttons_->addWidget(cmdOK_);
    buttons_->addWidget(cmdCancel_);
    buttons_->addWidget(cmdApply_);
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &OptionDialog::OnOK);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdApply_, &QPushButton::clicked, this, &OptionDialog::Apply);
}

int OptionDialog::Run() {
    ShowSettings();
    return ExecModal(*this);
}

void OptionDialog::ShowSettings() {
    bindings_.Show(Opt());
}

bool OptionDialog::Apply() {
    if (!CheckControls()) return false;
    Options options = Opt();
    bindings_.Store(options);
    AdjustStored(options);
    Opt() = std::move(options);
    if (!SaveOptions(QString::fromStdString(Store().Filename())))
        ShowMessage(GetLocalText(text::kOptionsNotSaved), vbCritical);
    if (IMainWindow* main = CurrentMainWindow()) main->OptionsChanged();
    emit applied();
    return true;
}

void OptionDialog::OnOK() {
    if (Apply()) accept();
}

} // namespace qvs
