#include "dialogs/files/csv_columns_panel.h"

#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/named_widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>

namespace qvs {

namespace {

// Guess, comma, semicolon, tab; then the encodings in TextEncoding order.
constexpr int kDelimiterTexts[] = {34019, 34020, 34021, 34022};
constexpr char kDelimiters[] = {0, ',', ';', '\t'};
constexpr int kEncodingTexts[] = {text::kFirstImportEncoding, text::kFirstImportEncoding + 1,
                                  text::kFirstImportEncoding + 2, text::kFirstImportEncoding + 3};
// Title, user name, password, address, notes, e-mail, group, favourite.
constexpr int kFieldTexts[] = {34029, 34030, 34031, 34032, 34033, 34034, 34035, 34036};
constexpr int kMappingColumns = 2; // pairs of caption and list per row

QString Id(int textId) {
    return QString::number(textId); // localised with the window
}

QComboBox* Choices(QWidget* parent, const char* name, std::initializer_list<int> texts) {
    auto* box = Named(new QComboBox(parent), name);
    for (int id : texts)
        box->addItem(Id(id));
    return box;
}

} // namespace

CsvColumnsPanel::CsvColumnsPanel(QWidget* parent)
    : QGroupBox(Id(text::kCsvColumnsTitle), parent),
      chkCaptions_(Named(new QCheckBox(Id(text::kCsvCaptionsRow), this), "chkCaptions")),
      cboDelimiter_(Choices(
          this, "cboDelimiter",
          {kDelimiterTexts[0], kDelimiterTexts[1], kDelimiterTexts[2], kDelimiterTexts[3]})),
      cboEncoding_(
          Choices(this, "cboEncoding",
                  {kEncodingTexts[0], kEncodingTexts[1], kEncodingTexts[2], kEncodingTexts[3]})) {
    setObjectName(QStringLiteral("fraColumns"));
    chkCaptions_->setChecked(true);
    auto* grid = new QGridLayout(this);
    auto* delimiter = new QLabel(Id(text::kCsvDelimiterLabel), this);
    delimiter->setBuddy(cboDelimiter_);
    auto* encoding = new QLabel(Id(text::kCsvEncodingLabel), this);
    encoding->setBuddy(cboEncoding_);
    grid->addWidget(encoding, 0, 0);
    grid->addWidget(cboEncoding_, 0, 1);
    grid->addWidget(delimiter, 0, 2);
    grid->addWidget(cboDelimiter_, 0, 3);
    grid->addWidget(chkCaptions_, 1, 0, 1, 4);
    for (int f = 0; f < int(cboFields_.size()); ++f)
        cboFields_[std::size_t(f)] = AddField(grid, f);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    // The columns stay where they are with or without captions: a mapping
    // chosen by hand is kept.
    connect(chkCaptions_, &QCheckBox::toggled, this, &CsvColumnsPanel::Changed);
    connect(cboDelimiter_, &QComboBox::currentIndexChanged, this, &CsvColumnsPanel::ReadingChanged);
    connect(cboEncoding_, &QComboBox::currentIndexChanged, this, &CsvColumnsPanel::Changed);
}

QComboBox* CsvColumnsPanel::AddField(QGridLayout* grid, int index) {
    auto* box = new QComboBox(this);
    box->setObjectName(QStringLiteral("cboField%1").arg(index));
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(12);
    auto* label = new QLabel(Id(kFieldTexts[index]), this);
    label->setBuddy(box);
    const int row = 2 + index / kMappingColumns, column = (index % kMappingColumns) * 2;
    grid->addWidget(label, row, column);
    grid->addWidget(box, row, column + 1);
    connect(box, &QComboBox::currentIndexChanged, this, [this] {
        if (filling_) return;
        userMapped_ = true;
        emit Changed();
    });
    return box;
}

// Other columns come with another delimiter: the mapping is guessed again.
void CsvColumnsPanel::ReadingChanged() {
    userMapped_ = false;
    emit Changed();
}

void CsvColumnsPanel::ShowColumns(const std::vector<std::string>& captions,
                                  const ardeko::ColumnMap& map) {
    filling_ = true;
    for (std::size_t f = 0; f < cboFields_.size(); ++f) {
        QComboBox* box = cboFields_[f];
        const QSignalBlocker block(box);
        box->clear();
        box->addItem(GetLocalText(text::kCsvColumnNotImported), -1);
        for (std::size_t c = 0; c < captions.size(); ++c)
            box->addItem(QString::fromStdString(captions[c]), int(c));
        const auto column = map.Of(static_cast<ardeko::ForeignField>(f));
        box->setCurrentIndex(column ? int(*column) + 1 : 0);
    }
    filling_ = false;
}

void CsvColumnsPanel::SetColumnsEnabled(bool on) {
    chkCaptions_->setEnabled(on);
    cboDelimiter_->setEnabled(on);
    for (QComboBox* box : cboFields_)
        box->setEnabled(on);
}

void CsvColumnsPanel::Apply(ardeko::ReadOptions& options) const {
    options.encoding = static_cast<ardeko::TextEncoding>(cboEncoding_->currentIndex());
    options.delimiter = kDelimiters[std::max(0, cboDelimiter_->currentIndex())];
    options.firstRowCaptions = chkCaptions_->isChecked();
    if (!userMapped_) return;
    ardeko::ColumnMap map;
    for (std::size_t f = 0; f < cboFields_.size(); ++f) {
        const int column = cboFields_[f]->currentData().toInt();
        if (column >= 0)
            map.columns.emplace_back(static_cast<ardeko::ForeignField>(f), std::size_t(column));
    }
    options.map = map;
}

} // namespace qvs
