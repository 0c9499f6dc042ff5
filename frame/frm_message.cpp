#include "frame/frm_message.h"

#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/text_ids.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>

#include <algorithm>
#include <array>

namespace qvs {

namespace {

// Which button closed the window; the numbers are fixed by the answer table.
enum Pressed { kFirst = 1, kSecond = 2, kThird = 3 };

struct ButtonSetDef {
    std::array<int, 3> texts;   // language text per button; 0 = hidden
    int preset;                 // closing without a button means this one
    std::array<int, 3> answers; // answer per pressed button
};

// The classic Retry/Cancel set offers Cancel, so that its second choice and
// closing it both answer Cancel as its callers expect.
constexpr std::array<ButtonSetDef, 6> kSets{{
    {{text::kOk, 0, 0}, kFirst, {vbOK, vbOK, vbCancel}},
    {{text::kOk, 0, text::kCancel}, kThird, {vbOK, vbOK, vbCancel}},
    {{text::kRetry, text::kIgnore, text::kAbort}, kThird, {vbRetry, vbIgnore, vbAbort}},
    {{text::kYes, text::kNo, text::kCancel}, kThird, {vbYes, vbNo, vbCancel}},
    {{text::kYes, text::kNo, 0}, kSecond, {vbYes, vbNo, vbCancel}},
    {{text::kRetry, 0, text::kCancel}, kThird, {vbRetry, vbCancel, vbCancel}},
}};

// Styles outside the classic sets get the plain OK box.
const ButtonSetDef& SetDef(int buttonSet) {
    return buttonSet >= 0 && buttonSet < static_cast<int>(kSets.size()) ? kSets[buttonSet]
                                                                        : kSets[0];
}

QDialogButtonBox::StandardButton StandardFor(int textId) {
    switch (textId) {
    case text::kCancel:
        return QDialogButtonBox::Cancel;
    case text::kAbort:
        return QDialogButtonBox::Abort;
    case text::kNo:
        return QDialogButtonBox::No;
    case text::kYes:
        return QDialogButtonBox::Yes;
    case text::kRetry:
        return QDialogButtonBox::Retry;
    case text::kIgnore:
        return QDialogButtonBox::Ignore;
    default:
        return QDialogButtonBox::Ok;
    }
}

// Without a language table (the message that reports exactly that) a button
// must still say what it does: Qt's own caption stands in.
QString ButtonText(int textId) {
    const QString text = GetLocalText(textId);
    if (text != QLatin1String(kNoLocalData)) return text;
    QDialogButtonBox box;
    return box.addButton(StandardFor(textId))->text();
}

QStyle::StandardPixmap PixmapFor(int iconKind) {
    switch (iconKind) {
    case vbCritical:
        return QStyle::SP_MessageBoxCritical;
    case vbQuestion:
        return QStyle::SP_MessageBoxQuestion;
    case vbExclamation:
        return QStyle::SP_MessageBoxWarning;
    default:
        return QStyle::SP_MessageBoxInformation;
    }
}

// Messages are put together with "\r" as line break.
QString DisplayText(QString message) {
    message.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    message.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return message;
}

QPushButton* MakeButton(const char* name, const char* textId, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(textId), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

frmMessage::frmMessage(QWidget* parent)
    : QDialog(parent), lblMsg_(new QLabel(this)), Pict_(new QLabel(this)),
      cmdOK_(MakeButton("cmdOK", "10", this)), cmdNo_(MakeButton("cmdNo", "13", this)),
      cmdCancel_(MakeButton("cmdCancel", "11", this)) {
    lblMsg_->setObjectName(QStringLiteral("lblMsg"));
    lblMsg_->setTextFormat(Qt::PlainText); // messages quote names and paths as they are
    lblMsg_->setWordWrap(true);
    lblMsg_->setMinimumWidth(240);
    lblMsg_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Pict_->setObjectName(QStringLiteral("Pict"));
    Pict_->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdOK_, cmdNo_, cmdCancel_})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->setHorizontalSpacing(16);
    grid->addWidget(Pict_, 0, 0);
    grid->addWidget(lblMsg_, 0, 1);
    grid->addLayout(buttons, 1, 0, 1, 2);

    connect(cmdOK_, &QPushButton::clicked, this, [this] { Press(kFirst); });
    connect(cmdNo_, &QPushButton::clicked, this, [this] { Press(kSecond); });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { Press(kThird); });
    LocalizeForm(this);
}

void frmMessage::SetButton(int flags, const QString& caption, const QString& message) {
    buttonSet_ = flags & 0x0F;
    iconKind_ = flags & 0x70;
    defaultButton_ = (flags & 0x300) >> 8;
    pressed_ = kFirst;
    setWindowTitle(caption);
    lblMsg_->setText(DisplayText(message));
    FitLongestWord();
    ShowButtons();
    ShowIcon();
}

void frmMessage::SetCaptions(const QStringList& captions) {
    int next = 0;
    for (QPushButton* b : {cmdOK_, cmdNo_, cmdCancel_})
        if (!b->isHidden() && next < captions.size()) b->setText(captions[next++]);
}

// A path or name the message quotes is not broken across lines where it
// fits a width a message box may reasonably take.
void frmMessage::FitLongestWord() {
    constexpr int kNarrowest = 240;
    constexpr int kWidest = 560;
    const QFontMetrics metrics(lblMsg_->font());
    int widest = 0;
    for (const QString& word :
         lblMsg_->text().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    lblMsg_->setMinimumWidth(std::clamp(widest, kNarrowest, kWidest));
}

int frmMessage::GetButton() const {
    return SetDef(buttonSet_).answers.at(pressed_ - 1);
}

void frmMessage::reject() {
    done(QDialog::Rejected);
}

void frmMessage::ShowButtons() {
    const ButtonSetDef& def = SetDef(buttonSet_);
    const std::array<QPushButton*, 3> buttons{cmdOK_, cmdNo_, cmdCancel_};
    QList<QPushButton*> shown;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        // Enter answers the default button wherever the focus is, so a
        // "No" default cannot be overridden by a stray focus on "Yes".
        buttons[i]->setAutoDefault(false);
        buttons[i]->setDefault(false);
        buttons[i]->setVisible(def.texts[i] != 0);
        if (def.texts[i] == 0) continue;
        buttons[i]->setText(ButtonText(def.texts[i]));
        shown.append(buttons[i]);
    }
    pressed_ = def.preset;
    QPushButton* preferred = shown.value(defaultButton_, shown.first());
    preferred->setDefault(true);
    preferred->setFocus();
}

void frmMessage::ShowIcon() {
    const bool known = iconKind_ >= vbCritical && iconKind_ <= vbInformation;
    Pict_->setVisible(known);
    if (!known) {
        Pict_->clear();
        return;
    }
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    Pict_->setPixmap(style()->standardIcon(PixmapFor(iconKind_), nullptr, this).pixmap(size, size));
}

void frmMessage::Press(int which) {
    pressed_ = which;
    accept();
}

} // namespace qvs
