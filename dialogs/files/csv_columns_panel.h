// How a CSV file of unknown shape is read: whether its first row holds
// captions, its delimiter and text encoding, and which column holds which
// field. Also offers the encoding for every other format.
#pragma once

#include "store/import/foreign_formats.h"

#include <QGroupBox>

#include <array>

class QCheckBox;
class QComboBox;
class QGridLayout;

namespace qvs {

class CsvColumnsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit CsvColumnsPanel(QWidget* parent);

    // Puts the file's columns in the mapping lists, each field set as map says.
    void ShowColumns(const std::vector<std::string>& captions, const ardeko::ColumnMap& map);
    // The columns part applies to a generic CSV only; the encoding to all.
    void SetColumnsEnabled(bool on);

    // Fills the reading options the panel governs; the map only once the user
    // chose a column himself.
    void Apply(ardeko::ReadOptions& options) const;

    QCheckBox* chkCaptions() const { return chkCaptions_; }
    QComboBox* cboDelimiter() const { return cboDelimiter_; }
    QComboBox* cboEncoding() const { return cboEncoding_; }
    QComboBox* cboField(ardeko::ForeignField f) const { return cboFields_[std::size_t(f)]; }

signals:
    // Something changed that needs the file read again.
    void Changed();

private:
    void ReadingChanged();
    QComboBox* AddField(QGridLayout* grid, int index);

    QCheckBox* chkCaptions_;
    QComboBox* cboDelimiter_;
    QComboBox* cboEncoding_;
    std::array<QComboBox*, 8> cboFields_{};
    bool userMapped_ = false;
    bool filling_ = false;
};

} // namespace qvs
