#include "frame/strength_meter.h"

#include "frame/language.h"
#include "frame/text_ids.h"
#include "store/passwords/password_strength.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include <array>
#include <cmath>

namespace qvs {

namespace {

using ardeko::kStrongestLevel;
constexpr std::array<const char*, kStrongestLevel + 1> kLevelColours = {
    "#c0392b", "#e67e22", "#d4ac0d", "#27ae60", "#1e8449"};

} // namespace

double PasswordEntropyBits(const QString& password) {
    if (password.isEmpty()) return 0;
    QByteArray utf8 = password.toUtf8();
    const double bits =
        ardeko::PasswordEntropyBits(std::string_view(utf8.constData(), utf8.size()));
    utf8.fill('\0'); // no copy of the password stays behind
    return bits;
}

QString StrengthLevelText(int level) {
    return GetLocalText(text::kFirstStrengthLevel + level);
}

StrengthMeter::StrengthMeter(QWidget* parent)
    : QWidget(parent), bar_(new QProgressBar(this)), words_(new QLabel(this)) {
    bar_->setObjectName(QStringLiteral("barStrength"));
    words_->setObjectName(QStringLiteral("lblStrength"));
    bar_->setRange(0, kStrongestLevel + 1);
    bar_->setTextVisible(false);
    bar_->setMaximumHeight(words_->sizeHint().height() / 2 + 4);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar_, 1);
    layout->addWidget(words_, 1);
    SetPassword(QString());
}

void StrengthMeter::SetPassword(const QString& password) {
    const int level =
        password.isEmpty() ? -1 : ardeko::StrengthLevel(PasswordEntropyBits(password));
    Show(level, level < 0 ? QString() : StrengthLevelText(level));
}

void StrengthMeter::SetBits(double bits) {
    const int level = ardeko::StrengthLevel(bits);
    // Rounded down: the meter never claims more than there is.
    Show(level, StrengthLevelText(level) + QStringLiteral(" \u00b7 ") +
                    LocalTextWith(text::kStrengthBits, QString::number(int(std::floor(bits)))));
}

void StrengthMeter::Show(int level, const QString& words) {
    level_ = level;
    bar_->setValue(level_ + 1);
    words_->setText(words);
    const char* colour = level_ < 0 ? "palette(mid)" : kLevelColours[level_];
    bar_->setStyleSheet(
        QStringLiteral("QProgressBar::chunk { background-color: %1; }").arg(QLatin1String(colour)));
}

} // namespace qvs
