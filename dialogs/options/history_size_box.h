// The box for the length of the recent-files list: digits only, and a value
// out of range (or none) is corrected when the box is left, not refused.
#pragma once

#include <QSpinBox>

namespace qvs {

// The history size a typed text stands for: above the maximum or not a
// number gives the maximum, below the minimum the minimum.
int ClampHistorySize(const QString& text);

class HistorySizeBox : public QSpinBox {
    Q_OBJECT
public:
    explicit HistorySizeBox(QWidget* parent = nullptr);

    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};

} // namespace qvs
