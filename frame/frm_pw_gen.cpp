#include "frame/frm_pw_gen.h"
#include "frame/word_list.h"

#include "frame/language.h"
#include "frame/modal_stack.h"
#include "frame/named_widget.h"
#include "frame/options.h"
#include "frame/selection_guard.h"
#include "frame/strength_meter.h"
#include "frame/text_ids.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qvs {

namespace {

QCheckBox* Check(const char* textId, const char* name, QWidget* parent) {
    return Named(new QCheckBox(QString::fromLatin1(textId), parent), name);
}

QSpinBox* Spin(const char* name, int low, int high, QWidget* parent) {
    auto* spin = Named(new QSpinBox(parent), name);
    spin->setRange(low, high);
    return spin;
}

// The options of the last generator shown, for this run of the program.
GeneratorOptions& LastOptions() {
    static GeneratorOptions options;
    return options;
}

} // namespace

frmPwGen::frmPwGen(QWidget* parent)
    : QDialog(parent),
      optCharacters_(Named(new QRadioButton(QStringLiteral("31113"), this), "optCharacters")),
      optPassphrase_(Named(new QRadioButton(QStringLiteral("31114"), this), "optPassphrase")),
      txtLength_(
          Spin("txtLength", GeneratorOptions::kMinLength, GeneratorOptions::kMaxLength, this)),
      chkCapitals_(Check("31108", "chkCapitals", this)),
      chkSmall_(Check("31109", "chkSmall", this)), chkDigits_(Check("31110", "chkDigits", this)),
      chkSymbols_(Check("31111", "chkSymbols", this)),
      chkLookAlikes_(Check("31112", "chkLookAlikes", this)),
      txtWords_(Spin("txtWords", GeneratorOptions::kMinWords, GeneratorOptions::kMaxWords, this)),
      txtResult_(Named(new QLineEdit(this), "txtResult")),
      strength_(Named(new StrengthMeter(this), "Strength")),
      cmdNew_(Named(new QPushButton(QStringLiteral("31116"), this), "cmdNew")),
      cmdOK_(Named(new QPushButton(QStringLiteral("10"), this), "cmdOK")),
      cmdCancel_(Named(new QPushButton(QStringLiteral("11"), this), "cmdCancel")),
      words_(WordList(CurrentLanguage())) {
    setObjectName(QStringLiteral("frmPwGen"));
    setWindowTitle(QString::number(text::kGeneratorCaption));
    txtResult_->setReadOnly(true);
    KeepOutOfSelection(txtResult_);
    txtResult_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtResult_->setMinimumWidth(txtResult_->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 44);
    txtResult_->setPlaceholderText(QString::number(text::kNoCharacterKind));
    // Masked where the editor masks its password box: the proposal is the
    // password.
    if (Opt().SecurityLevel >= 1) txtResult_->setEchoMode(QLineEdit::Password);

    // The two modes sit in different frames: one group makes them exclusive.
    auto* modes = new QButtonGroup(this);
    modes->addButton(optCharacters_);
    modes->addButton(optPassphrase_);
    auto* characters = new QGroupBox(this);
    auto* charForm = new QFormLayout(characters);
    charForm->addRow(optCharacters_);
    charForm->addRow(QStringLiteral("31107"), txtLength_);
    for (QCheckBox* check : {chkCapitals_, chkSmall_, chkDigits_, chkSymbols_, chkLookAlikes_})
        charForm->addRow(check);
    auto* words = new QGroupBox(this);
    auto* wordForm = new QFormLayout(words);
    wordForm->addRow(optPassphrase_);
    wordForm->addRow(QStringLiteral("31115"), txtWords_);

    auto* result = new QHBoxLayout;
    result->addWidget(txtResult_, 1);
    result->addWidget(cmdNew_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    auto* kinds = new QHBoxLayout;
    kinds->addWidget(characters);
    kinds->addWidget(words);
    layout->addLayout(kinds);
    layout->addLayout(result);
    layout->addWidget(strength_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    cmdOK_->setDefault(true);
    cmdNew_->setAutoDefault(false);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdNew_, &QPushButton::clicked, this, &frmPwGen::Generate);
    for (QCheckBox* check : {chkCapitals_, chkSmall_, chkDigits_, chkSymbols_, chkLookAlikes_})
        connect(check, &QCheckBox::toggled, this, &frmPwGen::Generate);
    for (QRadioButton* option : {optCharacters_, optPassphrase_})
        connect(option, &QRadioButton::toggled, this, &frmPwGen::Generate);
    for (QSpinBox* spin : {txtLength_, txtWords_})
        connect(spin, &QSpinBox::valueChanged, this, &frmPwGen::Generate);
    LocalizeForm(this);
    SetOptions(GeneratorOptions{});
}

GeneratorOptions frmPwGen::Options() const {
    GeneratorOptions o;
    o.length = txtLength_->value();
    o.capitals = chkCapitals_->isChecked();
    o.smallLetters = chkSmall_->isChecked();
    o.digits = chkDigits_->isChecked();
    o.symbols = chkSymbols_->isChecked();
    o.noLookAlikes = chkLookAlikes_->isChecked();
    o.passphrase = optPassphrase_->isChecked();
    o.words = txtWords_->value();
    return o;
}

void frmPwGen::SetOptions(const GeneratorOptions& o) {
    setting_ = true;
    txtLength_->setValue(o.length);
    chkCapitals_->setChecked(o.capitals);
    chkSmall_->setChecked(o.smallLetters);
    chkDigits_->setChecked(o.digits);
    chkSymbols_->setChecked(o.symbols);
    chkLookAlikes_->setChecked(o.noLookAlikes);
    (o.passphrase ? optPassphrase_ : optCharacters_)->setChecked(true);
    txtWords_->setValue(o.words);
    setting_ = false;
    Generate();
}

QString frmPwGen::Result() const {
    return txtResult_->text();
}

void frmPwGen::Generate() {
    if (setting_) return;
    const GeneratorOptions o = Options();
    txtResult_->setText(QString::fromStdString(o.passphrase ? ardeko::GeneratePassphrase(o, words_)
                                                            : ardeko::GeneratePassword(o)));
    // What the generator put in, not what the result looks like: a
    // passphrase of real words would read as far stronger than it is.
    if (txtResult_->text().isEmpty())
        strength_->SetPassword(QString());
    else
        strength_->SetBits(ardeko::GeneratedEntropyBits(o, words_.size()));
    EnableControls();
}

void frmPwGen::EnableControls() {
    const bool characters = optCharacters_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{txtLength_, chkCapitals_, chkSmall_,
                                                      chkDigits_, chkSymbols_, chkLookAlikes_})
        w->setEnabled(characters);
    txtWords_->setEnabled(!characters);
    cmdOK_->setEnabled(!txtResult_->text().isEmpty());
}

std::optional<QString> RunPasswordGenerator(QWidget* parent) {
    frmPwGen dialog(parent);
    dialog.SetOptions(LastOptions());
    if (ExecModal(dialog) != QDialog::Accepted) return std::nullopt;
    LastOptions() = dialog.Options();
    return dialog.Result();
}

std::string GenerateWithLastOptions() {
    const GeneratorOptions& o = LastOptions();
    return o.passphrase ? ardeko::GeneratePassphrase(o, WordList(CurrentLanguage()))
                        : ardeko::GeneratePassword(o);
}

} // namespace qvs
