#include "dialogs/storable_text.h"

#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/program_state.h"
#include "store/codepage.h"
#include "store/datafile.h"

namespace qvs {

namespace {
constexpr int kUnstorableText = 31100;
constexpr int kUnstorableSecretText = 31101;
constexpr int kTooLongText = 31102;
} // namespace

std::optional<TextProblem> CheckStorable(const QString& text) {
    // A format-2 file holds any text; the legacy format only its code page.
    if (Store().Format() == ardeko::FileFormat::Two) return std::nullopt;
    const ardeko::Cp1252Result r = ardeko::Utf8ToCp1252(text.toStdString());
    if (r.badCodePoint) {
        const char32_t cp = *r.badCodePoint;
        return TextProblem{TextProblem::Kind::Unstorable, QString::fromUcs4(&cp, 1), 0};
    }
    if (r.bytes.size() > ardeko::kMaxTextLength)
        return TextProblem{TextProblem::Kind::TooLong, QString(), static_cast<int>(r.bytes.size())};
    return std::nullopt;
}

QString FieldName(const QString& caption) {
    QString name = caption;
    name.remove(QLatin1Char('&'));
    name = name.trimmed();
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    return name.trimmed();
}

void ShowRefusedText(const QString& fieldCaption, const TextProblem& problem, bool secret) {
    QString text;
    if (problem.kind == TextProblem::Kind::TooLong) {
        text = GetLocalText(kTooLongText)
                   .replace(QLatin1String("%n"), QString::number(problem.length))
                   .replace(QLatin1String("%m"), QString::number(ardeko::kMaxTextLength));
    } else if (secret) {
        text = GetLocalText(kUnstorableSecretText);
    } else {
        text = GetLocalText(kUnstorableText).replace(QLatin1String("%n"), problem.character);
    }
    text.replace(QLatin1String("%s"), FieldName(fieldCaption));
    ShowMessage(text, vbExclamation);
}

} // namespace qvs
