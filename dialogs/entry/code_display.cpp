#include "dialogs/entry/code_display.h"

#include "autotype/secret_clipboard.h"
#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/named_widget.h"
#include "frame/one_time_code.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <utility>

namespace qvs {

CodeDisplay::CodeDisplay(QWidget* parent, const char* copyTextId)
    : QObject(parent), code_(Named(new QLabel(parent), "lblCode")),
      left_(Named(new QLabel(parent), "lblCodeLeft")),
      copy_(Named(new QPushButton(QString::fromLatin1(copyTextId), parent), "cmdCopyCode")),
      timer_(new QTimer(this)) {
    copy_->setAutoDefault(false);
    QFont big = code_->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    code_->setFont(big);
    // What is around stays put when a code appears.
    code_->setMinimumHeight(code_->fontMetrics().height());
    code_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(copy_, &QPushButton::clicked, this, &CodeDisplay::CopyCode);
    connect(timer_, &QTimer::timeout, this, &CodeDisplay::UpdateCode);
    UpdateCode();
}

void CodeDisplay::SetStored(std::string stored) {
    stored_ = std::move(stored);
    // Without a secret there is nothing to count down.
    if (stored_.empty())
        timer_->stop();
    else if (!timer_->isActive())
        timer_->start(1000);
    UpdateCode();
}

QString CodeDisplay::ShownCode() const {
    return code_->property("code").toString();
}

void CodeDisplay::UpdateCode() {
    const auto now = CurrentCode(stored_);
    const QString code = now ? QString::fromStdString(now->code) : QString();
    code_->setProperty("code", code);
    code_->setText(code);
    if (now)
        left_->setText(GetLocalText(text::kCodeSecondsLeft)
                           .replace(QLatin1String("%s"), QString::number(now->secondsLeft)));
    else
        left_->setText(stored_.empty() ? QString() : GetLocalText(text::kCodeSecretInvalid));
    copy_->setEnabled(now.has_value());
}

void CodeDisplay::CopyCode() {
    if (!ShownCode().isEmpty()) CopySecretToClipboard(ShownCode());
}

} // namespace qvs
