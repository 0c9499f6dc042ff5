#include "dialogs/options/history_size_box.h"

#include "frame/options.h"

namespace qvs {

namespace {

// More digits than any sensible list length; keeps a typed number in range
// of int.
constexpr int kMaxDigits = 4;

bool AllDigits(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
}

} // namespace

int ClampHistorySize(const QString& text) {
    bool isNumber = false;
    const int value = text.trimmed().toInt(&isNumber);
    if (!isNumber || value > kHistorySizeMax) return kHistorySizeMax;
    return qMax(value, kHistorySizeMin);
}

HistorySizeBox::HistorySizeBox(QWidget* parent) : QSpinBox(parent) {
    setRange(kHistorySizeMin, kHistorySizeMax);
}

QValidator::State HistorySizeBox::validate(QString& input, int& pos) const {
    if (input.size() > kMaxDigits || !AllDigits(input)) return QValidator::Invalid;
    const QValidator::State inRange = QSpinBox::validate(input, pos);
    return inRange == QValidator::Acceptable ? inRange : QValidator::Intermediate;
}

void HistorySizeBox::fixup(QString& input) const {
    input = QString::number(ClampHistorySize(input));
}

} // namespace qvs
