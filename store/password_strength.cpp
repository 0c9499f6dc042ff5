#include "dialogs/password_strength.h"

#include "frame/language.h"

#include <zxcvbn.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include <array>
#include <cmath>

namespace qvs {

namespace {

// Bits at which each level starts: below 28 falls to a quick offline attack,
// 80 and more is beyond any.
constexpr std::array<double, kStrongestLevel> kLevelBits = {28, 36, 60, 80};
constexpr int kFirstLevelText = 31119; // "very weak" .. "very strong"
constexpr int kBitsText = 33830;
constexpr std::array<const char*, kStrongestLevel + 1> kLevelColours = {
    "#c0392b", "#e67e22", "#d4ac0d", "#27ae60", "#1e8449"};

} // namespace

double PasswordEntropyBits(const QString& password) {
    if (password.isEmpty()) return 0;
    QByteArray utf8 = password.toUtf8();
    const double bits = ZxcvbnMatch(utf8.constData(), nullptr, nullptr);
    utf8.fill('\0'); // no copy of the password stays behind
    return bits;
}

int StrengthLevel(double bits) {
    int level = 0;
    while (level < kStrongestLevel && bits >= kLevelBits[level])
        ++level;
    return level;
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
    const int level = password.isEmpty() ? -1 : StrengthLevel(PasswordEntropyBits(password));
    Show(level, level < 0 ? QString() : GetLocalText(kFirstLevelText + level));
}

void StrengthMeter::SetBits(double bits) {
    const int level = StrengthLevel(bits);
    // Rounded down: the meter never claims more than there is.
    Show(level, GetLocalText(kFirstLevelText + level) + QStringLiteral(" \u00b7 ") +
                    LocalTextWith(kBitsText, QString::number(int(std::floor(bits)))));
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
